#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "host/AnswerDriver.h"
#include "platform/foundation/Dictionary.h"
#include "platform/kit/View.h"

namespace kzpde {

// The panel's two tray windows ("automatic" and "bypass") as a user works
// them: the panel's button opens one, its controls are set as a user sets
// them, and Close ends it.
class TrayWindows {
public:
    struct Request {
        std::string window;                                      // "automatic" or "bypass"
        std::vector<std::pair<std::string, std::string>> sets;  // KEY=VALUE, in order
    };
    // How a request ended: 0 done; 2 a key no control of the window edits or
    // a value it does not take; 1 the window or a control cannot be worked now.
    struct Outcome {
        int status = 0;
        std::string message;
    };

    // Opens the window from the panel's view, makes the changes, presses
    // Close. Every key and value is checked in the open window before the
    // first change. dialogsShown(before, key) hears of the rules' questions.
    static Outcome run(kz::View& panelView, AnswerDriver& driver, const Request& request,
                       const std::function<void(std::size_t before, const std::string& key)>& dialogsShown);

    // The controls of each tray window the panel made, as the report shows
    // the panel's: {"automatic": {KEY: control}, "bypass": {...}}.
    static kz::Dictionary report();
    static void writeText(std::ostream& out, const kz::Dictionary& trayWindows);
};

}  // namespace kzpde
