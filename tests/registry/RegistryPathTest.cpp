#include "registry/RegistryPath.h"

#include "tests/registry/RecordingRegistry.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

// Every test works below a key of its own, opened as the root of the paths under test.
class RegistryPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, m_key.Path().c_str(), 0, nullptr, 0,
                                                   KEY_ALL_ACCESS, nullptr, &m_root, nullptr));
    }
    void TearDown() override { ::RegCloseKey(m_root); }

    bool Exists(const std::string& relative) const { return KeyExists(m_key.Path() + "\\" + relative); }
    void Set(const std::string& relative, const char* name, DWORD type, const void* data, DWORD size) const
    {
        SetRawValue(m_key.Path() + "\\" + relative, name, type, data, size);
    }
    // Subkeys directly below the test key.
    std::vector<std::string> TopLevelKeys() const
    {
        std::vector<std::string> names;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (::RegEnumKeyExA(m_root, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.push_back(name);
        }
        return names;
    }

    ScopedTestKey m_key;
    HKEY m_root = nullptr;
};

// --- splitting a path into names -------------------------------------------------------------

TEST_F(RegistryPathTest, OpensOneNameAtATimeBackslashFirstAtEveryLevel)
{
    struct Case {
        const char* path;
        std::vector<std::string> names;  // the names handed to the registry, in order
        const char* createdKey;          // the key that exists afterwards (Windows path)
    };
    const Case cases[] = {
        {"Single", {"Single"}, "Single"},
        {"A\\B\\C", {"A", "B", "C"}, "A\\B\\C"},
        {"D/E/F", {"D", "E", "F"}, "D\\E\\F"},
        {"G\\H/I", {"G", "H", "I"}, "G\\H\\I"},       // no backslash is left in H/I
        {"J/K\\L", {"J/K", "L"}, "J/K\\L"},           // one key named J/K, then L
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ScopedRecordingRegistry recording;
        HKEY key = OpenKeyPath(m_root, c.path, true, KEY_READ);
        ASSERT_NE(nullptr, key);
        ::RegCloseKey(key);
        EXPECT_EQ(c.names, recording.Log().names);
        // Creating always asks for read and write, whatever the caller passed.
        for (REGSAM access : recording.Log().access)
            EXPECT_EQ(0x2001Fu, access);
        // Every key but the returned one is closed again.
        EXPECT_EQ(recording.Log().keysOpened - 1, recording.Log().keysClosed);
        EXPECT_TRUE(Exists(c.createdKey));
    }
    EXPECT_FALSE(Exists("J")) << "J/K must be one name, not two";
}

TEST_F(RegistryPathTest, OpenWithoutCreateUsesTheCallersAccessAndCreatesNothing)
{
    ASSERT_TRUE(WriteStringValue(m_root, "A\\B", "v", "x") == kRegistryOk);
    {
        ScopedRecordingRegistry recording;
        HKEY key = OpenKeyPath(m_root, "A\\B", false, KEY_READ);
        ASSERT_NE(nullptr, key);
        ::RegCloseKey(key);
        EXPECT_EQ((std::vector<REGSAM>{KEY_READ, KEY_READ}), recording.Log().access);
    }
    EXPECT_EQ(nullptr, OpenKeyPath(m_root, "A\\Missing\\C", false, kKeyPathAccess));
    EXPECT_FALSE(Exists("A\\Missing"));
}

TEST_F(RegistryPathTest, AFailureOnTheThirdNameLeavesNoKeyOpen)
{
    ASSERT_EQ(kRegistryOk, WriteStringValue(m_root, "A\\B\\C", "v", "x"));
    for (bool create : {false, true}) {
        SCOPED_TRACE(create ? "create" : "open");
        ScopedRecordingRegistry recording;
        recording.Log().refuseName = "C";
        EXPECT_EQ(nullptr, OpenKeyPath(m_root, "A\\B\\C", create, kKeyPathAccess));
        EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), recording.Log().names);
        EXPECT_EQ(2, recording.Log().keysOpened);
        EXPECT_EQ(2, recording.Log().keysClosed);
    }
}

