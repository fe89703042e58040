#include "MediaPane.h"

#include "engine/panes/PaneFactory.h"

using ComTORVALEKZ2R4_Plugin::MediaPane;
KZ_PANE_PRINCIPAL_CLASS(MediaPane)
