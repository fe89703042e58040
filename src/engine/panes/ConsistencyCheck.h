#pragma once

#include <string>
#include <vector>

#include "platform/foundation/Dictionary.h"

namespace ComTORVALEKZ2R4_Plugin {

// Whether a print option is complete enough to print: every switch that is
// on needs its companion text (a secure print its password, a mail notice
// its address, and so on).
class ConsistencyCheck {
public:
    // The message keys of the rules the print option breaks, in rule order.
    static std::vector<std::string> failures(const kz::Dictionary& printOption);
    // The localised text of such a key in the plug-in's strings.
    static std::string localizedAlertText(const std::string& key);
    // True when nothing is missing; otherwise tells the user what is, in an
    // application-modal alert, and answers false.
    static bool confirm(const kz::Dictionary& printOption);
};

}  // namespace ComTORVALEKZ2R4_Plugin
