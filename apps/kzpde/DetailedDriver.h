#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/kit/UiDriver.h"

namespace kz {
class View;
}

namespace kzpde {

// The user of the detailed settings window, headless: works through the
// steps asked for on the window (choose a view style, set an option on its
// pane's control as a user would, press Revert), then presses OK or Cancel.
// Every other window that comes up meanwhile is a dialog: a question takes
// the next answer (yes when none is left), a message is acknowledged, and
// each is kept with its answer. When OK is refused (the window runs again
// after it), Cancel is pressed.
class DetailedDriver : public kz::UiDriver {
public:
    enum class Step { Style, Set, Revert };
    struct Action {
        Step step;
        std::string key, value;  // the option and its value; the style's name
    };
    struct Dialog {
        std::string text, answer;
    };

    DetailedDriver(std::vector<Action> actions, bool ok, std::deque<bool> answers);

    bool step(kz::Application& app, kz::Window& window) override;

    // 1 when the window was left with an OK it took, else 0.
    int code() const { return _lastPressed == Pressed::Ok ? 1 : 0; }
    bool windowShown() const { return _shown; }
    bool okRefused() const { return _okRefused; }
    const std::vector<Dialog>& dialogs() const { return _dialogs; }
    // What could not be done ("no option X in the window").
    const std::vector<std::string>& problems() const { return _problems; }
    int defaultedAnswers() const { return _defaulted; }
    std::size_t unusedAnswers() const { return _answers.size(); }

    // The detailed settings window is the one with the OK action.
    static bool isDetailedWindow(kz::Window& window);

private:
    enum class Pressed { None, Ok, Cancel };
    bool answerDialog(kz::Window& window);
    bool perform(const Action& action, kz::Window& window);
    bool setOption(const std::string& key, const std::string& value, kz::Window& window);
    bool pressAction(kz::Window& window, const char* selector);

    std::deque<Action> _actions;
    bool _ok;
    std::deque<bool> _answers;
    bool _shown = false, _finished = false, _okRefused = false;
    Pressed _lastPressed = Pressed::None;
    std::vector<Dialog> _dialogs;
    std::vector<std::string> _problems;
    int _defaulted = 0;
};

}  // namespace kzpde
