#include "engine/dialogs/FavoriteWindowController.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

#include "Common/TextInput/AttachFormatter.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "engine/favorites/FavoriteFile.h"
#include "engine/favorites/FavoriteRenames.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/favorites/FavoriteFolder.h"
#include "engine/preferences/AppPreference.h"
#include "engine/settingstree/PrintOptionTreeDataSource.h"
#include "platform/foundation/FolderLock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/kit/Alert.h"
#include "platform/kit/Application.h"
#include "platform/kit/BrowserCell.h"
#include "platform/kit/Button.h"
#include "platform/kit/Image.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/SavePanel.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"
#include "platform/kit/Workspace.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

namespace fs = std::filesystem;

std::string localized(const std::string& key) { return FavoriteItem::localized(key); }

std::string format1(const std::string& format, const std::string& argument) {
    std::string out = format;
    if (auto at = out.find("%@"); at != std::string::npos) out.replace(at, 2, argument);
    return out;
}

std::string folderOf(const std::string& path) { return fs::path(path).parent_path().string(); }

void logMove(const std::string& from, const std::string& to, const std::string& error) {
    kz::Log::line("### ## can't move \"" + from + "\" to \"" + to + "\" " + error);
}

void logCopy(const std::string& from, const std::string& to, const std::string& error) {
    kz::Log::line("### ## can't copy \"" + from + "\" to \"" + to + "\" " + error);
}

bool isUnder(const std::string& path, const std::string& folder) {
    if (folder.empty()) return false;
    std::string prefix = folder.back() == '/' ? folder : folder + "/";
    return path.starts_with(prefix);
}

}  // namespace

FavoriteWindowController::FavoriteWindowController()
    : TDWindowController("Favorite"), _dataSource(std::make_unique<PrintOptionTreeDataSource>()) {}

FavoriteWindowController::~FavoriteWindowController() {
    if (_favoriteListView) {
        _favoriteListView->setDataSource(nullptr);
        _favoriteListView->setDelegate(nullptr);
    }
    if (_treeView) {
        _treeView->setDataSource(nullptr);
        _treeView->setDelegate(nullptr);
    }
}

std::span<const kz::ViewOwner::Outlet> FavoriteWindowController::outlets() const {
    static const Outlet table[] = {
        outlet("_favoriteListView", &FavoriteWindowController::_favoriteListView),
        outlet("_treeView", &FavoriteWindowController::_treeView),
        outlet("_nameField", &FavoriteWindowController::_nameField),
        outlet("_commentField", &FavoriteWindowController::_commentField),
        outlet("_nameTitle", &FavoriteWindowController::_nameTitle),
        outlet("_commentTitle", &FavoriteWindowController::_commentTitle),
        outlet("_listTitle", &FavoriteWindowController::_listTitle),
        outlet("_settingTitle", &FavoriteWindowController::_settingTitle),
        outlet("_deleteButton", &FavoriteWindowController::_deleteButton),
        outlet("_importButton", &FavoriteWindowController::_importButton),
        outlet("_exportButton", &FavoriteWindowController::_exportButton),
        outlet("_cancelButton", &FavoriteWindowController::_cancelButton),
        outlet("_okButton", &FavoriteWindowController::_okButton),
    };
    return table;
}

std::span<const kz::ViewOwner::Action> FavoriteWindowController::actions() const {
    static const Action table[] = {
        action("sheetOk:", &FavoriteWindowController::sheetOk),
        action("sheetCancel:", &FavoriteWindowController::sheetCancel),
        action("clickedDelete:", &FavoriteWindowController::clickedDelete),
        action("clickedImport:", &FavoriteWindowController::clickedImport),
        action("clickedExport:", &FavoriteWindowController::clickedExport),
    };
    return table;
}

