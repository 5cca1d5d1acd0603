#include "removal/ListedPaths.h"

#include <mbstring.h>

namespace removal {

std::string ComparisonKey(const char* text)
{
    return text ? text : "";
}

bool ComparisonOrder::operator()(const std::string& left, const std::string& right) const
{
    return _mbsicmp(reinterpret_cast<const unsigned char*>(left.c_str()),
                    reinterpret_cast<const unsigned char*>(right.c_str())) < 0;
}

}  // namespace removal
