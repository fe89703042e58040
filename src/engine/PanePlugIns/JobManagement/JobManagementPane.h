#pragma once

#include "engine/panes/QuillPane.h"

namespace ComTORVALEKZ2R4_Plugin {

// The pane of secure print and its password, mail notification, sample print: every control comes from the bundle's descriptions.
class JobManagementPane : public QuillPane {};

}  // namespace ComTORVALEKZ2R4_Plugin
