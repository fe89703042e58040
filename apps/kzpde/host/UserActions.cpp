#include "host/UserActions.h"

#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/FieldEditor.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Utf16.h"
#include "platform/kit/Window.h"

namespace kzpde {

bool isAlertWindow(kz::Window& window) {
    return kz::ScriptedUiDriver::find(window.contentView(), [](kz::View& v) {
               auto* b = dynamic_cast<kz::Button*>(&v);
               return b && b->action().selector == "buttonPressed:";
           }) != nullptr;
}

std::string alertText(kz::Window& window) {
    std::string text;
    kz::ScriptedUiDriver::find(window.contentView(), [&](kz::View& v) {
        if (auto* t = dynamic_cast<kz::TextField*>(&v); t && !t->isEditable() && !t->stringValue().empty())
            text += (text.empty() ? "" : "\n") + t->stringValue();
        return false;
    });
    return text;
}

bool acknowledgeAlert(kz::Window& window) {
    auto* first = dynamic_cast<kz::Button*>(kz::ScriptedUiDriver::find(window.contentView(), [](kz::View& v) {
        auto* b = dynamic_cast<kz::Button*>(&v);
        return b && b->action().selector == "buttonPressed:" && b->keyEquivalent() == "\r";
    }));
    return first && click(*first);
}

kz::Button* findButton(kz::View& root, const std::function<bool(kz::Button&)>& match) {
    return dynamic_cast<kz::Button*>(kz::ScriptedUiDriver::find(root, [&](kz::View& v) {
        auto* b = dynamic_cast<kz::Button*>(&v);
        return b && match(*b);
    }));
}

kz::Button* buttonWithAction(kz::View& root, const std::string& selector) {
    return findButton(root, [&](kz::Button& b) {
        return b.action().selector == selector && b.isEnabled() && !b.isHiddenOrHasHiddenAncestor();
    });
}

bool click(kz::Button& button) {
    kz::Application::EventScope event(kz::Event::mouseDown({}));
    return button.performClick();
}

bool replaceText(kz::Window& window, kz::TextField& field, const std::string& text) {
    {
        kz::Application::EventScope event(kz::Event::mouseDown({}));
        if (window.editedField() != &field && !window.makeFirstResponder(&field)) return false;
    }
    kz::FieldEditor* editor = field.currentEditor();
    if (!editor) return false;
    editor->setSelectedRange({0, kz::Utf16::length(editor->string())});
    editor->insertText("");
    editor->insertText(text);
    return true;
}

std::string shownText(kz::TextField& field) {
    if (kz::FieldEditor* editor = field.currentEditor()) return editor->string();
    return field.stringValue();
}

bool pressKey(kz::Window& window, const std::string& key) {
    kz::Application::EventScope event(kz::Event::keyDown(key));
    if (window.sendEvent(kz::Event::keyDown(key))) return true;
    auto* b = dynamic_cast<kz::Button*>(kz::ScriptedUiDriver::find(window.contentView(), [&](kz::View& v) {
        auto* b = dynamic_cast<kz::Button*>(&v);
        return b && b->isEnabled() && !b->isHiddenOrHasHiddenAncestor() &&
               (b->keyEquivalent() == key || (key == "\x03" && b->keyEquivalent() == "\r"));
    }));
    return b && b->performClick();
}

}  // namespace kzpde
