#include "platform/printing/PrintingCalls.h"

namespace kz {

OSStatus PMSessionGetCurrentPrinter(const PrintSession* session, std::shared_ptr<Printer>* printer) {
    if (!session || !printer) return kParamErr;
    if (!session->currentPrinter()) return kParamErr;
    *printer = session->currentPrinter();
    return kNoErr;
}

OSStatus PMPrinterCopyDeviceURI(const Printer* printer, std::string* uri) {
    if (!printer || !uri) return kParamErr;
    auto address = printer->deviceURI();
    if (!address) return kPMKeyNotFound;
    *uri = std::move(*address);
    return kNoErr;
}

OSStatus PMPrinterSendCommand(Printer* printer, const std::string& command, const std::string& jobTitle,
                              const Dictionary* options) {
    if (!printer) return kParamErr;
    return printer->sendCommand(command, jobTitle, options);
}

OSStatus PMPrintSettingsGetValue(const PrintSettings* settings, const std::string& key, Value* value) {
    if (!settings || !value) return kParamErr;
    const Value* found = settings->value(key);
    if (!found) return kPMKeyNotFound;
    *value = *found;
    return kNoErr;
}

OSStatus PMPrintSettingsSetValue(PrintSettings* settings, const std::string& key, const Value& value) {
    if (!settings || key.empty()) return kParamErr;
    settings->setValue(key, value);
    return kNoErr;
}

OSStatus PMGetCollate(const PrintSettings* settings, bool* collate) {
    if (!settings || !collate) return kParamErr;
    const Value* found = settings->value(PrintSettings::kCollateKey);
    *collate = found ? found->boolValue() : true;
    return kNoErr;
}

OSStatus PMSetCollate(PrintSettings* settings, bool collate) {
    if (!settings) return kParamErr;
    settings->setValue(PrintSettings::kCollateKey, Value(collate));
    return kNoErr;
}

OSStatus PMGetDuplex(const PrintSettings* settings, int* mode) {
    if (!settings || !mode) return kParamErr;
    const Value* found = settings->value(PrintSettings::kDuplexKey);
    int stored = found && found->isInteger() ? static_cast<int>(found->intValue()) : PrintSettings::kDuplexNone;
    *mode = stored >= PrintSettings::kDuplexNone && stored <= PrintSettings::kSimplexTumble ? stored
                                                                                              : PrintSettings::kDuplexNone;
    return kNoErr;
}

OSStatus PMSetDuplex(PrintSettings* settings, int mode) {
    if (!settings || mode < PrintSettings::kDuplexNone || mode > PrintSettings::kSimplexTumble) return kParamErr;
    settings->setValue(PrintSettings::kDuplexKey, Value(mode));
    return kNoErr;
}

}  // namespace kz
