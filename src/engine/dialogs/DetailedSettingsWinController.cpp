#include "engine/dialogs/DetailedSettingsWinController.h"

#include <algorithm>
#include <stdexcept>

#include "Common/Util/AlertUtil.h"
#include "Common/Util/BundleUtil.h"
#include "Common/TextInput/MailAddressTextField.h"
#include "Common/TextInput/NoEmptyTextField.h"
#include "engine/dialogs/AboutPanelController.h"
#include "engine/panes/PanePlugInMgr.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Alert.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/ScrollView.h"
#include "platform/kit/TabView.h"
#include "platform/kit/Window.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// The plug-in's own texts ("UI" table); a missing one shows its key.
std::string localized(const std::string& key) { return PanePlugInMgr::localizedAlertText(key); }

bool isFakeTabButton(const kz::View& view) {
    const auto* button = dynamic_cast<const kz::Button*>(&view);
    return button && button->action().selector == DetailedSettingsWinController::kFakeTabAction;
}

}  // namespace

DetailedSettingsWinController::DetailedSettingsWinController() : TDWindowController("DetailedSettings") {}

DetailedSettingsWinController::~DetailedSettingsWinController() {
    if (_outlineview) {
        if (_outlineview->outlineDataSource() == &_tabTree) _outlineview->setDataSource(nullptr);
        if (_outlineview->outlineDelegate() == &_tabTree) _outlineview->setDelegate(nullptr);
    }
}

std::span<const kz::ViewOwner::Outlet> DetailedSettingsWinController::outlets() const {
    static const Outlet table[] = {
        outlet("_cancelButton", &DetailedSettingsWinController::_cancelButton),
        outlet("_okButton", &DetailedSettingsWinController::_okButton),
        outlet("_revertToDefaultButton", &DetailedSettingsWinController::_revertToDefaultButton),
        outlet("_versionInfoButton", &DetailedSettingsWinController::_versionInfoButton),
        outlet("_tabView", &DetailedSettingsWinController::_tabView),
        outlet("_outlineview", &DetailedSettingsWinController::_outlineview),
        outlet("_viewStyle", &DetailedSettingsWinController::_viewStyle),
    };
    return table;
}

std::span<const kz::ViewOwner::Action> DetailedSettingsWinController::actions() const {
    static const Action table[] = {
        action("okButton:", &DetailedSettingsWinController::okButton),
        action("cancelButton:", &DetailedSettingsWinController::cancelButton),
        action("clickedRevertToDefault:", &DetailedSettingsWinController::clickedRevertToDefault),
        action("clickedVersionInfo:", &DetailedSettingsWinController::clickedVersionInfo),
        action("setupViewStylePopupButton:", &DetailedSettingsWinController::setupViewStylePopupButton),
    };
    return table;
}

kz::View* DetailedSettingsWinController::paneTreeContainer() const {
    if (!_outlineview) return nullptr;
    kz::View* clip = _outlineview->superview();
    kz::View* scroll = clip ? clip->superview() : nullptr;
    return dynamic_cast<kz::ScrollView*>(scroll) ? scroll : _outlineview.get();
}

void DetailedSettingsWinController::windowDidLoad() {
    installWindowDelegate(this);
    try {
        setUpWindow();
    } catch (const std::exception& e) {
        kz::Alert alert;
        alert.setMessageText(exceptionName(e));
        std::string message = localized("Exception: %@");
        if (auto at = message.find("%@"); at != std::string::npos) message.replace(at, 2, localized(e.what()));
        alert.setInformativeText(message);
        alert.runModal();
        throw;
    }
}

void DetailedSettingsWinController::setUpWindow() {
    kz::Window* w = window();
    w->setTitle(localized("Detailed Settings"));
    w->setFrameAutosaveName(kFrameName);
    if (_cancelButton) {
        _cancelButton->setTitle(localized("Cancel"));
        _cancelButton->setKeyEquivalent("\x1b");
    }
    if (_okButton) {
        _okButton->setTitle(localized("Setting"));
        _okButton->setKeyEquivalent("\r");
    }
    if (_revertToDefaultButton) _revertToDefaultButton->setTitle(localized("Revert to Default Settings"));
    if (_versionInfoButton) _versionInfoButton->setTitle(localized("version info..."));
    if (_viewStyle)
        for (int i = 0; i < _viewStyle->numberOfItems(); ++i)
            if (kz::MenuItem* item = _viewStyle->itemAtIndex(i)) item->setTitle(localized(item->title()));

    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    // Loading again would make the role panes anew and leave their first
    // controls registered beside the new ones: only when none is loaded.
    if (mgr.plugInTable().empty()) mgr.loadPlugIns();
    addPaneTabs();
    // With every pane's view (and so its controls) loaded, the defaults are
    // the panes' values before anyone changed them; Revert goes back to them.
    mgr.defaultSettings();
    if (_outlineview) {
        _outlineview->setDataSource(&_tabTree);
        _outlineview->setDelegate(&_tabTree);
    }
    if (_viewStyle) _viewStyle->selectItemAtIndex(mgr.getTabTreeView() ? 1 : 0);
    setupViewStylePopupButton(_viewStyle.get());
}

