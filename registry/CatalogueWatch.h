// A watch on the whole product key: it is signalled once anything below it changes (a key or
// a value added, changed or removed), by this process or another. What was read of the
// catalogue after the watch was armed stays true until it is signalled.
#pragma once
#include <windows.h>

#include "framework/UniqueHandle.h"
#include "registry/RegistryCalls.h"

namespace catalogue {

class CatalogueWatch {
public:
    // Opens the product key and asks for the signal; false when the watch cannot be set.
    bool Arm(const char* productKey);
    // True when something changed since the watch was last armed; does not wait.
    bool Changed() const;
    // Asks for the next signal; false when that fails (the watch then no longer holds).
    bool Rearm();

private:
    // The key goes first, ending the request, then the event it would have signalled.
    KernelHandle m_event;
    RegistryKey m_key;
};

}  // namespace catalogue
