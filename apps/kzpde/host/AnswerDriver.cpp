#include "host/AnswerDriver.h"

#include "host/UserActions.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"

namespace kzpde {

bool AnswerDriver::step(kz::Application&, kz::Window& window) {
    bool result = false;
    if (otherWindows && otherWindows(window, &result)) return result;
    std::string text;
    std::vector<kz::Button*> buttons;
    kz::ScriptedUiDriver::find(window.contentView(), [&](kz::View& v) {
        if (auto* b = dynamic_cast<kz::Button*>(&v)) buttons.push_back(b);
        else if (auto* t = dynamic_cast<kz::TextField*>(&v); t && !t->stringValue().empty())
            text += (text.empty() ? "" : "\r") + t->stringValue();
        return false;
    });
    if (buttons.empty()) return false;
    std::string answer = "ok";
    kz::Button* press = buttons.front();
    if (buttons.size() >= 2) {
        bool yes = _whenNoneLeft;
        if (!_answers.empty()) {
            yes = _answers.front();
            _answers.pop_front();
        } else {
            ++_defaulted;
        }
        answer = yes ? "yes" : "no";
        press = buttons[yes ? 0 : 1];
    }
    dialogs.push_back({text, answer});
    return click(*press);
}

bool AnswerDriver::clickWorking(kz::Button& button, std::function<bool(kz::Window& window, bool* result)> work) {
    otherWindows = std::move(work);
    const bool clicked = click(button);
    otherWindows = nullptr;
    return clicked;
}

DriverScope::DriverScope(kz::UiDriver& driver) : _previous(kz::Application::shared().driver()) {
    kz::Application::shared().setDriver(&driver);
}

DriverScope::~DriverScope() { kz::Application::shared().setDriver(_previous); }

std::string indentedDialogText(std::string text) {
    while (!text.empty() && text.back() == '\r') text.pop_back();
    std::string out = "    ";
    for (char c : text) out += c == '\r' ? std::string("\n    ") : std::string(1, c);
    return out;
}

std::string dialogTextOnOneLine(const std::string& text) {
    std::string out;
    bool breakBefore = false;
    for (char c : text) {
        if (c == '\r') {
            breakBefore = !out.empty();
            continue;
        }
        if (breakBefore) out += ' ';
        breakBefore = false;
        out += c;
    }
    return out;
}

}  // namespace kzpde
