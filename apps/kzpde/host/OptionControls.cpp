#include "host/OptionControls.h"

#include <charconv>
#include <cmath>
#include <ostream>

#include "platform/kit/Application.h"
#include "platform/kit/Event.h"
#include "platform/kit/FieldEditor.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/Menu.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/Slider.h"
#include "platform/kit/TabView.h"
#include "platform/kit/Utf16.h"
#include "platform/kit/Window.h"

namespace kzpde {

namespace {

using QuillUI = OptionControls::QuillUI;
using Kind = QuillUI::Kind;

const kz::Array& choiceEntries(const QuillUI& control) { return control.controlDictionary().get("choices").array(); }

std::string entryText(const kz::Value& entry, const char* key) { return entry.dictionary().get(key).stringValue(); }

std::string localized(const QuillUI& control, const std::string& key) {
    return control.bundle() ? control.bundle()->localizedString(key, key, "UI") : key;
}

// The option controls from the root down; without nested, not those inside
// another control.
void walk(kz::View& root, bool nested, std::vector<QuillUI*>& out) {
    const auto take = [&](kz::View& view) {
        auto* control = dynamic_cast<QuillUI*>(&view);
        if (control) out.push_back(control);
        return control && !nested ? kz::View::Walk::SkipChildren : kz::View::Walk::Continue;
    };
    if (take(root) == kz::View::Walk::Continue) root.forEachDescendant(take);
}

bool usable(const QuillUI& control) { return control.isEnabled() && !control.isHidden() && !control.isHiddenOrHasHiddenAncestor(); }

// A number as the slider or field takes it: the whole text, nothing else.
std::optional<double> number(const std::string& text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

OptionControls::Outcome fail(OptionControls::Outcome outcome, std::string* why, std::string text) {
    if (why) *why = std::move(text);
    return outcome;
}

// Types the text into the field as keystrokes, replacing what it shows,
// and ends the edit as leaving the field does.
OptionControls::Outcome typeInto(kz::TextField& field, const std::string& text, std::string* why) {
    if (!field.isEnabled() || !field.isEditable() || field.isHiddenOrHasHiddenAncestor())
        return fail(OptionControls::Outcome::Unusable, why, "its field cannot be edited now");
    if (!field.beginEditing() || !field.currentEditor())
        return fail(OptionControls::Outcome::Unusable, why, "its field does not take the focus");
    kz::FieldEditor& editor = *field.currentEditor();
    editor.setSelectedRange({0, kz::Utf16::length(editor.string())});
    if (text.empty()) editor.deleteBackward();
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
        editor.insertText(text.substr(i, n));
        i += n;
    }
    const bool typed = editor.string() == text;
    kz::Window* window = field.window();
    if (window) window->makeFirstResponder(nullptr);
    else editor.resignFirstResponder();
    if (field.currentEditor()) field.abortEditing();
    if (!typed) return fail(OptionControls::Outcome::Refused, why, "its field does not take that text as typed");
    return OptionControls::Outcome::Done;
}

}  // namespace

std::vector<QuillUI*> OptionControls::in(kz::View& view, bool nested) {
    std::vector<QuillUI*> out;
    walk(view, nested, out);
    return out;
}

QuillUI* OptionControls::find(const std::vector<kz::View*>& views, const std::string& mainKeyword) {
    // Several controls may edit one option (the panel's and a pane's); the
    // one a user can work wins.
    QuillUI* first = nullptr;
    for (kz::View* view : views) {
        if (!view) continue;
        for (QuillUI* control : in(*view, true)) {
            if (control->mainKeyword() != mainKeyword || control->kind() == Kind::TitleLine) continue;
            if (usable(*control)) return control;
            if (!first) first = control;
        }
    }
    return first;
}

QuillUI* OptionControls::bringToFront(kz::View& root, const std::string& mainKeyword) {
    const auto matches = [&](QuillUI& q) { return q.mainKeyword() == mainKeyword && q.kind() != Kind::TitleLine; };
    auto* found = dynamic_cast<QuillUI*>(&root);
    // The views of the tabs not in front live in their items only.
    if (!found || !matches(*found)) found = root.findDescendant<QuillUI>(matches, kz::View::WalkScope::AllTabs);
    if (!found) return nullptr;
    if (auto [tabs, tab] = kz::TabView::outermostTabHolding(root, *found); tabs) tabs->selectTabViewItem(tab);
    return found;
}

std::optional<std::vector<OptionControls::Choice>> OptionControls::choices(QuillUI& control) {
    std::vector<Choice> out;
    const kz::Array& entries = choiceEntries(control);
    switch (control.kind()) {
        case Kind::CheckBox:
            for (std::size_t i = 0; i < entries.size() && i < 2; ++i)
                out.push_back({entryText(entries[i], "choice"), localized(control, entryText(entries[i], "text")),
                               control.checkBox() && control.checkBox()->isEnabled()});
            return out;
        case Kind::PopupButton: {
            kz::PopUpButton* popup = control.popupButton();
            if (!popup) return out;
            // The items stand for the server's list when one is set, else for
            // the choices that have a text (separators take an item too).
            std::vector<std::optional<std::string>> values;
            if (const auto& list = control.popupButtonArray()) {
                for (const auto& item : *list) values.emplace_back(item.value);
            } else {
                for (const kz::Value& entry : entries) {
                    if (!entryText(entry, "text").empty()) values.emplace_back(entryText(entry, "choice"));
                    else if (entry.dictionary().contains("separator")) values.emplace_back(std::nullopt);
                }
            }
            for (int i = 0; i < popup->numberOfItems() && static_cast<std::size_t>(i) < values.size(); ++i) {
                const auto& value = values[static_cast<std::size_t>(i)];
                kz::MenuItem* item = popup->itemAtIndex(i);
                if (!value || !item || item->isSeparatorItem()) continue;
                out.push_back({*value, item->title(), popup->isEnabled() && popup->menu().isItemEnabled(*item)});
            }
            return out;
        }
        case Kind::RadioButton:
        case Kind::HRadioButton: {
            kz::Matrix* matrix = control.radioButtonMatrix();
            if (!matrix) return out;
            std::vector<kz::Cell*> cells = matrix->cells();
            for (std::size_t i = 0; i < cells.size() && i < entries.size(); ++i)
                out.push_back({entryText(entries[i], "choice"), cells[i]->title(), matrix->isEnabled() && cells[i]->isEnabled()});
            return out;
        }
        case Kind::Slider:
            if (entries.empty()) return std::nullopt;
            for (const kz::Value& entry : entries)
                out.push_back({entryText(entry, "choice"), localized(control, entryText(entry, "text")),
                               control.slider() && control.slider()->isEnabled()});
            return out;
        default:
            return std::nullopt;
    }
}

std::optional<std::string> OptionControls::notOffered(QuillUI& control, const std::string& value) {
    const auto offered = choices(control);
    if (!offered) return std::nullopt;
    for (const Choice& c : *offered)
        if (c.value == value) return std::nullopt;
    bool described = false;
    for (const kz::Value& entry : choiceEntries(control)) described = described || entryText(entry, "choice") == value;
    if (!described) return std::nullopt;
    // The device lists shape these menus: finishers the first four, the
    // stackers the output tray.
    const std::string& keyword = control.mainKeyword();
    if (keyword == "StapleMode" || keyword == "Punch_PunchHoles" || keyword == "Fold" || keyword == "OffsetMode")
        return "not offered by this printer's finishing devices";
    if (keyword == "OutputTray") return "not offered by this printer's output trays";
    return "not offered by this printer's devices";
}

OptionControls::Outcome OptionControls::setAsUser(QuillUI& control, const std::string& value, std::string* why) {
    // A hidden control is not there to be worked, whatever it would offer
    // (a finishing control the printer's devices hide keeps only its default).
    if (control.isHidden()) return fail(Outcome::Unusable, why, "the control is hidden");
    const auto offered = choices(control);
    std::size_t index = 0;
    if (offered) {
        while (index < offered->size() && (*offered)[index].value != value) ++index;
        if (index == offered->size()) {
            if (auto reason = notOffered(control, value)) return fail(Outcome::Unusable, why, "it is " + *reason);
            return fail(Outcome::NotAChoice, why, "it is not one of the choices");
        }
        if (!usable(control) || !(*offered)[index].enabled)
            return fail(Outcome::Unusable, why, "that choice cannot be taken now (the control or the choice is disabled or hidden)");
    } else if (!usable(control) && control.kind() != Kind::TitleLine) {
        return fail(Outcome::Unusable, why, "the control is disabled or hidden");
    }
    kz::Application::EventScope event(kz::Event::mouseDown({}));
    switch (control.kind()) {
        case Kind::CheckBox: {
            kz::Button* box = control.checkBox();
            const bool on = index == 0;
            if (box && (box->state() == kz::OnState) != on) box->performClick();
            return Outcome::Done;
        }
        case Kind::PopupButton: {
            kz::PopUpButton* popup = control.popupButton();
            for (int i = 0; popup && i < popup->numberOfItems(); ++i)
                if (popup->itemAtIndex(i)->title() == (*offered)[index].title) {
                    popup->chooseItemAtIndex(i);
                    return Outcome::Done;
                }
            return fail(Outcome::Unusable, why, "its pop-up has no such item");
        }
        case Kind::RadioButton:
        case Kind::HRadioButton: {
            kz::Matrix* matrix = control.radioButtonMatrix();
            const int columns = std::max(1, matrix->numberOfColumns());
            matrix->clickCellAtRow(static_cast<int>(index) / columns, static_cast<int>(index) % columns);
            return Outcome::Done;
        }
        case Kind::Slider: {
            kz::Slider* slider = control.slider();
            if (!slider) return fail(Outcome::Unusable, why, "it has no slider");
            if (offered) {
                slider->moveTo(static_cast<double>(index));
                return Outcome::Done;
            }
            auto n = number(value);
            if (!n || *n < slider->minValue() || *n > slider->maxValue())
                return fail(Outcome::NotAChoice, why, "it is not a number from the slider's range");
            slider->moveTo(*n);
            return Outcome::Done;
        }
        case Kind::NumberField:
        case Kind::TextField:
        case Kind::SecureTextField:
            if (!control.textField()) return fail(Outcome::Unusable, why, "it has no field");
            if (control.kind() == Kind::NumberField && !value.empty() && !number(value))
                return fail(Outcome::NotAChoice, why, "it is not a number");
            return typeInto(*control.textField(), value, why);
        case Kind::DatePicker: {
            auto seconds = number(value);
            if (!seconds || control.getDatePickers().empty())
                return fail(Outcome::NotAChoice, why, "it is not a time in seconds since 1970");
            control.getDatePickers().front()->pick(kz::Date::fromUnix(*seconds));
            return Outcome::Done;
        }
        case Kind::TitleLine:
            break;
    }
    return fail(Outcome::NotAChoice, why, "the control takes no value");
}

kz::Value OptionControls::describe(QuillUI& control, bool secret) {
    kz::Dictionary out;
    kz::Array items;
    if (auto offered = choices(control))
        for (const Choice& c : *offered)
            items.emplace_back(kz::Dictionary{{"value", kz::Value(c.value)}, {"title", kz::Value(c.title)},
                                              {"enabled", kz::Value(c.enabled)}});
    out.set("items", kz::Value(std::move(items)));
    const std::string value = control.getStringValue().value_or("");
    out.set("value", kz::Value(secret && !value.empty() ? std::string("********") : value));
    out.set("enabled", kz::Value(control.isEnabled()));
    out.set("hidden", kz::Value(control.isHidden()));
    return kz::Value(std::move(out));
}

void OptionControls::writeLine(std::ostream& out, const std::string& keyword, const kz::Dictionary& described) {
    out << keyword << " = \"" << described.get("value").stringValue() << "\""
        << (described.get("enabled").boolValue() ? "" : " disabled")
        << (described.get("hidden").boolValue() ? " hidden" : "");
    const kz::Array& items = described.get("items").array();
    if (!items.empty()) {
        out << " of";
        for (const kz::Value& item : items)
            out << " " << item.dictionary().get("value").stringValue()
                << (item.dictionary().get("enabled").boolValue() ? "" : "(disabled)");
    }
    out << "\n";
}

}  // namespace kzpde
