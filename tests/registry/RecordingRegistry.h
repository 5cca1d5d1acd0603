// Stands in for the registry calls of the key path functions: forwards every call to the
// real registry, records names, access masks, opens and closes, and refuses on demand.
#pragma once
#include "registry/RegistryCalls.h"

#include <string>
#include <vector>

struct RegistryCallLog {
    std::vector<std::string> names;   // the name of every open or create, in order
    std::vector<REGSAM> access;       // the access mask of each
    int keysOpened = 0;               // successful opens and creates
    int keysClosed = 0;
    int queries = 0;
    int deletes = 0;
    std::string refuseName;           // an open or create of this name fails with access denied
    int failQueryNumber = 0;          // the query with this number (from 1) fails

    int RegistryCalls() const { return static_cast<int>(names.size()) + queries + deletes + keysClosed; }
};

class ScopedRecordingRegistry {
public:
    ScopedRecordingRegistry();
    ~ScopedRecordingRegistry();
    RegistryCallLog& Log();
};