void DetailedSettingsWinController::addPaneTabs() {
    if (!_tabView) return;
    while (_tabView->numberOfTabViewItems() > 0) _tabView->removeTabViewItem(*_tabView->tabViewItemAtIndex(0));
    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    const auto& tree = mgr.panesTreeDictionary();
    const kz::Value* items = tree ? tree->find("items") : nullptr;
    if (!items || !items->isArray()) return;
    for (const kz::Value& item : items->array()) {
        if (!item.isDictionary()) continue;
        const kz::Value& bundleName = item.dictionary().get("bundleName");
        if (!bundleName.isString()) continue;
        const std::string& key = bundleName.string();
        auto tab = std::make_shared<kz::TabViewItem>(kz::Value(key));
        bool loaded = mgr.entryOfBundleName(key) != nullptr;
        // A pane that did not load still has its place, under the name the
        // plug-in's texts give it, so that the others keep theirs.
        std::optional<std::string> name = loaded ? mgr.panelNameOfBundleName(key) : std::nullopt;
        tab->setLabel(name.value_or(localized(key)));
        std::shared_ptr<kz::View> view = loaded ? mgr.panelViewOfBundleName(key) : nullptr;
        tab->setView(view ? view : std::make_shared<kz::View>());
        _tabView->addTabViewItem(tab);
    }
}

void DetailedSettingsWinController::refreshPaneTabs() {
    if (!_tabView) return;
    kz::TabViewItem* front = _tabView->selectedTabViewItem();
    kz::Value selected = front ? front->identifier() : kz::Value();
    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    if (mgr.plugInTable().empty()) mgr.loadPlugIns();
    bool same = true;
    for (const auto& tab : _tabView->tabViewItems()) {
        const kz::Value& key = tab->identifier();
        if (!key.isString() || !mgr.entryOfBundleName(key.string()) ||
            mgr.panelViewOfBundleName(key.string()).get() != tab->view())
            same = false;
    }
    if (same && _tabView->numberOfTabViewItems() > 0) return;
    addPaneTabs();
    if (!selected.isNull()) _tabView->selectTabViewItemWithIdentifier(selected);
    setupViewStylePopupButton(_viewStyle.get());
}

// Moves each pane's controls (all but the stand-in tab buttons) so that the
// leftmost begins at x; the controls keep their places among themselves.
void DetailedSettingsWinController::placePaneContents(double x) {
    if (!_tabView) return;
    // A pane shorter than the tallest starts at the top of the tab as the
    // tallest does; at its own origin it sat at the bottom under a gap.
    double top = 0;
    for (const auto& tab : _tabView->tabViewItems())
        if (kz::View* pane = tab->view()) top = std::max(top, pane->frame().size.height);
    for (const auto& tab : _tabView->tabViewItems())
        if (kz::View* pane = tab->view())
            pane->setFrameOrigin({pane->frame().origin.x, top - pane->frame().size.height});
    for (const auto& tab : _tabView->tabViewItems()) {
        kz::View* pane = tab->view();
        if (!pane) continue;
        bool any = false;
        double left = 0;
        for (const auto& sub : pane->subviews())
            if (!isFakeTabButton(*sub)) {
                left = any ? std::min(left, sub->frame().origin.x) : sub->frame().origin.x;
                any = true;
            }
        if (!any || left == x) continue;
        double right = pane->frame().size.width;
        for (const auto& sub : pane->subviews())
            if (!isFakeTabButton(*sub)) {
                sub->setFrameOrigin({sub->frame().origin.x + (x - left), sub->frame().origin.y});
                right = std::max(right, sub->frame().origin.x + sub->frame().size.width);
            }
        // The pane grows with its moved controls: a view shows nothing
        // outside its own frame.
        if (right > pane->frame().size.width) pane->setFrameSize({right, pane->frame().size.height});
    }
}