void FavoriteWindowController::windowDidLoad() {
    installWindowDelegate(this);
    kz::Window* w = window();
    w->setTitle(localized("Favorite window title"));
    auto title = [](const std::shared_ptr<kz::TextField>& field) {
        if (field) field->setStringValue(localized(field->stringValue()));
    };
    title(_listTitle);
    title(_settingTitle);
    title(_nameTitle);
    title(_commentTitle);
    for (const auto& button : {_deleteButton, _importButton, _exportButton, _cancelButton, _okButton})
        if (button) button->setTitle(localized(button->title()));
    if (_okButton) _okButton->setKeyEquivalent("\r");
    if (_cancelButton) _cancelButton->setKeyEquivalent("\x1b");
    std::string placeholder = localized("Placeholder Max chars");
    attachMaxBytesFormatter(_nameField.get(), FavoriteItem::maxNameLength(), placeholder.c_str(), nullptr);
    attachMaxBytesFormatter(_commentField.get(), FavoriteItem::maxCommentLength(), placeholder.c_str(), nullptr);
    if (_favoriteListView) {
        if (kz::TableColumn* name = _favoriteListView->tableColumnWithIdentifier("name")) {
            auto cell = std::make_unique<kz::BrowserCell>();
            cell->setLeaf(true);
            name->setDataCell(std::move(cell));
        }
        _favoriteListView->setDataSource(this);
        _favoriteListView->setDelegate(this);
    }
    if (_treeView) _dataSource->setOutlineView(_treeView.get(), true);
    if (auto icon = kz::Workspace::shared().iconForFileType("'docu'")) _itemIcon = icon->drawnAtSize(16, 16);
    _classicIcon = AppPreference::sharedInstance().clasicIcon(16);
    if (_classicIcon) _classicIcon->setSize({16, 16});
}

// ------------------------------------------------------------------ the list

void FavoriteWindowController::buildItems() {
    _favoriteItemArray.clear();
    _removedItemArray.reset();
    _favoriteItemArray.push_back(FavoriteItem::currentSettingItem());
    _favoriteItemArray.push_back(FavoriteItem::defaultFavoriteItem());
    for (const std::string& path : FavoriteFolder::arrayForFavoritePath()) {
        auto item = FavoriteItem::favoriteItemWithName(FavoriteFile::nameWithPath(path));
        FavoriteFile file(path);
        if (file.options()) item->setComment(file.comment());
        item->setPath(path);
        item->setShared(FavoriteFolder::isSharedFavoritePath(path));
        _favoriteItemArray.push_back(std::move(item));
    }
}

void FavoriteWindowController::sortAndReload() {
    std::stable_sort(_favoriteItemArray.begin(), _favoriteItemArray.end(),
                     [](const auto& a, const auto& b) { return a->compare(*b); });
    if (_favoriteListView) _favoriteListView->reloadData();
}

int FavoriteWindowController::selectedRow() const { return _favoriteListView ? _favoriteListView->selectedRow() : -1; }

FavoriteItem* FavoriteWindowController::selectedItem() const {
    int row = selectedRow();
    if (row < 0 || row >= static_cast<int>(_favoriteItemArray.size())) return nullptr;
    return _favoriteItemArray[static_cast<std::size_t>(row)].get();
}

int FavoriteWindowController::numberOfRowsInTableView(kz::TableView&) {
    return static_cast<int>(_favoriteItemArray.size());
}

kz::Value FavoriteWindowController::objectValueForTableColumn(kz::TableView&, kz::TableColumn* column, int row) {
    if (!column || row < 0 || row >= static_cast<int>(_favoriteItemArray.size())) return {};
    const FavoriteItem& item = *_favoriteItemArray[static_cast<std::size_t>(row)];
    const std::optional<std::string>& value = column->identifier() == "name"      ? item.name()
                                              : column->identifier() == "comment" ? item.comment()
                                                                                  : std::nullopt;
    return value ? kz::Value(*value) : kz::Value();
}

