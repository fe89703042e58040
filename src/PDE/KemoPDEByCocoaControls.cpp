// The panel's own controls and the host dialog's controls around it, the
// printer data.
#include <cstdlib>

#include "Common/Util/OSUtil.h"
#include "Common/WebService/PrinterData.h"
#include "PDE/KemoPDEByCocoa.h"
#include "engine/controls/QuillUI.h"
#include "engine/panes/PanePlugInMgr.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/Box.h"
#include "platform/kit/Button.h"
#include "platform/kit/Control.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"
#include "platform/printing/PrintingCalls.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

std::optional<std::string> textOf(const kz::Dictionary& option, std::string_view key) {
    const kz::Value* v = option.find(key);
    if (!v || v->isNull()) return std::nullopt;
    return KemoPDEByCocoa::_stringFromBooleanIfNeed(*v).stringValue();
}

int duplexMode(const std::optional<std::string>& duplex) {
    if (duplex == "DuplexNoTumble") return kz::PrintSettings::kDuplexNoTumble;
    if (duplex == "DuplexTumble") return kz::PrintSettings::kDuplexTumble;
    if (duplex == "SimplexTumble") return kz::PrintSettings::kSimplexTumble;
    return kz::PrintSettings::kDuplexNone;
}

// Frames of the copies field in the host dialogs the panel knows.
const kz::Rect kCopiesFrames[] = {{95, 4, 70, 22}, {95, 4, 50, 22}, {101, 4, 60, 22}, {92, 4, 60, 22}};

}  // namespace

// ------------------------------------------------------ the panel's controls

void KemoPDEByCocoa::_gatherValuesFromPane(kz::Dictionary& printOption) {
    if (!_isIntializedUi) return;
    auto put = [&](const char* key) {
        if (auto value = registryValue(key))
            printOption.set(key, *value);
        else
            printOption.remove(key);
    };
    _gatherPaperTraySelection(printOption, false);
    if (printOption.contains("AutoTraySettingToBypass")) {
        _gatherPaperTraySelection(printOption, true);
        bool toBypass = registryValue("AutoTraySettingToBypass") == "True";
        printOption.set("AutoTraySettingToBypass", toBypass);
        if (_bypassPaperTraySelectionButton) _bypassPaperTraySelectionButton->setEnabled(!toBypass);
    }
    printOption.set("PagePrintOnCenter", registryValue("PagePrintOnCenter") == "True");
    for (const char* key : {"StapleMode", "Punch_PunchHoles", "Fold", "OutputTray", "OffsetMode", "VLInputSlot"})
        put(key);
    if (auto copies = getCopies()) printOption.set("NumCopies", *copies);
    if (auto collate = getCollate()) printOption.set("Collate", *collate);
    put("DuplexMode");
}

void KemoPDEByCocoa::_restoreValuesToPane(const kz::Dictionary& printOption) {
    if (!_isIntializedUi) return;
    PanePlugInMgr& manager = _panePlugInMgr();
    _restorePaperTraySelection(printOption, false);
    if (const kz::Value* toBypass = printOption.find("AutoTraySettingToBypass")) {
        bool on = toBypass->boolValue();
        _restorePaperTraySelection(printOption, true);
        setRegistryValue("AutoTraySettingToBypass", std::string(on ? "True" : "False"));
        if (_bypassPaperTraySelectionButton) _bypassPaperTraySelectionButton->setEnabled(!on);
    }
    const kz::Value& center = printOption.get("PagePrintOnCenter");
    setRegistryValue("PagePrintOnCenter", std::string(center.boolValue() ? "True" : "False"));
    // A restored choice is also what a conflict falls back to.
    for (const char* key : {"StapleMode", "Punch_PunchHoles", "Fold", "OutputTray"}) {
        setRegistryValue(key, textOf(printOption, key));
        manager.updateOldValue(key);
    }
    for (const char* key : {"OffsetMode", "VLInputSlot", "DuplexMode"}) setRegistryValue(key, textOf(printOption, key));
    if (!_isMyPluginPDE) return;
    setCopies(textOf(printOption, "NumCopies"));
    setVLInputSlot(textOf(printOption, "VLInputSlot"));
    setRegistryValue("NumCopies", textOf(printOption, "NumCopies"));
    setRegistryValue("VLInputSlot", textOf(printOption, "VLInputSlot"));
    for (const char* key : {"NumCopies", "InputSlot"})
        if (auto value = textOf(_printOption, key)) _setValueToPpdDictionary(nullptr, key, *value);
}

// ------------------------------------------------- the host dialog's controls

kz::Control* KemoPDEByCocoa::getCocoaPDEsControl(const kz::View* view, std::string_view key) {
    if (!view) return nullptr;
    for (const auto& subview : view->subviews()) {
        const std::string kind = subview->className();
        if (kind == "Button") {
            auto* button = static_cast<kz::Control*>(subview.get());
            const std::string& action = button->action().selector;
            if ((key == "Collate" && action == "collatedSelected:") ||
                (key == "DuplexMode" && action == "twoSidedSelected:"))
                return button;
        } else if (kind == "TextField") {
            if (key != "NumCopies") continue;
            for (const kz::Rect& frame : kCopiesFrames)
                if (subview->frame() == frame) return static_cast<kz::Control*>(subview.get());
        } else if (kind == "View") {
            if (kz::Control* found = getCocoaPDEsControl(subview.get(), key)) return found;
        } else if (kind == "Box") {
            if (kz::Control* found = getCocoaPDEsControl(&static_cast<kz::Box*>(subview.get())->contentView(), key))
                return found;
        }
    }
    return nullptr;
}

