#include "PagePane.h"

#include "engine/panes/PaneFactory.h"

using ComTORVALEKZ2R4_Plugin::PagePane;
KZ_PANE_PRINCIPAL_CLASS(PagePane)