void FavoriteWindowController::willDisplayCell(kz::TableView&, kz::Cell& cell, kz::TableColumn* column, int row) {
    auto* browser = dynamic_cast<kz::BrowserCell*>(&cell);
    if (!browser || !column || column->identifier() != "name") return;
    if (row < 0 || row >= static_cast<int>(_favoriteItemArray.size())) return;
    const FavoriteItem& item = *_favoriteItemArray[static_cast<std::size_t>(row)];
    const std::optional<std::string>& path = item.path();
    // The other mark is for favorites the user does not keep: shared ones,
    // or those of the folder used without a home. The user's own folder
    // may lie outside the home (XDG_CONFIG_HOME).
    const char* home = std::getenv("HOME");
    const std::optional<std::string> library = AppPreference::userLibraryFolder();
    bool ours = !item.isShared() && (!path || (home && *home && isUnder(*path, home)) ||
                                     (library && isUnder(*path, *library)));
    browser->setImage(ours || !_classicIcon ? _itemIcon : _classicIcon);
}

bool FavoriteWindowController::selectionShouldChangeInTableView(kz::TableView& tableView) {
    const kz::Event* event = kz::Application::shared().currentEvent();
    if (!event || event->type != kz::Event::Type::LeftMouseDown) return true;
    if (!_checkValid()) return false;
    tableView.reloadData();
    return true;
}

void FavoriteWindowController::tableViewSelectionDidChange(kz::TableView&) {
    int row = selectedRow();
    FavoriteItem* item = selectedItem();
    // A shared favorite is the administrator's: it can be looked at and
    // exported, not changed.
    bool editable = row >= kFavoriteListOffset && item && !item->isShared();
    for (const auto& field : {_nameField, _nameTitle, _commentTitle, _commentField})
        if (field) field->setEnabled(editable);
    if (_deleteButton) _deleteButton->setEnabled(editable);
    if (_exportButton) _exportButton->setEnabled(row >= kFavoriteListOffset);
    if (_commentField) _commentField->setStringValue(item ? item->comment().value_or("") : "");
    if (_nameField) _nameField->setStringValue(item ? item->name().value_or("") : "");

    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    kz::Dictionary preview;
    if (item && item->kind() == FavoriteItem::Kind::CurrentSetting) {
        preview = _currentPrintOption;
    } else {
        preview = mgr.defaultSettings();
        if (item && item->path()) {
            FavoriteFile file(*item->path());
            if (file.options())
                for (const auto& [key, value] : PrintOptionConverter::sharedInstance().toPpdKeywordFormat(*file.options()))
                    preview.set(key, value);
        }
    }
    _dataSource->updatePrintOption(preview, false);
    _dataSource->updateProfilePath(_profilePath, true);
}

// ---------------------------------------------------------------- validation

std::optional<std::string> FavoriteWindowController::_isSameNameExists(const std::optional<std::string>& name,
                                                                       const std::optional<std::string>& path) const {
    if (!name) return std::nullopt;
    FavoriteItem* selected = selectedItem();
    for (const auto& item : _favoriteItemArray) {
        if (item.get() == selected || item->name() != name) continue;
        // A shared favorite's name is free for the user's own, which then
        // comes first.
        if (item->isShared()) continue;
        bool clash = !path;
        if (path && item->path()) {
            // An imported row lands in the first favorite folder at OK, so
            // that is the folder its name must be free in.
            std::string candidate = FavoriteFile::pathWithName(*name, landingFolder(*path));
            std::error_code ec;
            clash = candidate == *item->path() && fs::exists(candidate, ec);
            // A row of the same folder already renamed to this name would be
            // renamed onto the same file at OK.
            clash = clash || landingFolder(*item->path()) == landingFolder(*path);
        }
        if (clash) return format1(localized("There is same favorite name"), *name);
    }
    return std::nullopt;
}

bool FavoriteWindowController::_checkValid() {
    int row = selectedRow();
    FavoriteItem* item = selectedItem();
    if (row < kFavoriteListOffset || !item || item->isShared()) return true;
    kz::Window* w = window();
    // What is being typed counts: the edit ends first.
    if (w && w->editedField()) w->makeFirstResponder(nullptr);
    std::optional<std::string> name = _nameField ? std::optional<std::string>(_nameField->stringValue()) : std::nullopt;
    std::optional<std::string> message = FavoriteItem::checkName(name);
    if (!message) message = _isSameNameExists(name, item->path());
    if (message) {
        showMessage(*message, _nameField.get());
        return false;
    }
    item->setName(name);
    std::optional<std::string> comment =
        _commentField ? std::optional<std::string>(_commentField->stringValue()) : std::nullopt;
    if (std::optional<std::string> refused = FavoriteItem::checkComment(comment)) {
        showMessage(*refused, _commentField.get());
        return false;
    }
    item->setComment(comment);
    return true;
}

