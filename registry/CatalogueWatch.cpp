#include "registry/CatalogueWatch.h"

#include "registry/RegistryPath.h"

namespace catalogue {

namespace {
constexpr DWORD kWatchedChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
}

bool CatalogueWatch::Arm(const char* productKey)
{
    m_key.Reset(OpenKeyPath(HKEY_LOCAL_MACHINE, productKey, false, KEY_READ));
    if (!m_key)
        return false;
    // Manual reset: the signal stays until the watch is armed anew.
    m_event.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!m_event)
        return false;
    return Rearm();
}

bool CatalogueWatch::Changed() const
{
    return ::WaitForSingleObject(m_event.Get(), 0) == WAIT_OBJECT_0;
}

bool CatalogueWatch::Rearm()
{
    if (!m_key || !m_event)
        return false;
    ::ResetEvent(m_event.Get());
    return CurrentRegistryCalls().notifyChange(m_key.Get(), TRUE, kWatchedChanges, m_event.Get(), TRUE) ==
           ERROR_SUCCESS;
}

}  // namespace catalogue
