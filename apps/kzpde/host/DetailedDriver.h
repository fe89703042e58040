#pragma once

#include <deque>
#include <string>
#include <vector>

namespace kz {
class Button;
class Window;
}  // namespace kz

namespace kzpde {

class AnswerDriver;

// The user of the detailed settings window, headless: works through the
// steps asked for on the window (choose a view style, set an option on its
// pane's control as a user would, press Revert), then presses OK or Cancel.
// Every other window that comes up meanwhile is the answer driver's: a
// question takes the next answer, a message is acknowledged, and each is
// kept there with its answer. When OK is refused (the window runs again
// after it), Cancel is pressed.
class DetailedDriver {
public:
    enum class Step { Style, Set, Revert };
    struct Action {
        Step step;
        std::string key, value;  // the option and its value; the style's name
    };

    DetailedDriver(std::vector<Action> actions, bool ok, AnswerDriver& answers);

    // Clicks the panel's "Show Detailed Settings" button and works the
    // window it opens (the answer driver must be the application's).
    void open(kz::Button& show);

    // 1 when the window was left with an OK it took, else 0.
    int code() const { return _lastPressed == Pressed::Ok ? 1 : 0; }
    bool windowShown() const { return _shown; }
    bool okRefused() const { return _okRefused; }
    // What could not be done ("no option X in the window").
    const std::vector<std::string>& problems() const { return _problems; }

    // The detailed settings window is the one with the OK action.
    static bool isDetailedWindow(kz::Window& window);

private:
    enum class Pressed { None, Ok, Cancel };
    bool work(kz::Window& window);
    bool perform(const Action& action, kz::Window& window);
    bool setOption(const std::string& key, const std::string& value, kz::Window& window);
    bool pressAction(kz::Window& window, const char* selector);

    std::deque<Action> _actions;
    bool _ok;
    AnswerDriver& _answers;
    bool _shown = false, _finished = false, _okRefused = false;
    Pressed _lastPressed = Pressed::None;
    std::vector<std::string> _problems;
};

}  // namespace kzpde
