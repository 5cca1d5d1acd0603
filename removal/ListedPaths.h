// A set of listed paths that answers "is this path listed?" without a scan, with the same
// equality as the catalogue queries: whole texts, case-insensitive in the ANSI code page,
// nothing normalised.
#pragma once
#include <set>
#include <string>

namespace removal {

// The form in which a listed path is compared. Today that is the text itself; every lookup
// and every insertion goes through here, so this is the one place that decides which texts
// name the same path.
std::string ComparisonKey(const char* text);

// Orders keys with the comparison of the catalogue queries (_mbsicmp), so that two keys are
// equivalent exactly when that comparison finds them equal.
struct ComparisonOrder {
    bool operator()(const std::string& left, const std::string& right) const;
};

class ListedPaths {
public:
    void Add(const char* text) { m_keys.insert(ComparisonKey(text)); }
    bool Contains(const char* text) const { return m_keys.count(ComparisonKey(text)) != 0; }
    void Clear() { m_keys.clear(); }

private:
    std::set<std::string, ComparisonOrder> m_keys;
};

}  // namespace removal
