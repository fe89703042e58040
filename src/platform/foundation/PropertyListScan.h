#pragma once

#include <string>
#include <string_view>
#include "platform/foundation/Export.h"

namespace kz {

// A bounded walk over a property list's bytes before libplist builds a tree
// from them: libplist follows object references recursively and copies shared
// objects, so a binary file with a reference cycle, a very deep chain or a
// fan of shared references would exhaust the stack or memory there. The scan
// checks structure, depth and the expanded object count without recursion.
class KZ_EXPORT PropertyListScan {
public:
    static bool binary(std::string_view bytes, std::string& error);
    static bool xml(std::string_view bytes, std::string& error);
};

}  // namespace kz
