#include "platform/printing/PDEPlugIn.h"

namespace kz {

// The key function: one type information for the interface, in the runtime.
PDEPlugIn::~PDEPlugIn() = default;

}  // namespace kz