// The host dialog is the window the panel's view was placed in.
kz::View* KemoPDEByCocoa::_hostDialogContentView() const {
    kz::Window* window = _quill_PagePrintOnCenter ? _quill_PagePrintOnCenter->window() : nullptr;
    kz::View* content = window && window->sharedContentView() ? &window->contentView() : nullptr;
    if (!content) kz::Log::line("### Error View is NULL!");
    return content;
}

std::optional<std::string> KemoPDEByCocoa::getCopies() {
    if (_isHiddenNumCopies) return std::nullopt;
    kz::View* content = _hostDialogContentView();
    if (!content) return std::nullopt;
    kz::Control* field = getCocoaPDEsControl(content, "NumCopies");
    if (!field) {
        kz::Log::line("### Error NumCopies is NULL!");
        return std::nullopt;
    }
    return field->stringValue();
}

void KemoPDEByCocoa::setCopies(const std::optional<std::string>& copies) {
    if (_isHiddenNumCopies || !copies) return;
    kz::View* content = _hostDialogContentView();
    if (!content) return;
    kz::Control* field = getCocoaPDEsControl(content, "NumCopies");
    if (!field) {
        kz::Log::line("### Error NumCopies is NULL!");
        return;
    }
    field->setStringValue(*copies);
    field->sendAction();
}

std::optional<std::string> KemoPDEByCocoa::getCollate() {
    if (_isHiddenCollate) return std::nullopt;
    bool collate = false;
    if (kz::PMGetCollate(_printSettings(), &collate) != kz::kNoErr) {
        kz::Log::line("### ### Error Collate not found.");
        return std::nullopt;
    }
    return std::string(collate ? "True" : "False");
}

void KemoPDEByCocoa::setCollate(bool collate) {
    if (_isHiddenCollate) return;
    kz::PMSetCollate(_printSettings(), collate);
    kz::View* content = _hostDialogContentView();
    if (!content) return;
    if (auto* box = dynamic_cast<kz::Button*>(getCocoaPDEsControl(content, "Collate"))) {
        box->setState(collate ? 1 : 0);
        box->sendAction();
    }
}

std::optional<std::string> KemoPDEByCocoa::getDuplex() {
    if (_isHiddenDuplex) return std::nullopt;
    int mode = 0;
    if (kz::PMGetDuplex(_printSettings(), &mode) == kz::kNoErr) {
        if (mode == kz::PrintSettings::kDuplexNoTumble) return std::string("DuplexNoTumble");
        if (mode == kz::PrintSettings::kDuplexTumble) return std::string("DuplexTumble");
        if (mode == kz::PrintSettings::kSimplexTumble) return std::string("SimplexTumble");
    }
    return std::string("None");
}

void KemoPDEByCocoa::setDuplex(const std::optional<std::string>& duplex) {
    if (_isHiddenDuplex) return;
    int mode = duplexMode(duplex);
    kz::View* content = _hostDialogContentView();
    if (!content) return;
    auto* box = dynamic_cast<kz::Button*>(getCocoaPDEsControl(content, "DuplexMode"));
    if (!box) {
        kz::Log::line("### Error Duplex is NULL!");
        return;
    }
    box->setState(mode != kz::PrintSettings::kDuplexNone ? 1 : 0);
    box->sendAction();
    kz::PMSetDuplex(_printSettings(), mode);
}

void KemoPDEByCocoa::setVLInputSlot(const std::optional<std::string>& inputSlot) {
    if (inputSlot) _ticketSetString("VLInputSlot", inputSlot);
}

// ------------------------------------------------------------ printer data

kz::Value KemoPDEByCocoa::sendCommand(const std::string& queryName) {
    try {
        ppd_file_t* ppd = _hostPpdFile();
        kz::PrintSession* session = _pdePluginCallbackObject ? _pdePluginCallbackObject->printSession() : nullptr;
        std::shared_ptr<kz::Printer> printer;
        std::string uri;
        if (kz::PMSessionGetCurrentPrinter(session, &printer) == kz::kNoErr)
            kz::PMPrinterCopyDeviceURI(printer.get(), &uri);
        // Older systems wrote the lists into the PPD only when asked; on
        // current ones they are already there.
        if (!isOSVer_After10_9()) {
            kz::OSStatus status = kz::PMPrinterSendCommand(printer.get(), "ReportLevels", queryName, nullptr);
            kz::Log::format("### ### return %d", static_cast<int>(status));
        }
        std::size_t size = 0;
        char* data = ppdxReadData(ppd, queryName.c_str(), &size);
        if (!data) return {};
        kz::Value list = kz::PropertyList::read(std::string_view(data, size));
        std::free(data);
        return list;
    } catch (const std::exception&) {
        return {};
    }
}

// ------------------------------------------------------------------- seams


}  // namespace ComTORVALEKZ2R4_Plugin
