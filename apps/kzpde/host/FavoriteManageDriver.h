#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/kit/UiDriver.h"

namespace ComTORVALEKZ2R4_Plugin {
class FavoriteWindowController;
}

namespace kzpde {

// The user of the favorites manager, headless: works through the actions
// asked for in order, each on the row of the favorite it names (clicking
// the row, typing into its fields, pressing Return in the name field to have
// the row checked, or pressing Delete, Import or Export), then presses OK or
// Cancel. Every message alert is kept with its text and acknowledged; after
// one, the row's fields are put back to what the row holds, as a user
// abandoning the refused change would. Delete's confirmation is answered
// OK. When OK is refused, Cancel is pressed.
class FavoriteManageDriver : public kz::UiDriver {
public:
    enum class Kind { Rename, Comment, Delete, Import, Export };
    struct Action {
        Kind kind;
        std::string first, second;  // the favorite's name, then the new name, comment or file
    };

    FavoriteManageDriver(ComTORVALEKZ2R4_Plugin::FavoriteWindowController& manager, std::vector<Action> actions,
                         bool ok);

    bool step(kz::Application& app, kz::Window& window) override;
    std::optional<std::vector<std::string>> chooseFiles(kz::SavePanel& panel) override;

    const std::vector<std::string>& alerts() const { return _alerts; }
    // What could not be done ("no favorite named X").
    const std::vector<std::string>& problems() const { return _problems; }
    bool windowShown() const { return _shown; }

private:
    bool perform(kz::Window& window);
    bool finish(kz::Window& window);
    int rowNamed(const std::string& name) const;
    void restoreFields();

    ComTORVALEKZ2R4_Plugin::FavoriteWindowController& _manager;
    std::deque<Action> _actions;
    bool _ok;
    int _phase = 0, _retries = 0;
    bool _shown = false, _pressedEnd = false;
    std::deque<std::string> _files;
    std::vector<std::string> _alerts, _problems;
};

}  // namespace kzpde
