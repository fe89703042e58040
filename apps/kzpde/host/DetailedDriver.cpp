#include "host/DetailedDriver.h"

#include "engine/controls/QuillUI.h"
#include "engine/controls/WireNames.h"
#include "host/AnswerDriver.h"
#include "host/UserActions.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TabView.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Utf16.h"
#include "platform/kit/Window.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace kzpde {

namespace {

// The option control of the key in any tab below the root (the tab views'
// items hold the views of the tabs not in front).
kzp::QuillUI* findControl(kz::View& root, const std::string& key) {
    const auto matches = [&](kzp::QuillUI& q) { return q.mainKeyword() == key; };
    if (auto* q = dynamic_cast<kzp::QuillUI*>(&root); q && matches(*q)) return q;
    return root.findDescendant<kzp::QuillUI>(matches, kz::View::WalkScope::AllTabs);
}

std::string choiceAt(const kzp::QuillUI& q, std::size_t i) {
    const kz::Value& choices = q.controlDictionary().get("choices");
    if (!choices.isArray() || i >= choices.array().size() || !choices.array()[i].isDictionary()) return {};
    return choices.array()[i].dictionary().get("choice").stringValue();
}

// The menu position of a value: the pairs of a list set by the program, or
// the choices that have a text (a separator holds a place too).
int popupIndex(const kzp::QuillUI& q, const std::string& value) {
    if (const auto& list = q.popupButtonArray()) {
        for (std::size_t i = 0; i < list->size(); ++i)
            if ((*list)[i].value == value) return static_cast<int>(i);
        return -1;
    }
    const kz::Value& choices = q.controlDictionary().get("choices");
    if (!choices.isArray()) return -1;
    int index = 0;
    for (const kz::Value& entry : choices.array()) {
        if (!entry.isDictionary()) continue;
        const kz::Dictionary& d = entry.dictionary();
        if (!d.get("text").stringValue().empty()) {
            if (d.get("choice").stringValue() == value) return index;
            ++index;
        } else if (d.contains("separator")) {
            ++index;
        }
    }
    return -1;
}

}  // namespace

DetailedDriver::DetailedDriver(std::vector<Action> actions, bool ok, AnswerDriver& answers)
    : _actions(actions.begin(), actions.end()), _ok(ok), _answers(answers) {}

bool DetailedDriver::isDetailedWindow(kz::Window& window) {
    return withAction<kz::Button>(window.contentView(), "okButton:") != nullptr;
}

void DetailedDriver::open(kz::Button& show) {
    _answers.clickWorking(show, [this](kz::Window& window, bool* result) {
        if (isDetailedWindow(window)) {
            *result = work(window);
            return true;
        }
        if (findButton(window.contentView(), [](kz::Button&) { return true; })) return false;  // a dialog
        _problems.push_back("a window without buttons came up: " + window.title());
        *result = false;
        return true;
    });
}

bool DetailedDriver::work(kz::Window& window) {
    _shown = true;
    if (!_actions.empty()) {
        Action action = std::move(_actions.front());
        _actions.pop_front();
        return perform(action, window);
    }
    if (!_finished) {
        _finished = true;
        return pressAction(window, _ok ? "okButton:" : "cancelButton:");
    }
    // The window is back after OK: the check refused the values.
    if (_lastPressed == Pressed::Ok) {
        _okRefused = true;
        return pressAction(window, "cancelButton:");
    }
    return false;
}

bool DetailedDriver::pressAction(kz::Window& window, const char* selector) {
    kz::Button* button = withAction<kz::Button>(window.contentView(), selector);
    if (!button) {
        _problems.push_back(std::string("the window has no button for ") + selector);
        return false;
    }
    _lastPressed = std::string(selector) == "okButton:" ? Pressed::Ok : Pressed::Cancel;
    return click(*button);
}

bool DetailedDriver::perform(const Action& action, kz::Window& window) {
    kz::Application::EventScope event(kz::Event::mouseDown({}));
    switch (action.step) {
        case Step::Style: {
            auto* style = withAction<kz::PopUpButton>(window.contentView(), "setupViewStylePopupButton:");
            int tag = action.key == "tree" ? 2 : 1;
            int index = -1;
            for (int i = 0; style && i < style->numberOfItems(); ++i)
                if (style->itemAtIndex(i)->tag() == tag) index = i;
            if (index < 0) {
                _problems.push_back("the window has no view style " + action.key);
                return true;
            }
            style->chooseItemAtIndex(index);
            return true;
        }
        case Step::Revert:
            if (kz::Button* revert = withAction<kz::Button>(window.contentView(), "clickedRevertToDefault:"))
                revert->performClick();
            else _problems.push_back("the window has no Revert button");
            return true;
        case Step::Set: return setOption(action.key, action.value, window);
    }
    return true;
}

bool DetailedDriver::setOption(const std::string& key, const std::string& value, kz::Window& window) {
    kzp::QuillUI* q = findControl(window.contentView(), key);
    if (!q) {
        _problems.push_back("no option " + key + " in the window");
        return true;
    }
    // To the front as the user brings it: the pane's tab (in the tree style
    // the tree selects the same tab).
    if (auto [tabs, tab] = kz::TabView::outermostTabHolding(window.contentView(), *q); tabs) tabs->selectTabViewItem(tab);
    if (q->isHiddenOrHasHiddenAncestor() || q->isHidden() || !q->isEnabled()) {
        _problems.push_back(key + " cannot be set now: its control is " + (q->isEnabled() ? "hidden" : "disabled"));
        return true;
    }
    using Kind = kzp::QuillUI::Kind;
    if (q->kind() == Kind::PopupButton && q->popupButton()) {
        int index = popupIndex(*q, value);
        if (index < 0) _problems.push_back(key + " has no choice " + value);
        else q->popupButton()->chooseItemAtIndex(index);
        return true;
    }
    if (q->kind() == Kind::CheckBox && q->checkBox()) {
        bool on = value == choiceAt(*q, 0) || value == "True";
        if ((q->checkBox()->state() == kz::OnState) != on) q->checkBox()->performClick();
        return true;
    }
    if (kz::Matrix* m = q->radioButtonMatrix()) {
        const kz::Value& choices = q->controlDictionary().get("choices");
        std::size_t n = choices.isArray() ? choices.array().size() : 0;
        for (std::size_t row = 0; row < n; ++row)
            if (choiceAt(*q, row) == value) {
                m->clickCellAtRow(static_cast<int>(row), 0);
                return true;
            }
        _problems.push_back(key + " has no choice " + value);
        return true;
    }
    if (kz::TextField* field = q->textField(); field && field->isEditable()) {
        if (!window.makeFirstResponder(field) || !field->currentEditor()) {
            _problems.push_back(key + ": its field does not take the focus");
            return true;
        }
        kz::FieldEditor* editor = field->currentEditor();
        editor->setSelectedRange({0, kz::Utf16::length(editor->string())});
        // Typed character by character; refused keystrokes are the user's too.
        for (std::size_t i = 0; i < value.size();) {
            std::size_t n = 1;
            while (i + n < value.size() && (static_cast<unsigned char>(value[i + n]) & 0xC0) == 0x80) ++n;
            if (kz::FieldEditor* e = field->currentEditor()) e->insertText(value.substr(i, n));
            i += n;
        }
        if (window.makeFirstResponder(nullptr)) field->sendAction();
        return true;
    }
    // Any other control announces the user's value as its own action would.
    kz::NotificationCenter::defaultCenter().post(key, nullptr,
                                                 kz::Dictionary{{kzp::wire::kParameter, kz::Value(value)}});
    return true;
}

}  // namespace kzpde