void FavoriteWindowController::showMessage(const std::string& message, kz::TextField* fieldInError) {
    kz::Window* w = window();
    if (!w) return;
    kz::Alert alert;
    alert.setMessageText(message);
    alert.addButtonWithTitle(localized("OK"));
    alert.beginSheetModalForWindow(*w);
    if (fieldInError) w->makeFirstResponder(fieldInError);
}

void FavoriteWindowController::showMessageLater(const std::string& message) {
    // After the open panel has gone, in the modal run that is still going.
    kz::RunLoop::current().perform([this, message] { showMessage(message, nullptr); }, 0,
                                   {kz::RunLoop::kModalPanelMode});
}

// ------------------------------------------------------------------- buttons

void FavoriteWindowController::sheetOk(kz::Control*) {
    const kz::Event* event = kz::Application::shared().currentEvent();
    kz::Window* w = window();
    // Return or Enter that ends the editing of the name also reaches this
    // default button; that key press only checks the row.
    if (event && event->type == kz::Event::Type::KeyDown && (event->characters == "\r" || event->characters == "\x03") &&
        w && _nameField && w->editedField() == _nameField.get())
        _isEnterKeyPressed = true;
    if (_isEnterKeyPressed) {
        _isEnterKeyPressed = false;
        if (_checkValid() && _favoriteListView) _favoriteListView->reloadData();
        return;
    }
    if (_checkValid()) kz::Application::shared().stopModalWithCode(kz::ModalResponseOK);
}

void FavoriteWindowController::sheetCancel(kz::Control*) {
    kz::Application::shared().stopModalWithCode(kz::ModalResponseCancel);
}

void FavoriteWindowController::windowWillClose(kz::Window& w) {
    kz::Application& app = kz::Application::shared();
    if (app.modalWindow() == &w) app.stopModalWithCode(kz::ModalResponseCancel);
}

void FavoriteWindowController::clickedDelete(kz::Control*) {
    int row = selectedRow();
    FavoriteItem* item = selectedItem();
    if (row < kFavoriteListOffset || !item || item->isShared()) return;
    kz::Alert alert;
    alert.setMessageText(format1(localized("fmtConfirmationOfDeleteFavorite"), item->name().value_or("")));
    alert.addButtonWithTitle(localized("OK"));
    alert.addButtonWithTitle(localized("Cancel"));
    if (alert.runModal() != kz::AlertFirstButtonReturn) return;
    if (!_removedItemArray) _removedItemArray.emplace();
    _removedItemArray->push_back(_favoriteItemArray[static_cast<std::size_t>(row)]);
    _favoriteItemArray.erase(_favoriteItemArray.begin() + row);
    sortAndReload();
    if (_favoriteListView) {
        _favoriteListView->selectRow(0);
        tableViewSelectionDidChange(*_favoriteListView);
    }
}

void FavoriteWindowController::clickedImport(kz::Control*) {
    kz::OpenPanel panel;
    std::vector<std::string> folders = AppPreference::sharedInstance().favoriteFolderPathArray(true);
    if (!folders.empty()) panel.setDirectory(folders.front());
    panel.setCanChooseFiles(true);
    panel.setCanChooseDirectories(false);
    panel.setAllowsMultipleSelection(false);
    if (panel.runModal() != kz::ModalResponseOK || panel.path().empty()) return;
    const std::string path = panel.path();
    FavoriteFile file(path);
    if (!file.options() || file.version() == kFavoriteFile_UnknownVersion) {
        showMessageLater(localized("Fail to loading favorite file"));
        return;
    }
    std::string name = FavoriteFile::nameWithPath(path);
    if (std::optional<std::string> clash = _isSameNameExists(name, std::nullopt)) {
        showMessageLater(*clash);
        return;
    }
    auto item = FavoriteItem::favoriteItemWithName(name);
    item->setPath(path);
    // The file's own comment, so that checking the row later (which stores
    // what the comment field shows) does not erase it.
    item->setComment(file.comment());
    FavoriteItem* selected = selectedItem();
    _favoriteItemArray.push_back(std::move(item));
    sortAndReload();
    // The row being edited keeps the selection wherever the sort put it.
    for (std::size_t i = 0; selected && _favoriteListView && i < _favoriteItemArray.size(); ++i)
        if (_favoriteItemArray[i].get() == selected && _favoriteListView->selectedRow() != static_cast<int>(i))
            _favoriteListView->selectRowIndexes({static_cast<int>(i)}, false);
}

