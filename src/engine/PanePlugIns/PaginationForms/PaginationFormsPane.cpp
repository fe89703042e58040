#include "PaginationFormsPane.h"

#include "engine/panes/PaneFactory.h"

using ComTORVALEKZ2R4_Plugin::PaginationFormsPane;
KZ_PANE_PRINCIPAL_CLASS(PaginationFormsPane)
