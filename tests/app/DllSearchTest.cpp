#include "app/DllSearch.h"

#include "tests/support/TestEnvironment.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

// A DLL planted in the current directory is found by the default search until the search
// is restricted; the system's own DLLs are still found afterwards.
TEST(DllSearch, PlantedDllIsNotLoadedOnceRestricted)
{
    ScopedTestDirectory folder;
    const std::string planted = folder / "KorvanePlantedProbe.dll";
    ASSERT_TRUE(::CopyFileA(TEST_DLL_SEARCH_PROBE_DLL, planted.c_str(), FALSE)) << TEST_DLL_SEARCH_PROBE_DLL;
    ASSERT_TRUE(::SetCurrentDirectoryA(folder.Path().c_str()));

    HMODULE before = ::LoadLibraryA("KorvanePlantedProbe.dll");
    ASSERT_NE(nullptr, before) << "the probe is not found even without the restriction";
    ::FreeLibrary(before);

    RestrictDllSearchToSystemDirectory();

    HMODULE after = ::LoadLibraryA("KorvanePlantedProbe.dll");
    EXPECT_EQ(nullptr, after);
    if (after)
        ::FreeLibrary(after);
    HMODULE system = ::LoadLibraryA("version.dll");
    EXPECT_NE(nullptr, system);
    if (system)
        ::FreeLibrary(system);
}

}  // namespace