void DetailedSettingsWinController::setupViewStylePopupButton(kz::Control*) {
    kz::Window* w = window();
    if (!w) return;
    kz::MenuItem* selected = _viewStyle ? _viewStyle->selectedItem() : nullptr;
    bool tree = selected && selected->tag() == 2;
    if (selected && selected->tag() != 1 && !tree) return;
    if (kz::View* container = paneTreeContainer()) container->setHidden(!tree);
    for (const auto& sub : w->contentView().subviews()) {
        auto* tabs = dynamic_cast<kz::TabView*>(sub.get());
        if (!tabs) continue;
        // The tree takes its room from the tab view's left; with tabs the
        // tab bar has that room too, so every pane's tab is in sight.
        const kz::Rect at = tabs->frame();
        if (tree && at.origin.x < kPaneTreeWidth)
            tabs->setFrame({at.origin.x + kPaneTreeWidth, at.origin.y, std::max(0.0, at.size.width - kPaneTreeWidth),
                            at.size.height});
        if (!tree && at.origin.x > kPaneTreeWidth)
            tabs->setFrame({at.origin.x - kPaneTreeWidth, at.origin.y, at.size.width + kPaneTreeWidth, at.size.height});
        tabs->setTabViewType(tree ? kz::TabViewType::NoTabsNoBorder : kz::TabViewType::TopTabsBezelBorder);
    }
    // The tabs not in front hold fake tab buttons too.
    w->contentView().forEachDescendant(
        [&](kz::View& v) {
            if (isFakeTabButton(v)) v.setHidden(tree);
        },
        kz::View::WalkScope::AllTabs);
    placePaneContents(tree ? kTreeContentX : kTabsContentX);
    if (_outlineview) {
        _outlineview->reloadData();
        // The tree shows which pane is in front.
        if (tree && _tabView)
            if (kz::TabViewItem* front = _tabView->selectedTabViewItem()) {
                const int row = DataSource::rowOfTab(*_outlineview, *front);
                if (row >= 0) _outlineview->selectRow(row);
            }
    }
}

int DetailedSettingsWinController::showAsModalDialog(kz::Dictionary& printOption) {
    _prevSelectedProfileName.reset();
    kz::Window* w = nullptr;
    try {
        w = window();
    } catch (const std::exception& e) {
        kz::Log::line("### ## exception caught in showAsModalDialog " + exceptionName(e) + ": " + e.what());
        return 0;
    }
    if (!w) return 0;
    // The panes may have been rebuilt since the window was loaded (another
    // printer, another manager): the tabs show the ones there are now.
    refreshPaneTabs();
    kz::Application& app = kz::Application::shared();
    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    // What the panes showed when the window opened, for a Cancel to put back
    // (the caller restores only the options its print option holds).
    std::optional<kz::Dictionary> before = mgr.gatherPrintOptionValues(&printOption, "", false, false, false);
    long code = kz::ModalResponseCancel;
    for (;;) {
        code = app.runModalForWindow(*w);
        if (code != kz::ModalResponseOK) break;
        // A field that will not give up the focus keeps the window open.
        if (!w->makeFirstResponder(nullptr)) continue;
        std::optional<kz::Dictionary> gathered = mgr.gatherPrintOptionValues(&printOption, "", false, false, false);
        if (gathered) printOption = std::move(*gathered);
        if (mgr.isPrintOptionConsistencyCheck(printOption)) break;
    }
    w->close();
    if (code != kz::ModalResponseOK && before) mgr.restorePrintOptionValues(&*before);
    _lastModalResult = code == kz::ModalResponseOK ? 1 : 0;
    _lastPrintOption = printOption;
    return _lastModalResult;
}

void DetailedSettingsWinController::reformatPrintOption(kz::Dictionary& printOption) {
    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    // Nothing to complete from before the panes are loaded (the manager
    // refuses to update panes it does not have).
    if (mgr.plugInTable().empty()) return;
    mgr.updateEnabledStates("", true, false, false);
    // The unified file type, as for the enabled states: asking with the
    // server's settings would give nothing to complete the option with.
    std::optional<kz::Dictionary> all = mgr.gatherPrintOptionValues(&printOption, "", false, false, true);
    if (!all || all->empty()) return;
    for (const auto& [key, value] : printOption) all->set(key, value);
    printOption = std::move(*all);
}

void DetailedSettingsWinController::okButton(kz::Control*) { kz::Application::shared().stopModalWithCode(kz::ModalResponseOK); }

void DetailedSettingsWinController::cancelButton(kz::Control*) {
    kz::Application::shared().stopModalWithCode(kz::ModalResponseCancel);
}

void DetailedSettingsWinController::clickedRevertToDefault(kz::Control*) {
    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    kz::Dictionary defaults = mgr.defaultSettings();
    mgr.restorePrintOptionValues(&defaults);
}

void DetailedSettingsWinController::clickedVersionInfo(kz::Control*) { AboutPanelController::runModal(); }

kz::FieldEditor* DetailedSettingsWinController::windowWillReturnFieldEditor(kz::Window&, const void* client) {
    // The required fields check their text in editors of their own.
    auto* field = static_cast<kz::TextField*>(const_cast<void*>(client));
    if (!field) return nullptr;
    if (auto* noEmpty = dynamic_cast<NoEmptyTextField*>(field)) return noEmpty->fieldEditor();
    if (auto* mail = dynamic_cast<MailAddressTextField*>(field)) return mail->fieldEditor();
    return nullptr;
}

void DetailedSettingsWinController::windowWillClose(kz::Window& w) {
    // Closing the window is a cancel.
    kz::Application& app = kz::Application::shared();
    if (app.modalWindow() == &w) app.stopModalWithCode(kz::ModalResponseCancel);
}

}  // namespace ComTORVALEKZ2R4_Plugin
