#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"
#include "platform/printing/PrintSession.h"
#include "platform/printing/PrintSettings.h"
#include "platform/printing/PrintStatus.h"
#include "platform/printing/Printer.h"

// The printing system's calls as the panel makes them: a status for every
// call, results through out-parameters. A missing object or out-parameter is
// kParamErr; a key that is not set is kPMKeyNotFound.
namespace kz {

KZ_EXPORT OSStatus PMSessionGetCurrentPrinter(const PrintSession* session, std::shared_ptr<Printer>* printer);
KZ_EXPORT OSStatus PMPrinterCopyDeviceURI(const Printer* printer, std::string* uri);
KZ_EXPORT OSStatus PMPrinterSendCommand(Printer* printer, const std::string& command, const std::string& jobTitle,
                                        const Dictionary* options);

KZ_EXPORT OSStatus PMPrintSettingsGetValue(const PrintSettings* settings, const std::string& key, Value* value);
// A null value removes the key.
KZ_EXPORT OSStatus PMPrintSettingsSetValue(PrintSettings* settings, const std::string& key, const Value& value);

// Collate is on and duplex is one-sided (kDuplexNone) until set.
KZ_EXPORT OSStatus PMGetCollate(const PrintSettings* settings, bool* collate);
KZ_EXPORT OSStatus PMSetCollate(PrintSettings* settings, bool collate);
KZ_EXPORT OSStatus PMGetDuplex(const PrintSettings* settings, int* mode);
// Modes 1 to 4; anything else is kParamErr.
KZ_EXPORT OSStatus PMSetDuplex(PrintSettings* settings, int mode);

}  // namespace kz
