#include "host/TrayWindows.h"

#include <ostream>

#include "engine/panes/PanelInspection.h"
#include "host/OptionControls.h"
#include "host/UserActions.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/Window.h"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr const char* kOpenAction = "clickedSelectPaperTraySelectionButton:";
constexpr const char* kCloseAction = "clickButtonClose:";
// Only the bypass window edits this option.
constexpr const char* kBypassOnlyKey = "MediaTypeSequenceBypass";

kz::Button* closeButton(kz::View& root) { return withAction<kz::Button>(root, kCloseAction); }

bool isBypassWindow(kz::Window& window) {
    for (OptionControls::QuillUI* control : OptionControls::in(window.contentView(), false))
        if (control->mainKeyword() == kBypassOnlyKey) return true;
    return false;
}

TrayWindows::Outcome outcome(int status, std::string message) { return {status, std::move(message)}; }

}  // namespace

TrayWindows::Outcome TrayWindows::run(kz::View& panelView, AnswerDriver& driver, const Request& request,
                                      const std::function<void(std::size_t, const std::string&)>& dialogsShown) {
    const bool bypass = request.window == "bypass";
    const std::string flag = "--tray " + request.window;
    kz::Button* open = findButton(panelView, [&](kz::Button& b) {
        return b.action().selector == kOpenAction && (b.tag() != 0) == bypass;
    });
    if (!open || open->isHiddenOrHasHiddenAncestor())
        return outcome(1, flag + ": the panel offers no " + request.window + " tray window for this printer");
    if (!open->isEnabled())
        return outcome(1, flag + ": the panel's button for that window is disabled now" +
                              std::string(bypass ? " (the automatic tray settings are used for the bypass tray)" : ""));

    bool shown = false, closed = false;
    Outcome result;
    driver.clickWorking(*open, [&](kz::Window& window, bool* handled) {
        kz::Button* close = closeButton(window.contentView());
        // Questions the rules ask meanwhile are the driver's to answer.
        if (!close || isBypassWindow(window) != bypass) return false;
        if (closed) return false;  // Close did not end it: let the session end
        shown = true;
        kz::Application::EventScope event(kz::Event::mouseDown({}));
        std::vector<OptionControls::QuillUI*> controls;
        for (const auto& [key, value] : request.sets) {
            OptionControls::QuillUI* control = OptionControls::find({&window.contentView()}, key);
            if (!control || control->mainKeyword().empty()) {
                result = outcome(2, flag + " " + key + ": no control of the " + request.window +
                                        " tray window has the main keyword " + key);
                break;
            }
            if (auto offered = OptionControls::choices(*control)) {
                bool found = false;
                for (const auto& c : *offered) found = found || c.value == value;
                if (!found) {
                    result = outcome(2, flag + " " + key + "=" + value + ": '" + value +
                                            "' is not one of the choices of " + key);
                    break;
                }
            }
            controls.push_back(control);
        }
        for (std::size_t n = 0; result.status == 0 && n < controls.size(); ++n) {
            const auto& [key, value] = request.sets[n];
            const std::size_t before = driver.dialogs.size();
            std::string why;
            const auto done = OptionControls::setAsUser(*controls[n], value, &why);
            dialogsShown(before, key);
            if (done == OptionControls::Outcome::Done) continue;
            const bool usage = done == OptionControls::Outcome::NotAChoice || done == OptionControls::Outcome::Refused;
            result = outcome(usage ? 2 : 1, flag + " " + key + "=" + value + ": " + (usage ? "refused: " : "") + why);
        }
        closed = true;
        *handled = close->performClick();
        return true;
    });
    if (!shown && result.status == 0) return outcome(1, flag + ": the tray window did not come up");
    return result;
}

kz::Dictionary TrayWindows::report() {
    kz::Dictionary windows;
    // The windows are found through their controls, which the registry holds.
    std::vector<kz::Window*> seen;
    for (const auto& [keyword, controls] : kzp::PanelInspection::registeredControls())
        for (const auto& control : controls) {
            kz::Window* window = control ? control->window() : nullptr;
            if (!window || std::find(seen.begin(), seen.end(), window) != seen.end()) continue;
            seen.push_back(window);
            if (!closeButton(window->contentView())) continue;
            kz::Dictionary described;
            for (OptionControls::QuillUI* c : OptionControls::in(window->contentView(), false))
                if (!c->mainKeyword().empty()) described.set(c->mainKeyword(), OptionControls::describe(*c, false));
            windows.set(isBypassWindow(*window) ? "bypass" : "automatic", kz::Value(std::move(described)));
        }
    // Automatic first, whatever order the registry keeps.
    kz::Dictionary ordered;
    for (const char* name : {"automatic", "bypass"})
        if (const kz::Value* w = windows.find(name)) ordered.set(name, *w);
    return ordered;
}

void TrayWindows::writeText(std::ostream& out, const kz::Dictionary& trayWindows) {
    out << "tray windows:\n";
    for (const auto& [name, controls] : trayWindows) {
        out << "  " << name << ":\n";
        for (const auto& [keyword, value] : controls.dictionary()) {
            out << "    ";
            OptionControls::writeLine(out, keyword, value.dictionary());
        }
    }
}

}  // namespace kzpde
