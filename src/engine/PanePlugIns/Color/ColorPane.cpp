#include "ColorPane.h"

#include "engine/panes/PaneFactory.h"

using ComTORVALEKZ2R4_Plugin::ColorPane;
KZ_PANE_PRINCIPAL_CLASS(ColorPane)
