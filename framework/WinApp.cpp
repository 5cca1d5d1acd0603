#include "framework/WinApp.h"

namespace {
CWinApp* g_application = nullptr;
}

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName)
{
    g_application = this;
}

CWinApp::~CWinApp()
{
    if (g_application == this)
        g_application = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Run()
{
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return ExitInstance();
}

CWinApp* AfxGetApp()
{
    return g_application;
}

HINSTANCE AfxGetInstanceHandle()
{
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return ::GetModuleHandleA(nullptr);
}

const char* AfxCommandTail(const char* commandLine)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine ? commandLine : "");
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p > ' ')
            ++p;
    }
    while (*p >= 1 && *p <= ' ')
        ++p;
    return reinterpret_cast<const char*>(p);
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = AfxCommandTail(::GetCommandLineA());
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
