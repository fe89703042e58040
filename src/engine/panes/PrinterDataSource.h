#pragma once

#include <string>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

// Where the pane plug-in manager gets the print server's lists (trays,
// finishing devices, job resources, fonts, profiles): the panel that the
// host has shown, which reads them from the printer data of the host's PPD.
// The engine knows it only through this interface.
class KZ_EXPORT PrinterDataSource {
public:
    virtual ~PrinterDataSource();

    // The decoded list named `queryName` ("StackerInfoList", "Font", ...),
    // read anew on every call; null when there is none.
    virtual kz::Value sendCommand(const std::string& queryName) = 0;
};

}  // namespace ComTORVALEKZ2R4_Plugin
