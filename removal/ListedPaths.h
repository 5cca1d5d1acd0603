// A set of listed paths that answers "does a listed value name this file?" without a scan.
// Every path is kept by the file that it names (PathIdentity), so the set finds a path
// exactly when the catalogue queries would find it listed.
#pragma once
#include <set>

#include "framework/String.h"

namespace removal {

// Orders identities with the queries' comparison (CompareNoCase, _mbsicmp), so that two are
// equivalent exactly when that comparison finds them equal.
struct IdentityOrder {
    bool operator()(const CString& left, const CString& right) const { return left.CompareNoCase(right) < 0; }
};

class ListedPaths {
public:
    // A listed value: the file that it names and, when patterns count and it is a pattern,
    // every file and directory that it matches on disk now.
    void Add(const char* value, bool patternsCount);
    // Whether a value added names the file of this identity (PathIdentity of the path asked about).
    bool Contains(const CString& identity) const { return m_identities.count(identity) != 0; }
    void Clear() { m_identities.clear(); }

private:
    std::set<CString, IdentityOrder> m_identities;
};

}  // namespace removal
