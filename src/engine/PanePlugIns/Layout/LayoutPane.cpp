#include "LayoutPane.h"

#include "engine/panes/PaneFactory.h"

using ComTORVALEKZ2R4_Plugin::LayoutPane;
KZ_PANE_PRINCIPAL_CLASS(LayoutPane)
