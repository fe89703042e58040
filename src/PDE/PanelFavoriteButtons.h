#pragma once

namespace kz {
class Control;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class KemoPDEByCocoa;

// The panel's favorites buttons: saving the current values as a new favorite
// through the save dialog, and opening the favorites manager.
class PanelFavoriteButtons {
public:
    explicit PanelFavoriteButtons(KemoPDEByCocoa& panel) : _panel(panel) {}

    void clickedSaveFavoriteButton(kz::Control* sender);
    void clickedBrowseFavoriteButton(kz::Control* sender);

private:
    KemoPDEByCocoa& _panel;
};

}  // namespace ComTORVALEKZ2R4_Plugin
