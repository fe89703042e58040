#include "SpoolOptionsPane.h"

#include "engine/panes/PaneFactory.h"

using ComTORVALEKZ2R4_Plugin::SpoolOptionsPane;
KZ_PANE_PRINCIPAL_CLASS(SpoolOptionsPane)
