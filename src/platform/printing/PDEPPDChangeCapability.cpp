#include "platform/printing/PDEPPDChangeCapability.h"

namespace kz {

// The key function: one type information for the interface, in the runtime.
PDEPPDChangeCapability::~PDEPPDChangeCapability() = default;

}  // namespace kz
