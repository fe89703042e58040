#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace kz::qt {

// Plays what a user does against the real widgets of the front window, one
// step per line, the scripted driver's steps:
//   press TITLE (a button or a tab) | click TAG | choose ITEM | type TEXT [TAG] | paste TEXT
//   key return|escape|tab | close | row N [TAG] | pick PATH... | cancel
//   shot [NAME] (a picture of the front window as it is now, when a
//   photographer is set; a tab brought to the front, a list filled)
// Words may be quoted ("Thick Paper"); '#' starts a comment line. A step
// whose widget is not there yet waits for it a little, then fails.
class QtScriptPlayer {
public:
    struct Step {
        std::string verb;
        std::vector<std::string> args;
        int line = 0;
    };
    // Nullopt with the reason (and line) for a script that does not parse.
    static std::optional<std::vector<Step>> parse(std::string_view text, std::string* error);

    explicit QtScriptPlayer(std::vector<Step> steps);
    // Plays on the Qt event loop; `finished` hears whether every step ran.
    void start(std::function<void(bool ok)> finished);
    bool done() const { return _done; }
    void setPhotographer(std::function<void(QWidget&, const std::string& name)> photograph) {
        _photograph = std::move(photograph);
    }
    const std::vector<std::string>& problems() const { return _problems; }

    // Where a step acts: the modal widget, else the bridge's front window.
    static QWidget* frontWindow();

private:
    enum class Outcome { Done, NotYet, Failed };
    void next();
    Outcome run(const Step& step);
    std::vector<Step> _steps;
    std::size_t _at = 0;
    int _tries = 0;
    bool _done = false;
    std::vector<std::string> _problems;
    std::function<void(bool)> _finished;
    std::function<void(QWidget&, const std::string&)> _photograph;
};

}  // namespace kz::qt
