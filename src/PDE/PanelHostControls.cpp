// The host dialog's own controls around the panel (copies, collate, duplex),
// found among the dialog's views and mirrored in the print settings.
#include "PDE/PanelHostControls.h"

#include <algorithm>
#include <iterator>

#include "PDE/KemoPDEByCocoa.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Box.h"
#include "platform/kit/Button.h"
#include "platform/kit/Control.h"
#include "platform/kit/Window.h"
#include "platform/printing/PrintingCalls.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

int duplexMode(const std::optional<std::string>& duplex) {
    if (duplex == "DuplexNoTumble") return kz::PrintSettings::kDuplexNoTumble;
    if (duplex == "DuplexTumble") return kz::PrintSettings::kDuplexTumble;
    if (duplex == "SimplexTumble") return kz::PrintSettings::kSimplexTumble;
    return kz::PrintSettings::kDuplexNone;
}

// Frames of the copies field in the host dialogs the panel knows.
const kz::Rect kCopiesFrames[] = {{95, 4, 70, 22}, {95, 4, 50, 22}, {101, 4, 60, 22}, {92, 4, 60, 22}};

}  // namespace

// The host's controls sit in plain views and boxes; what other views hold
// (the panel's own controls among them) is never the host's.
kz::Control* PanelHostControls::getCocoaPDEsControl(const kz::View* view, std::string_view key) {
    if (!view) return nullptr;
    const auto isHostControl = [key](const kz::View& v) {
        const std::string kind = v.className();
        if (kind == "Button") {
            const std::string& action = static_cast<const kz::Control&>(v).action().selector;
            return (key == "Collate" && action == "collatedSelected:") ||
                   (key == "DuplexMode" && action == "twoSidedSelected:");
        }
        return kind == "TextField" && key == "NumCopies" &&
               std::find(std::begin(kCopiesFrames), std::end(kCopiesFrames), v.frame()) != std::end(kCopiesFrames);
    };
    kz::View* found = nullptr;
    view->forEachDescendant([&](kz::View& v) {
        if (isHostControl(v)) {
            found = &v;
            return kz::View::Walk::Stop;
        }
        const std::string kind = v.className();
        const bool holder = kind == "View" || kind == "Box" || (v.superview() && v.superview()->className() == "Box");
        return holder ? kz::View::Walk::Continue : kz::View::Walk::SkipChildren;
    });
    return static_cast<kz::Control*>(found);
}

// The host dialog is the window the panel's view was placed in.
kz::View* PanelHostControls::hostDialogContentView() const {
    kz::Window* window = _panel._quill_PagePrintOnCenter ? _panel._quill_PagePrintOnCenter->window() : nullptr;
    kz::View* content = window && window->sharedContentView() ? &window->contentView() : nullptr;
    if (!content) kz::Log::line("### Error View is NULL!");
    return content;
}

std::optional<std::string> PanelHostControls::getCopies() {
    if (_panel._isHiddenNumCopies) return std::nullopt;
    kz::View* content = hostDialogContentView();
    if (!content) return std::nullopt;
    kz::Control* field = getCocoaPDEsControl(content, "NumCopies");
    if (!field) {
        kz::Log::line("### Error NumCopies is NULL!");
        return std::nullopt;
    }
    return field->stringValue();
}

void PanelHostControls::setCopies(const std::optional<std::string>& copies) {
    if (_panel._isHiddenNumCopies || !copies) return;
    kz::View* content = hostDialogContentView();
    if (!content) return;
    kz::Control* field = getCocoaPDEsControl(content, "NumCopies");
    if (!field) {
        kz::Log::line("### Error NumCopies is NULL!");
        return;
    }
    field->setStringValue(*copies);
    field->sendAction();
}

std::optional<std::string> PanelHostControls::getCollate() {
    if (_panel._isHiddenCollate) return std::nullopt;
    bool collate = false;
    if (kz::PMGetCollate(_panel._printSettings(), &collate) != kz::kNoErr) {
        kz::Log::line("### ### Error Collate not found.");
        return std::nullopt;
    }
    return std::string(collate ? "True" : "False");
}

void PanelHostControls::setCollate(bool collate) {
    if (_panel._isHiddenCollate) return;
    kz::PMSetCollate(_panel._printSettings(), collate);
    kz::View* content = hostDialogContentView();
    if (!content) return;
    if (auto* box = dynamic_cast<kz::Button*>(getCocoaPDEsControl(content, "Collate"))) {
        box->setState(collate ? 1 : 0);
        box->sendAction();
    }
}

std::optional<std::string> PanelHostControls::getDuplex() {
    if (_panel._isHiddenDuplex) return std::nullopt;
    int mode = 0;
    if (kz::PMGetDuplex(_panel._printSettings(), &mode) == kz::kNoErr) {
        if (mode == kz::PrintSettings::kDuplexNoTumble) return std::string("DuplexNoTumble");
        if (mode == kz::PrintSettings::kDuplexTumble) return std::string("DuplexTumble");
        if (mode == kz::PrintSettings::kSimplexTumble) return std::string("SimplexTumble");
    }
    return std::string("None");
}

void PanelHostControls::setDuplex(const std::optional<std::string>& duplex) {
    if (_panel._isHiddenDuplex) return;
    int mode = duplexMode(duplex);
    kz::View* content = hostDialogContentView();
    if (!content) return;
    auto* box = dynamic_cast<kz::Button*>(getCocoaPDEsControl(content, "DuplexMode"));
    if (!box) {
        kz::Log::line("### Error Duplex is NULL!");
        return;
    }
    box->setState(mode != kz::PrintSettings::kDuplexNone ? 1 : 0);
    box->sendAction();
    kz::PMSetDuplex(_panel._printSettings(), mode);
}

void PanelHostControls::setVLInputSlot(const std::optional<std::string>& inputSlot) {
    if (inputSlot) _panel._ticketSetString("VLInputSlot", inputSlot);
}

}  // namespace ComTORVALEKZ2R4_Plugin
