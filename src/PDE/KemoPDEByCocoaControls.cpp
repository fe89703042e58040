// The panel's own controls and the printer data.
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
    _trayWindows->gatherPaperTraySelection(printOption, false);
    if (printOption.contains("AutoTraySettingToBypass")) {
        _trayWindows->gatherPaperTraySelection(printOption, true);
        bool toBypass = registryValue("AutoTraySettingToBypass") == "True";
        printOption.set("AutoTraySettingToBypass", toBypass);
        if (_bypassPaperTraySelectionButton) _bypassPaperTraySelectionButton->setEnabled(!toBypass);
    }
    printOption.set("PagePrintOnCenter", registryValue("PagePrintOnCenter") == "True");
    for (const char* key : {"StapleMode", "Punch_PunchHoles", "Fold", "OutputTray", "OffsetMode", "VLInputSlot"})
        put(key);
    if (auto copies = _hostControls->getCopies()) printOption.set("NumCopies", *copies);
    if (auto collate = _hostControls->getCollate()) printOption.set("Collate", *collate);
    put("DuplexMode");
}

void KemoPDEByCocoa::_restoreValuesToPane(const kz::Dictionary& printOption) {
    if (!_isIntializedUi) return;
    PanePlugInMgr& manager = _panePlugInMgr();
    _trayWindows->restorePaperTraySelection(printOption, false);
    if (const kz::Value* toBypass = printOption.find("AutoTraySettingToBypass")) {
        bool on = toBypass->boolValue();
        _trayWindows->restorePaperTraySelection(printOption, true);
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
    _hostControls->setCopies(textOf(printOption, "NumCopies"));
    _hostControls->setVLInputSlot(textOf(printOption, "VLInputSlot"));
    setRegistryValue("NumCopies", textOf(printOption, "NumCopies"));
    setRegistryValue("VLInputSlot", textOf(printOption, "VLInputSlot"));
    for (const char* key : {"NumCopies", "InputSlot"})
        if (auto value = textOf(_printOption, key)) _setValueToPpdDictionary(nullptr, key, *value);
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

}  // namespace ComTORVALEKZ2R4_Plugin
