#include "host/JobNameDriver.h"

#include "engine/dialogs/JobNameWinController.h"
#include "host/AnswerDriver.h"
#include "host/CustomEntryEscapes.h"
#include "host/UserActions.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"
#include "platform/printing/PrintSettings.h"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr const char* kButtonAction = "clickedJobNameButton:";

template <typename T>
T* first(kz::View& root) {
    return dynamic_cast<T*>(kz::ScriptedUiDriver::find(root, [](kz::View& v) { return dynamic_cast<T*>(&v) != nullptr; }));
}

// The label beside the button: the read-only text field of the button's
// own view that sits closest above it.
kz::TextField* labelOf(kz::Button& button) {
    kz::View* parent = button.superview();
    if (!parent) return nullptr;
    kz::TextField* best = nullptr;
    for (const auto& sub : parent->subviews()) {
        auto* field = dynamic_cast<kz::TextField*>(sub.get());
        if (!field || field->isEditable() || field->frame().origin.y <= button.frame().origin.y) continue;
        if (!best || field->frame().origin.y < best->frame().origin.y) best = field;
    }
    return best;
}

std::optional<std::string> customEntry(const kz::Dictionary& settings, const std::string& keyword) {
    for (const auto& [key, value] : settings)
        if (kz::PrintSettings::isCustomEntryKey(key) && key.ends_with(kz::PrintSettings::kCustomEntryMarker + keyword) &&
            value.isString())
            return CustomEntryEscapes::unEscape(value.string());
    return std::nullopt;
}

}  // namespace

int JobNameDriver::set(kz::View& panelView, AnswerDriver& driver, const std::string& request, std::string* why) {
    kz::Button* open = withAction<kz::Button>(panelView, kButtonAction);
    if (!open || !open->isEnabled() || open->isHiddenOrHasHiddenAncestor()) {
        *why = "the panel offers no \"Job name...\" button";
        return 1;
    }
    const bool automatic = request == kAutomatic;
    struct Run {
        bool shown = false, okPressed = false, refused = false, pasted = true;
        std::string problem;
    } run;
    const std::size_t before = driver.dialogs.size();
    driver.clickWorking(*open, [&](kz::Window& window, bool* result) {
        kz::Button* ok = withAction<kz::Button>(window.contentView(), "sheetOk:");
        if (!ok) return false;
        kz::Button* cancel = withAction<kz::Button>(window.contentView(), "sheetCancel:");
        kz::Application::EventScope event(kz::Event::mouseDown({}));
        if (run.okPressed || !run.problem.empty()) {
            // OK came back after its alert: the dialog refused the name.
            run.refused = run.okPressed;
            *result = cancel && cancel->performClick();
            return true;
        }
        run.shown = true;
        auto* radio = first<kz::Matrix>(window.contentView());
        if (!radio || !radio->clickCellAtRow(automatic ? 0 : 1, 0)) {
            run.problem = "the job name dialog has no way to choose the mode";
            *result = cancel && cancel->performClick();
            return true;
        }
        if (!automatic) {
            kz::TextField* field = nullptr;
            kz::ScriptedUiDriver::find(window.contentView(), [&](kz::View& v) {
                auto* f = dynamic_cast<kz::TextField*>(&v);
                if (f && f->isEditable() && !field) field = f;
                return false;
            });
            if (!field || !field->isEnabled() || !replaceText(window, *field, request)) {
                run.problem = "the job name dialog's name field cannot be edited";
                *result = cancel && cancel->performClick();
                return true;
            }
            run.pasted = shownText(*field) == request;
        }
        run.okPressed = true;
        *result = ok->performClick();
        return true;
    });
    if (!run.shown) {
        *why = run.problem.empty() ? "the job name dialog did not come up" : run.problem;
        return 1;
    }
    if (!run.problem.empty()) {
        *why = run.problem;
        return 1;
    }
    if (run.refused) {
        const std::string alert =
            driver.dialogs.size() > before ? dialogTextOnOneLine(driver.dialogs.back().text) : std::string();
        *why = "the job name dialog refused the name" + (alert.empty() ? std::string() : ": " + alert);
        if (!run.pasted) *why += " (the name field did not take the text: more than 255 characters (UTF-16 units), or a control character)";
        return 1;
    }
    return 0;
}

kz::Dictionary JobNameDriver::report(kz::View* panelView, const kz::Dictionary& printSettings) {
    kz::Dictionary out;
    kz::Button* button = panelView ? buttonWithAction(*panelView, kButtonAction) : nullptr;
    kz::TextField* label = button ? labelOf(*button) : nullptr;
    out.set("label", label ? kz::Value(label->stringValue()) : kz::Value());
    std::optional<std::string> mode = customEntry(printSettings, "VLSpecificJobName");
    std::optional<std::string> name = customEntry(printSettings, "JobName");
    out.set("mode", mode ? kz::Value(*mode) : kz::Value());
    out.set("name", name ? kz::Value(kzp::JobNameWinController::displayedJobName(*name)) : kz::Value());
    return out;
}

std::optional<std::string> JobNameDriver::typedName(const kz::Dictionary& printSettings) {
    std::optional<std::string> mode = customEntry(printSettings, "VLSpecificJobName");
    std::optional<std::string> name = customEntry(printSettings, "JobName");
    if (mode != kzp::JobNameWinController::kInput || !name) return std::nullopt;
    std::string shown = kzp::JobNameWinController::displayedJobName(*name);
    if (shown.empty()) return std::nullopt;
    return shown;
}

}  // namespace kzpde
