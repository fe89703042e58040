#include "FinishingPane.h"

#include "engine/panes/PaneFactory.h"

using ComTORVALEKZ2R4_Plugin::FinishingPane;
KZ_PANE_PRINCIPAL_CLASS(FinishingPane)