TEST_F(RegistryPathTest, PathsWithAnEmptyNameAreRefusedWithoutTouchingTheRegistry)
{
    const char* const paths[] = {"", "\\A", "A\\", "A\\\\B", "/A", "A/", "A//B", "A\\B/", "A/B\\"};
    for (const char* path : paths) {
        SCOPED_TRACE(std::string("path '") + path + "'");
        ScopedRecordingRegistry recording;
        EXPECT_EQ(nullptr, OpenKeyPath(m_root, path, true, kKeyPathAccess));
        char buffer[16] = "untouched";
        DWORD capacity = sizeof buffer;
        EXPECT_EQ(kRegistryFailed, ReadStringValue(m_root, path, "v", buffer, capacity));
        EXPECT_STREQ("untouched", buffer);
        EXPECT_EQ(sizeof buffer, capacity);
        EXPECT_EQ(kRegistryFailed, WriteStringValue(m_root, path, "v", "x"));
        EXPECT_EQ(kRegistryFailed, DeleteKeyPath(m_root, path));
        EXPECT_EQ(0, recording.Log().RegistryCalls());
    }
    EXPECT_TRUE(TopLevelKeys().empty());
}

// --- reading ----------------------------------------------------------------------------------

TEST_F(RegistryPathTest, ReadCopiesTextCutToCapacityMinusOne)
{
    const std::string long300(300, 'p');
    Set("K", "abcd", REG_SZ, "abcd", 5);
    Set("K", "long", REG_SZ, long300.c_str(), 301);
    struct Case {
        const char* value;
        DWORD capacity;
        std::string expected;
    };
    const Case cases[] = {
        {"abcd", 5, "abcd"},           // exactly capacity - 1: whole
        {"abcd", 4, "abc"},            // one more: cut
        {"abcd", 1, ""},               // room for the zero byte only
        {"abcd", 260, "abcd"},
        {"long", 260, std::string(259, 'p')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " into " + std::to_string(c.capacity));
        std::vector<char> buffer(c.capacity + 8, '#');
        DWORD capacity = c.capacity;
        ASSERT_EQ(kRegistryOk, ReadStringValue(m_root, "K", c.value, buffer.data(), capacity));
        EXPECT_EQ(c.expected, std::string(buffer.data()));
        EXPECT_EQ(c.expected.size(), capacity);
        // Nothing beyond the capacity is written.
        for (size_t i = c.capacity; i < buffer.size(); ++i)
            EXPECT_EQ('#', buffer[i]) << "byte " << i;
    }
}

TEST_F(RegistryPathTest, ReadTakesAnyStoredTypeAsTextUpToItsFirstZeroByte)
{
    struct Case {
        const char* name;
        DWORD type;
        std::string data;
        const char* expected;
    };
    const Case cases[] = {
        {"middle zero", REG_SZ, std::string("ab\0cd\0", 6), "ab"},
        {"empty data", REG_SZ, std::string(), ""},
        {"binary without zero", REG_BINARY, "xyz", "xyz"},
        {"dword", REG_DWORD, std::string("abc\0", 4), "abc"},
        {"expand string unexpanded", REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9), "%TEMP%\\x"},
        {"multi string", REG_MULTI_SZ, std::string("one\0two\0\0", 9), "one"},
        {"high bytes", REG_BINARY, "\xE4\xF6\xFC\xDF", "\xE4\xF6\xFC\xDF"},
    };
    for (const Case& c : cases)
        Set("K", c.name, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer);
        DWORD capacity = sizeof buffer;
        ASSERT_EQ(kRegistryOk, ReadStringValue(m_root, "K", c.name, buffer, capacity));
        EXPECT_STREQ(c.expected, buffer);
        EXPECT_EQ(std::strlen(c.expected), capacity);
    }
}

