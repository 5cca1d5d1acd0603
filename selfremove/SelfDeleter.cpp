#include "app/UninstallApp.h"

BOOL CUninstallApp::RunAsSelfDeleter()
{
    // A command tail that begins with "$" makes this process the self-deleter.
    return m_lpCmdLine[0] == '$';
}

void CUninstallApp::SpawnSelfDeleter()
{
}
