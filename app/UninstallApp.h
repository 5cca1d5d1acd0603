// CUninstallApp: the application object. Its start-up decides what the process is: the
// self-deleter (started by another uninstaller to delete that one's file) or the uninstaller.
#pragma once
#include <windows.h>

#include <functional>

#include "framework/String.h"
#include "framework/WinApp.h"
#include "removal/LeftBehindFiles.h"

class CUninstallApp : public CWinApp {
public:
    CUninstallApp();
    ~CUninstallApp() override;
    BOOL InitInstance() override;

    // Self-deletion hand-off.
    BOOL RunAsSelfDeleter();
    void SpawnSelfDeleter();

    // The confirmation and completion boxes, in the language of m_nLanguage: the text of
    // nIDPrompt + 1000 x m_nLanguage, caption string 7, nType unchanged. nIDHelp has no
    // effect. The owner is the window that the box belongs to, none by default.
    int LocalizedMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp, HWND owner = nullptr);

    // File deletion with pruning of the directories that it leaves without files. Each file
    // that it tries and fails to delete is noted in m_leftBehind.
    void DeletePathAndPruneParents(CString path);
    // The same, but each match for which keep answers true stays, and counts as a match that
    // could not be deleted.
    void DeletePathAndPruneParents(CString path, const std::function<bool(const CString& matchPath)>& keep);
    BOOL RemoveEmptyDirectoryTree(CString dir);
    // The files that deletions left behind since the record was last reset.
    CLeftBehindFiles m_leftBehind;

    // Language flag: 0 English, 1 German. Set once by start-up; the static object starts zeroed.
    int m_nLanguage;
};

// The one application object of the process.
extern CUninstallApp theApp;

// The product key: the uninstall key of the platform, a backslash, and string resource 6.
CString ComposeProductKey();
// The language flag from the product key's "Language" value: 1 exactly when its first byte
// is an upper-case D; English when the value cannot be read.
int ReadLanguageFlag(const char* productKey);