TEST_F(RegistryPathTest, AFailedReadLeavesBufferAndCapacityUntouchedAndCreatesNothing)
{
    Set("K", "present", REG_SZ, "value", 6);
    struct Case {
        const char* name;
        const char* path;
        const char* value;
        int failQueryNumber;  // 0: none; 2: the fetch after the size query fails
    };
    const Case cases[] = {
        {"missing path", "Missing\\Deeper", "present", 0},
        {"missing value", "K", "absent", 0},
        {"second query fails", "K", "present", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedRecordingRegistry recording;
        recording.Log().failQueryNumber = c.failQueryNumber;
        char buffer[16] = "untouched";
        DWORD capacity = 12;
        EXPECT_EQ(kRegistryFailed, ReadStringValue(m_root, c.path, c.value, buffer, capacity));
        EXPECT_STREQ("untouched", buffer);
        EXPECT_EQ(12u, capacity);
        EXPECT_EQ(recording.Log().keysOpened, recording.Log().keysClosed);
    }
    EXPECT_FALSE(Exists("Missing"));
}

// --- writing ----------------------------------------------------------------------------------

TEST_F(RegistryPathTest, WriteCreatesThePathAndStoresTextWithItsZeroByte)
{
    ScopedRecordingRegistry recording;
    ASSERT_EQ(kRegistryOk, WriteStringValue(m_root, "New\\Path/Here", "v", "abc"));
    EXPECT_EQ(recording.Log().keysOpened, recording.Log().keysClosed);

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(m_root, "New\\Path\\Here", 0, KEY_READ, &key));
    DWORD type = 0;
    BYTE data[16] = {};
    DWORD size = sizeof data;
    ASSERT_EQ(ERROR_SUCCESS, ::RegQueryValueExA(key, "v", nullptr, &type, data, &size));
    ::RegCloseKey(key);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(4u, size);
    EXPECT_EQ(0, std::memcmp(data, "abc", 4));

    // A second write replaces the value.
    ASSERT_EQ(kRegistryOk, WriteStringValue(m_root, "New\\Path\\Here", "v", "longer text"));
    char buffer[32];
    DWORD capacity = sizeof buffer;
    ASSERT_EQ(kRegistryOk, ReadStringValue(m_root, "New\\Path\\Here", "v", buffer, capacity));
    EXPECT_STREQ("longer text", buffer);
}

TEST_F(RegistryPathTest, WriteReportsSixWhenThePathCannotBeCreated)
{
    ScopedRecordingRegistry recording;
    recording.Log().refuseName = "Locked";
    EXPECT_EQ(kRegistryFailed, WriteStringValue(m_root, "Open\\Locked\\Leaf", "v", "x"));
    EXPECT_EQ(recording.Log().keysOpened, recording.Log().keysClosed);
    EXPECT_FALSE(Exists("Open\\Locked"));
}

// --- deleting ---------------------------------------------------------------------------------

TEST_F(RegistryPathTest, DeleteRemovesTheLastKeyOfThePath)
{
    ASSERT_EQ(kRegistryOk, WriteStringValue(m_root, "Top", "v", "x"));
    ASSERT_EQ(kRegistryOk, WriteStringValue(m_root, "A\\B\\C", "v", "x"));
    HKEY a = nullptr, slashed = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(m_root, "A", 0, KEY_ALL_ACCESS, &a));
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(a, "B/C", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &slashed, nullptr));
    ::RegCloseKey(slashed);
    ::RegCloseKey(a);

    EXPECT_EQ(ERROR_SUCCESS, DeleteKeyPath(m_root, "Top"));          // no separator: below the root
    EXPECT_FALSE(Exists("Top"));
    EXPECT_EQ(ERROR_SUCCESS, DeleteKeyPath(m_root, "A\\B/C"));       // the name B/C below A
    EXPECT_TRUE(Exists("A\\B\\C"));
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(m_root, "A", 0, KEY_READ, &a));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ::RegOpenKeyExA(a, "B/C", 0, KEY_READ, &slashed));
    ::RegCloseKey(a);
    EXPECT_EQ(ERROR_SUCCESS, DeleteKeyPath(m_root, "A\\B\\C"));
    EXPECT_FALSE(Exists("A\\B\\C"));
    EXPECT_TRUE(Exists("A\\B"));
}

TEST_F(RegistryPathTest, DeleteOfAMissingLeafCreatesTheParentPathAndReturnsTheDeletesCode)
{
    ScopedRecordingRegistry recording;
    const LONG result = DeleteKeyPath(m_root, "P\\Q\\Leaf");
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, result);
    EXPECT_EQ(recording.Log().keysOpened, recording.Log().keysClosed);
    EXPECT_TRUE(Exists("P\\Q"));
    EXPECT_FALSE(Exists("P\\Q\\Leaf"));
}

TEST_F(RegistryPathTest, DeleteReportsSixWhenTheParentPathCannotBeOpened)
{
    ScopedRecordingRegistry recording;
    recording.Log().refuseName = "Q";
    EXPECT_EQ(kRegistryFailed, DeleteKeyPath(m_root, "P\\Q\\Leaf"));
    EXPECT_EQ(0, recording.Log().deletes);
    EXPECT_EQ(recording.Log().keysOpened, recording.Log().keysClosed);
}

}  // namespace