void FavoriteWindowController::clickedExport(kz::Control*) {
    FavoriteItem* item = selectedItem();
    if (selectedRow() < kFavoriteListOffset || !item || !item->path()) return;
    kz::SavePanel panel;
    std::vector<std::string> folders = AppPreference::sharedInstance().favoriteFolderPathArray(true);
    if (!folders.empty()) panel.setDirectory(folders.front());
    panel.setNameFieldStringValue(FavoriteFile::stringByAppendingExtension(item->name().value_or("")));
    if (panel.runModal() != kz::ModalResponseOK || panel.path().empty()) return;
    FavoriteFile file(*item->path());
    if (item->comment()) file.setComment(*item->comment());
    if (!file.options() || !file.writeToFile(panel.path())) {
        kz::Log::line("### ## can't export \"" + *item->path() + "\" to \"" + panel.path() + "\"");
        // The user chose where the copy goes and must hear that none came.
        showMessageLater(localized("Fail to save favorite file"));
    }
}

// -------------------------------------------------------------------- commit

bool FavoriteWindowController::isInFavoriteFolder(const std::string& path) const {
    for (const std::string& folder : AppPreference::sharedInstance().favoriteFolderPathArray(false))
        if (isUnder(path, folder)) return true;
    return false;
}

std::string FavoriteWindowController::landingFolder(const std::string& path) const {
    if (isInFavoriteFolder(path) || FavoriteFolder::isSharedFavoritePath(path)) return folderOf(path);
    std::vector<std::string> folders = AppPreference::sharedInstance().favoriteFolderPathArray(false);
    return folders.empty() ? folderOf(path) : folders.front();
}

void FavoriteWindowController::_commitChanges() {
    std::vector<std::string> folders = AppPreference::sharedInstance().favoriteFolderPathArray(true);
    // One writer at a time per favorite folder: another process's renames
    // or saves wait for these, and what a killed run left is put right first.
    std::vector<std::unique_ptr<kz::FolderLock>> locks;
    for (const std::string& folder : folders) {
        locks.push_back(std::make_unique<kz::FolderLock>(folder));
        if (!locks.back()->locked()) kz::Log::line("### ## can't lock \"" + folder + "\" " + locks.back()->error());
        FavoriteRenames::recover(folder);
    }
    if (_removedItemArray)
        for (const auto& item : *_removedItemArray) {
            // An imported row that is deleted again was never copied in:
            // its file is the user's own, elsewhere, and stays; a shared
            // favorite is never the user's to delete.
            if (!item->path() || !isInFavoriteFolder(*item->path()) || item->isShared()) continue;
            std::string error;
            if (kz::Workspace::shared().moveToTrash(*item->path(), &error).empty())
                logMove(*item->path(), "Trash", error);
        }
    std::map<std::string, std::vector<FavoriteRenames::Move>> movesByFolder;
    for (std::size_t i = static_cast<std::size_t>(kFavoriteListOffset); i < _favoriteItemArray.size(); ++i) {
        FavoriteItem& item = *_favoriteItemArray[i];
        if (!item.path() || !item.name() || item.isShared()) continue;
        const std::string& path = *item.path();
        const std::string& name = *item.name();
        bool renamed = name != FavoriteFile::nameWithPath(path);
        FavoriteFile file(path);
        bool recommented = file.comment() && item.comment() && *file.comment() != *item.comment();
        if (isInFavoriteFolder(path)) {
            if (recommented) {
                file.setComment(*item.comment());
                if (!file.writeToFile(path)) kz::Log::line("### ## can't write \"" + path + "\"");
            }
            if (renamed) movesByFolder[folderOf(path)].push_back({path, FavoriteFile::pathWithName(name, folderOf(path))});
            continue;
        }
        if (folders.empty()) {
            logCopy(path, name, "no favorite folder");
            continue;
        }
        // Imports arrive whole or not at all, and never over a favorite
        // that is there already.
        std::error_code ec;
        if (renamed || recommented) {
            std::string target = FavoriteFile::pathWithName(name, folders.front());
            if (item.comment()) file.setComment(*item.comment());
            if (fs::exists(target, ec)) logCopy(path, target, "a file of that name exists");
            else if (!file.options() || !file.writeToFile(target, false)) logCopy(path, target, "the favorite was not written");
        } else {
            std::string target = folders.front() + "/" + FavoriteFile::stringByAppendingExtension(FavoriteFile::nameWithPath(path));
            std::string error;
            if (!FavoriteFile::copyFile(path, target, &error)) logCopy(path, target, error);
        }
    }
    for (const auto& [folder, moves] : movesByFolder) {
        std::vector<std::string> errors = FavoriteRenames::apply(folder, moves);
        for (std::size_t i = 0; i < moves.size(); ++i) {
            if (errors[i].empty()) _movedPaths[moves[i].from] = moves[i].to;
            else logMove(moves[i].from, moves[i].to, errors[i]);
        }
    }
}

