// CWinApp: the one application object of a process, and the framework's entry into it.
#pragma once
#include <windows.h>

class CWnd;

class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();

    // Called once at start-up; FALSE ends the process without a message loop.
    virtual BOOL InitInstance();
    // Called once before the process ends; the result is the process exit code.
    virtual int ExitInstance();
    // The message loop, run only when InitInstance returned TRUE.
    virtual int Run();

    const char* m_pszAppName;
    HINSTANCE m_hInstance = nullptr;
    // The command tail: the command line without the program name and the blanks after it.
    const char* m_lpCmdLine = "";
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The command tail of a full command line: a program name that begins with a double quote
// ends after the closing quote, any other ends at the first character of code 32 or lower;
// the characters of codes 1 to 32 after it are skipped.
const char* AfxCommandTail(const char* commandLine);

// The framework's start-up: fills the application object, runs InitInstance once, then the
// message loop only if it returned TRUE, then ExitInstance.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
