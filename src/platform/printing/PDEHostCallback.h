#pragma once

#include <cups/ppd.h>

#include "platform/foundation/Export.h"
#include "platform/printing/PrintSession.h"
#include "platform/printing/PrintSettings.h"

namespace kz {

// What a print dialog hands each panel it loads: its print session, its
// print settings and the printer's PPD, all owned by the host and alive as
// long as the panel. Any of them may be missing (nullptr).
//
// A host that lets panels mark PPD choices also implements
// PDEPPDChangeCapability on the same object; a panel probes for it with
// dynamic_cast, once.
class KZ_EXPORT PDEHostCallback {
public:
    virtual ~PDEHostCallback();

    virtual PrintSession* printSession() = 0;
    virtual PrintSettings* printSettings() = 0;
    virtual ppd_file_t* ppdFile() = 0;
};

}  // namespace kz
