#include "removal/ListedPaths.h"

#include "removal/PathIdentity.h"

namespace removal {

void ListedPaths::Add(const char* value, bool patternsCount)
{
    for (CString& identity : NamedIdentities(value, patternsCount))
        m_identities.insert(std::move(identity));
}

}  // namespace removal
