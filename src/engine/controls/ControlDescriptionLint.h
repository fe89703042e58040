#pragma once

#include <string>
#include <vector>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Checks a control description file against its format, for whoever writes
// description files: faults that the engine would silently pass over (an
// unknown control type builds only texts, a rule naming an option nobody
// edits never fires, a numeric pattern without a number compares with 0).
class KZ_EXPORT ControlDescriptionLint {
public:
    struct Finding {
        std::string control;  // the control's name in the file
        std::string message;
        bool operator==(const Finding&) const = default;
    };

    // Every finding, controls in file order.
    static std::vector<Finding> check(const kz::Dictionary& file);

private:
    struct Context;
    static void checkControl(Context& context, const std::string& name, const kz::Dictionary& description);
    static void checkPattern(Context& context, const std::string& rule, const std::string& pattern);
    static void checkKeyword(Context& context, const std::string& rule, const std::string& keyword);
    static void checkConflictRule(Context& context, const kz::Dictionary& rule, int depth);
    static void checkUnrestorableRule(Context& context, const kz::Dictionary& rule, int depth);
};

}  // namespace ComTORVALEKZ2R4_Plugin
