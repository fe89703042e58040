#pragma once

#include <memory>

#include "platform/kit/Button.h"
#include "platform/kit/View.h"

namespace kzpde {

// The dialog's way to the panel's favorites windows. The panel keeps its
// favorites strip out of a hosted view, so without these a person of
// `kzpde dialog` could neither save the current settings as a favorite nor
// manage the favorites. Each button presses the panel's own one (found by
// its action) as a user would, shown for that moment only.
class FavoriteButtons {
public:
    FavoriteButtons(double width, double height, bool japanese);

    const std::shared_ptr<kz::Button>& save() const { return _save; }
    const std::shared_ptr<kz::Button>& manage() const { return _manage; }

    // Takes the panel's buttons from its view (nullptr: no panel); a button
    // whose counterpart the panel lacks is hidden.
    void attach(kz::View* panelView);

private:
    static void press(kz::Button* target);

    std::shared_ptr<kz::Button> _save, _manage;
    kz::Button* _panelSave = nullptr;
    kz::Button* _panelBrowse = nullptr;
};

}  // namespace kzpde
