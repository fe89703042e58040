#include "platform/printing/PDEPanel.h"

namespace kz {

// The key function: one type information for the interface, in the runtime.
PDEPanel::~PDEPanel() = default;

}  // namespace kz
