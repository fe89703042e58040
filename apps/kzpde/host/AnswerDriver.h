#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/kit/UiDriver.h"

namespace kz {
class Button;
}

namespace kzpde {

// Answers the questions the rules ask from the tool's --answer list and
// keeps what was shown: a Yes/No question takes the next answer (the default
// button, Yes, when none is left, or the answer asked for then), a
// single-button message is acknowledged. A dialog's text is every text it
// shows, joined with carriage returns.
class AnswerDriver : public kz::UiDriver {
public:
    struct Dialog {
        std::string text, answer;
    };
    explicit AnswerDriver(std::deque<bool> answers, bool whenNoneLeft = true)
        : _answers(std::move(answers)), _whenNoneLeft(whenNoneLeft) {}

    bool step(kz::Application& app, kz::Window& window) override;
    // Works a window that is no question (a settings window run modally)
    // instead of answering it; it says whether it took the window.
    std::function<bool(kz::Window& window, bool* result)> otherWindows;
    // Clicks the button with the mouse while WORK takes the windows that are
    // no question (the modal window the button opens), then forgets WORK.
    bool clickWorking(kz::Button& button, std::function<bool(kz::Window& window, bool* result)> work);

    std::vector<Dialog> dialogs;
    std::size_t unusedAnswers() const { return _answers.size(); }
    int defaulted() const { return _defaulted; }

private:
    std::deque<bool> _answers;
    bool _whenNoneLeft;
    int _defaulted = 0;
};

// Installs a driver for as long as it lives, and puts back the one before.
class DriverScope {
public:
    explicit DriverScope(kz::UiDriver& driver);
    ~DriverScope();
    DriverScope(const DriverScope&) = delete;
    DriverScope& operator=(const DriverScope&) = delete;

private:
    kz::UiDriver* _previous;
};

// Dialog texts break lines with carriage returns; the text output shows them
// as indented lines.
std::string indentedDialogText(std::string text);
// A dialog's text within a one-line message: its lines joined with spaces.
std::string dialogTextOnOneLine(const std::string& text);

}  // namespace kzpde
