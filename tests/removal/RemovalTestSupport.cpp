#include "tests/removal/RemovalTestSupport.h"

#include <gtest/gtest.h>

#include "framework/WinApp.h"

namespace removal_tests {

CUninstallApp& App()
{
    return *static_cast<CUninstallApp*>(AfxGetApp());
}

void MakeLayout(const std::string& root, const std::vector<std::string>& layout)
{
    for (const std::string& entry : layout) {
        if (!entry.empty() && entry.back() == '\\')
            testing_support::MakeDirectories(root + "\\" + entry.substr(0, entry.size() - 1));
        else
            testing_support::WriteTextFile(root + "\\" + entry);
    }
}

const std::vector<std::string> kBaseLayout = {"keep.txt", "start\\here.txt"};

void LayOut(const testing_support::ScopedTestDirectory& folder, const std::vector<std::string>& layout,
            const char* current)
{
    MakeLayout(folder.Path(), kBaseLayout);
    MakeLayout(folder.Path(), layout);
    ASSERT_TRUE(::SetCurrentDirectoryA((folder / current).c_str())) << current;
}

void ExpectGoneAndKept(const testing_support::ScopedTestDirectory& folder, const std::vector<std::string>& gone,
                       const std::vector<std::string>& kept)
{
    for (const std::string& name : gone)
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((folder / name).c_str())) << name << " stayed";
    for (const std::string& name : kept)
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((folder / name).c_str())) << name << " went";
}

std::string Expand(const std::string& text, const std::string& root)
{
    std::string result = text;
    for (size_t at = result.find("{T}"); at != std::string::npos; at = result.find("{T}", at + root.size()))
        result.replace(at, 3, root);
    return result;
}

std::string CurrentDirectoryBelow(const std::string& root)
{
    const std::string current = testing_support::CurrentDirectory();
    if (lstrcmpiA(current.c_str(), root.c_str()) == 0)
        return ".";
    if (current.size() > root.size() && current[root.size()] == '\\' &&
        lstrcmpiA(current.substr(0, root.size()).c_str(), root.c_str()) == 0)
        return current.substr(root.size() + 1);
    return "<outside>";
}

void MakeReadOnly(const std::string& path)
{
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY)) << path;
}

KernelHandle HoldOpen(const std::string& path)
{
    KernelHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file.IsValid()) << path;
    return file;
}

std::vector<std::string> LeftBehind()
{
    std::vector<std::string> paths;
    for (const CString& path : App().m_leftBehind.Files())
        paths.push_back(path.GetString());
    return paths;
}

}  // namespace removal_tests