void FavoriteWindowController::_sheetDidEnd(long returnCode) {
    if (kz::Window* w = window()) w->orderOut();
    if (returnCode == kz::ModalResponseOK) _commitChanges();
    _favoriteItemArray.clear();
    _removedItemArray.reset();
    _currentPrintOption = kz::Dictionary();
    if (_favoriteListView) _favoriteListView->reloadData();
}

// ---------------------------------------------------------------------- run

int FavoriteWindowController::showAsModalDialog(const std::optional<std::string>& profilePath,
                                                const kz::Dictionary* printOption) {
    kz::Window* w = nullptr;
    try {
        w = window();
    } catch (const std::exception& e) {
        kz::Log::line(std::string("### ## exception caught in showAsModalDialog: ") + e.what());
        return 0;
    }
    if (!w) return 0;
    buildItems();
    _movedPaths.clear();
    // A message left over from a run that was broken off goes with it.
    while (kz::Window* sheet = w->attachedSheet())
        if (!w->endSheet(*sheet, kz::ModalResponseAbort)) break;
    _profilePath = profilePath;
    _isEnterKeyPressed = false;
    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    if (printOption) {
        _currentPrintOption = mgr.defaultSettings();
        for (const auto& [key, value] : *printOption) _currentPrintOption.set(key, value);
    } else {
        mgr.updateEnabledStates("", false, false, false);
        _currentPrintOption = mgr.gatherPrintOptionValues(nullptr, "", false, false, false).value_or(kz::Dictionary());
    }
    if (_favoriteListView) {
        _favoriteListView->reloadData();
        _favoriteListView->selectRow(0);
        tableViewSelectionDidChange(*_favoriteListView);
    }
    w->center();
    long code = kz::Application::shared().runModalForWindow(*w);
    int result = code == kz::ModalResponseOK ? 1 : 0;
    _sheetDidEnd(result);
    return result;
}

std::optional<std::string> FavoriteWindowController::movedPath(const std::string& path) const {
    auto it = _movedPaths.find(path);
    if (it == _movedPaths.end()) return std::nullopt;
    return it->second;
}

bool ShowFavoriteModalDialog(const std::string* profilePath, const kz::Dictionary* printOption) {
    std::optional<std::string> path = profilePath ? std::optional<std::string>(*profilePath) : std::nullopt;
    return FavoriteWindowController::sharedInstance().showAsModalDialog(path, printOption) == 1;
}

}  // namespace ComTORVALEKZ2R4_Plugin
