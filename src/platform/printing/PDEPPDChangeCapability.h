#pragma once

#include <string>

#include "platform/foundation/Export.h"

namespace kz {

// The host marks a choice of its PPD on the panel's behalf (resolving the
// PPD's own constraints as it sees fit). True when it marked it.
class KZ_EXPORT PDEPPDChangeCapability {
public:
    virtual ~PDEPPDChangeCapability();

    virtual bool willChangePPDOptionKeyValue(const std::string& mainKeyword, const std::string& choice) = 0;
};

}  // namespace kz
