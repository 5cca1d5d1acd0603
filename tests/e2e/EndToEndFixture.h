// The fixture of the end-to-end tests: a catalogue in the real product key (wiped before and
// after each test), the applications' folders in the test's own folder, and the uninstaller
// running as its own process with a temporary directory of the test's own, so that the copy
// it hands its self-deletion to can be watched.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/HandOff.h"
#include "tests/support/Installer.h"
#include "tests/support/TestEnvironment.h"
#include "support/TestPaths.h"
#include "tests/support/UninstallerDriver.h"

namespace e2e {

using namespace testing_support;

class EndToEnd : public ::testing::Test {
protected:
    EndToEnd() { MakeTemporaryDirectory(); }

    std::string Path(const std::string& relative) const { return m_root / relative; }
    std::string TemporaryDirectory() const { return m_root / m_temporaryFolder; }
    // Another temporary directory for the uninstaller, below the test's folder.
    void UseTemporaryFolder(const std::string& name)
    {
        m_temporaryFolder = name;
        MakeTemporaryDirectory();
    }
    // Holds a file of some other program, as a user's temporary directory does. An empty one
    // next to the applications would be taken by the removal's pruning, which removes the
    // file-free subfolders of every parent it reaches.
    void MakeTemporaryDirectory() { WriteTextFile(TemporaryDirectory() + "\\other.tmp"); }

    // An application whose folder lies below the test's folder; files and shortcuts are the
    // test's to add.
    Application NewApplication(int index, const std::string& name, const std::string& folder) const
    {
        Application application;
        application.index = index;
        application.name = name;
        application.directory = Path(folder);
        return application;
    }

    // The installers' work: product key first, then each application.
    void InstallProductWithLanguage(const std::string& language)
    {
        ASSERT_EQ("", InstallProduct(language));
    }
    void Install(const Application& application)
    {
        ASSERT_EQ("", InstallApplication(application, TEST_UNINSTALL_EXE)) << application.name;
    }

    // Starts the uninstaller at that path and waits for its dialog.
    UninstallerDialog Run(const std::string& uninstaller, const std::string& caption = kEnglishCaption)
    {
        EXPECT_TRUE(m_process.Start(uninstaller, TemporaryDirectory())) << uninstaller;
        return WaitForDialog(m_process, caption);
    }

    // Selects the row and presses Remove, as a user does; returns the confirmation box, or none
    // if Remove did not become enabled or no box came.
    MessageBoxWindow SelectRowAndPressRemove(const UninstallerDialog& dialog, int row)
    {
        dialog.SelectRow(row);
        if (!WaitUntil([&] { return dialog.IsRemoveEnabled(); })) {
            ADD_FAILURE() << "selecting row " << row << " did not enable Remove";
            return MessageBoxWindow();
        }
        dialog.PressRemove();
        return WaitForMessageBox(m_process.Id());
    }

    // The temporary copies that a self-deletion hand-off leaves while it runs.
    std::vector<std::string> HandOffCopies() const { return testing_support::HandOffCopies(TemporaryDirectory()); }

    // Closes the dialog and waits for the process to end.
    void CloseAndWait(const UninstallerDialog& dialog, CloseWay way = CloseWay::CloseButton)
    {
        dialog.Close(way);
        ASSERT_TRUE(m_process.WaitForExit()) << "the uninstaller did not end after " << CloseWayName(way);
    }

    // The uninstaller's file outlives the process only while the hand-off copy is still at
    // work; once the copy has gone too, what is left stays.
    void ExpectTheProgramKeepsItself(const std::string& uninstaller)
    {
        EXPECT_TRUE(FileExists(uninstaller));
        EXPECT_EQ(std::vector<std::string>(), HandOffCopies()) << "a self-deletion was started";
        EXPECT_EQ(std::vector<std::string>(), HandOffFolders(TemporaryDirectory())) << "a self-deletion was started";
    }
    // The copy's folder may stay until the next restart, empty and scheduled for deletion.
    void ExpectTheProgramDeletesItself(const std::string& uninstaller)
    {
        EXPECT_TRUE(WaitUntil([&] { return !FileExists(uninstaller); })) << uninstaller << " stayed";
        EXPECT_TRUE(WaitUntil([&] { return HandOffCopies().empty(); })) << "the temporary copy stayed";
        EXPECT_EQ(std::vector<std::string>(), HandOffFoldersLeftBehind(TemporaryDirectory()));
    }

    ScopedProductKey m_productKey;
    ScopedTestDirectory m_root;
    std::string m_temporaryFolder = "Temp";
    // Declared last: a process still running when a test fails is killed before its folders go.
    UninstallerProcess m_process;
};

}  // namespace e2e
