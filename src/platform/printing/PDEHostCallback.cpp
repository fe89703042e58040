#include "platform/printing/PDEHostCallback.h"

namespace kz {

// The key function: one type information for the interface, in the runtime.
PDEHostCallback::~PDEHostCallback() = default;

}  // namespace kz
