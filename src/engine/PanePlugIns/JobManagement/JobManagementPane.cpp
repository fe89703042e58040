#include "JobManagementPane.h"

#include "engine/panes/PaneFactory.h"

using ComTORVALEKZ2R4_Plugin::JobManagementPane;
KZ_PANE_PRINCIPAL_CLASS(JobManagementPane)
