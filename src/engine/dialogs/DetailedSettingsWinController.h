#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Common/DialogBase/TDWindowController.h"
#include "engine/dialogs/SharedDialog.h"
#include "engine/tabtree/DataSource.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/kit/WindowDelegate.h"

namespace kz {
class Button;
class OutlineView;
class PopUpButton;
class TabView;
class View;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

// The process-wide modal window that shows every pane's controls at once,
// as tabs or as a tree of panes beside one pane: opened from the panel's
// "Show Detailed Settings" button, and used to complete a print option with
// the values of every pane before it is saved.
class KZ_EXPORT DetailedSettingsWinController : public TDWindowController,
                                                public SharedDialog<DetailedSettingsWinController>,
                                                public kz::WindowDelegate {
public:
    // Runs the window over the print option: 1 when the user pressed OK (the
    // option then holds the window's values), 0 when cancelled. OK is
    // refused, and the window stays, while the values fail the consistency
    // check; what such an OK gathered stays in the option.
    int showAsModalDialog(kz::Dictionary& printOption);
    // What the last run answered, and the print option it left (for hosts
    // that see the window only through the panel's button).
    int lastModalResult() const { return _lastModalResult; }
    const kz::Dictionary& lastPrintOption() const { return _lastPrintOption; }
    // Completes the print option with the current values of every pane; the
    // option's own entries win.
    void reformatPrintOption(kz::Dictionary& printOption);

    // The buttons' actions.
    void okButton(kz::Control* sender);
    void cancelButton(kz::Control* sender);
    void clickedRevertToDefault(kz::Control* sender);
    void clickedVersionInfo(kz::Control* sender);
    // Tag 1 of the view-style pop-up shows the panes as tabs, tag 2 as a tree.
    void setupViewStylePopupButton(kz::Control* sender);

    kz::FieldEditor* windowWillReturnFieldEditor(kz::Window& window, const void* client) override;
    void windowWillClose(kz::Window& window) override;

    std::span<const Outlet> outlets() const override;
    std::span<const Action> actions() const override;

    kz::TabView* tabView() const { return _tabView.get(); }
    kz::OutlineView* outlineView() const { return _outlineview.get(); }
    kz::PopUpButton* viewStyle() const { return _viewStyle.get(); }
    kz::Button* okButtonControl() const { return _okButton.get(); }
    kz::Button* cancelButtonControl() const { return _cancelButton.get(); }
    // The container the pane tree is shown in (the outline's scroll view).
    kz::View* paneTreeContainer() const;

    // Where a pane's controls begin with the panes as tabs (room for the
    // buttons that stand in for nested tabs) and as a tree.
    static constexpr double kTabsContentX = 187;
    static constexpr double kTreeContentX = 0;
    // How far the tabs move aside for the pane tree.
    static constexpr double kPaneTreeWidth = 200;
    static constexpr const char* kFakeTabAction = "clickedFakeTabButton:";
    static constexpr const char* kFrameName = "DetailedSettingsDialog";

    ~DetailedSettingsWinController() override;

protected:
    void windowDidLoad() override;

private:
    friend class SharedDialog<DetailedSettingsWinController>;
    DetailedSettingsWinController();
    void setUpWindow();
    void addPaneTabs();
    void refreshPaneTabs();
    void placePaneContents(double x);

    std::shared_ptr<kz::Button> _cancelButton, _okButton, _revertToDefaultButton, _versionInfoButton;
    std::shared_ptr<kz::TabView> _tabView;
    std::shared_ptr<kz::OutlineView> _outlineview;
    std::shared_ptr<kz::PopUpButton> _viewStyle;
    std::optional<std::string> _prevSelectedProfileName;
    int _lastModalResult = 0;
    kz::Dictionary _lastPrintOption;
    DataSource _tabTree;
};

extern template class SharedDialog<DetailedSettingsWinController>;

}  // namespace ComTORVALEKZ2R4_Plugin
