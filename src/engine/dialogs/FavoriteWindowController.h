#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Common/DialogBase/TDWindowController.h"
#include "engine/dialogs/SharedDialog.h"
#include "engine/favorites/FavoriteItem.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/kit/TableView.h"
#include "platform/kit/WindowDelegate.h"

namespace kz {
class Button;
class Image;
class OutlineView;
class TextField;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class PrintOptionTreeDataSource;

// The favorites manager: lists the favorites after the two fixed rows,
// previews the settings of the selected one, and lets the user rename,
// re-comment, delete, import and export favorites. Every change stays in
// memory until OK; only then are files renamed, rewritten, copied or moved
// to the trash. One process-wide controller (window description "Favorite").
class KZ_EXPORT FavoriteWindowController : public TDWindowController,
                                           public SharedDialog<FavoriteWindowController>,
                                           public kz::TableViewDataSource,
                                           public kz::TableViewDelegate,
                                           public kz::WindowDelegate {
public:
    // Runs the manager modally over the print option (none: the panes'
    // current values): 1 for OK (the changes are then carried out), else 0.
    int showAsModalDialog(const std::optional<std::string>& profilePath, const kz::Dictionary* printOption);

    // The actions of the window's buttons.
    void sheetOk(kz::Control* sender);
    void sheetCancel(kz::Control* sender);
    void clickedDelete(kz::Control* sender);
    void clickedImport(kz::Control* sender);
    void clickedExport(kz::Control* sender);

    // The table.
    int numberOfRowsInTableView(kz::TableView& tableView) override;
    kz::Value objectValueForTableColumn(kz::TableView& tableView, kz::TableColumn* column, int row) override;
    bool selectionShouldChangeInTableView(kz::TableView& tableView) override;
    void tableViewSelectionDidChange(kz::TableView& tableView) override;
    void willDisplayCell(kz::TableView& tableView, kz::Cell& cell, kz::TableColumn* column, int row) override;

    void windowWillClose(kz::Window& window) override;
    std::span<const Outlet> outlets() const override;
    std::span<const Action> actions() const override;

    // Validates the selected row's fields and stores them in the row; on a
    // failure an alert sheet says why and the field in error takes the focus.
    bool _checkValid();
    // The duplicate message when another row than the selected one has the
    // name (see the definition for when a row with a path clashes).
    std::optional<std::string> _isSameNameExists(const std::optional<std::string>& name,
                                                 const std::optional<std::string>& path) const;
    // Carries out the changes when the code is 1; always drops the lists.
    void _sheetDidEnd(long returnCode);
    // Writes what OK confirmed: deletions, comments, imports, renames.
    void _commitChanges();

    // Where the last OK moved the favorite file at the path (a rename), so
    // that a caller showing that favorite can follow it; none when it did not
    // move.
    std::optional<std::string> movedPath(const std::string& path) const;

    // For the tool and tests.
    const std::vector<std::shared_ptr<FavoriteItem>>& favoriteItems() const { return _favoriteItemArray; }
    kz::TableView* favoriteListView() const { return _favoriteListView.get(); }
    kz::OutlineView* treeView() const { return _treeView.get(); }
    kz::TextField* nameField() const { return _nameField.get(); }
    kz::TextField* commentField() const { return _commentField.get(); }
    PrintOptionTreeDataSource& dataSource() { return *_dataSource; }
    const kz::Dictionary& currentPrintOption() const { return _currentPrintOption; }

    ~FavoriteWindowController() override;

protected:
    void windowDidLoad() override;

private:
    friend class SharedDialog<FavoriteWindowController>;
    FavoriteWindowController();
    void buildItems();
    void sortAndReload();
    int selectedRow() const;
    FavoriteItem* selectedItem() const;
    void showMessage(const std::string& message, kz::TextField* fieldInError);
    void showMessageLater(const std::string& message);
    bool isInFavoriteFolder(const std::string& path) const;
    // The folder the row's file is in after OK: its own for a favorite of a
    // favorite folder, the first favorite folder for an imported one.
    std::string landingFolder(const std::string& path) const;

    std::shared_ptr<kz::TableView> _favoriteListView;
    std::shared_ptr<kz::OutlineView> _treeView;
    std::shared_ptr<kz::TextField> _nameField, _commentField, _nameTitle, _commentTitle, _listTitle, _settingTitle;
    std::shared_ptr<kz::Button> _deleteButton, _importButton, _exportButton, _cancelButton, _okButton;

    std::vector<std::shared_ptr<FavoriteItem>> _favoriteItemArray;
    std::optional<std::vector<std::shared_ptr<FavoriteItem>>> _removedItemArray;
    std::optional<std::string> _profilePath;
    std::unique_ptr<PrintOptionTreeDataSource> _dataSource;
    kz::Dictionary _currentPrintOption;
    bool _isEnterKeyPressed = false;
    std::map<std::string, std::string> _movedPaths;  // of the last run, from -> to
    std::shared_ptr<kz::Image> _itemIcon, _classicIcon;
};

// Runs the favorites manager; true when the user confirmed with OK.
KZ_EXPORT bool ShowFavoriteModalDialog(const std::string* profilePath, const kz::Dictionary* printOption);

extern template class SharedDialog<FavoriteWindowController>;

}  // namespace ComTORVALEKZ2R4_Plugin
