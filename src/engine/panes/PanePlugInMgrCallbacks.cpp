// The manager as the panes' callback object: registering their option
// controls and profile menus, menus and control helpers, delayed actions,
// and the registry operations it forwards.
#include <algorithm>
#include <cctype>
#include <exception>

#include "Common/Util/ControlUtil.h"
#include "engine/panes/PanePlugInMgr.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/kit/Control.h"
#include "platform/kit/Image.h"
#include "platform/kit/Menu.h"
#include "platform/kit/MenuItem.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/TabView.h"
#include "platform/kit/TabViewItem.h"
#include "platform/kit/View.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

void announce(const QuillUI& control) {
    auto& center = kz::NotificationCenter::defaultCenter();
    center.post(control.mainKeyword());
    for (const auto& child : control.childControls())
        if (child) center.post(child->mainKeyword());
}

std::size_t firstDigit(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::isdigit(static_cast<unsigned char>(text[i]))) return i;
    return std::string_view::npos;
}

// The option controls a pane shows: its own subviews and those of every tab's
// view (nested tab views too), not the children of an option control (they
// register through their parent) nor what other views hold.
void collectControls(const kz::View& view, PanePlugInMgr::Controls& out) {
    std::vector<const kz::View*> pages;  // the tabs' views: their subviews count
    view.forEachDescendant(
        [&](kz::View& subview) {
            if (auto* tabs = dynamic_cast<const kz::TabView*>(&subview)) {
                for (const auto& item : tabs->tabViewItems())
                    if (item && item->view()) pages.push_back(item->view());
                return kz::View::Walk::Continue;
            }
            if (std::find(pages.begin(), pages.end(), &subview) != pages.end()) return kz::View::Walk::Continue;
            if (subview.className().find("QuillUI") != std::string::npos)
                if (auto control = std::dynamic_pointer_cast<QuillUI>(subview.shared_from_this()))
                    out.push_back(std::move(control));
            return kz::View::Walk::SkipChildren;
        },
        kz::View::WalkScope::AllTabs);
}

}  // namespace

void PanePlugInMgr::setQuillUiToQuillMgr(const std::shared_ptr<QuillUI>& control) {
    if (!control) return;
    _quillMgr->addControl(control);
    announce(*control);
}

// A pane's controls register when its view first loads, which may be after
// the defaults were read; their values then are their defaults too, so that
// reverting to the defaults reaches every pane's options. (The panel's own
// controls, registered one by one, keep to what it read at its creation.)
void PanePlugInMgr::rememberDefaults(const Controls& controls) {
    if (!_defaultDictionary || !_quillMgr) return;
    std::optional<kz::Dictionary> all;
    auto remember = [&](const QuillUI& control) {
        const std::string& key = control.mainKeyword();
        if (key.empty() || _defaultDictionary->contains(key)) return;
        if (!all) all = _quillMgr->getAllValueDictionary();
        if (const kz::Value* value = all->find(key)) _defaultDictionary->set(key, *value);
    };
    for (const auto& control : controls) {
        if (!control) continue;
        remember(*control);
        for (const auto& child : control->childControls())
            if (child) remember(*child);
    }
}

void PanePlugInMgr::removeQuillUiFromQuillMgr(const std::shared_ptr<QuillUI>& control) {
    if (_quillMgr) _quillMgr->removeControl(control);
}

void PanePlugInMgr::buildPaneUi(PanePlugInInterface& controller, const std::shared_ptr<kz::Bundle>& bundle) {
    try {
        if (auto* profiles = dynamic_cast<PaneProfileUi*>(&controller)) {
            if (auto infos = profiles->profileUiInformations())
                for (const auto& [keyword, info] : *infos)
                    _addProfileItem(keyword, info.profileUiControl.get(), info.profileNo_Max, info.fmtOptionKeywod,
                                    bundle);
        }
        Controls controls = controller.getListQuillUI();
        for (const auto& control : controls) _quillMgr->addControl(control);
        for (const auto& control : controls)
            if (control) announce(*control);
        rememberDefaults(controls);
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in buildPaneUi: %s", e.what());
    } catch (...) {
        kz::Log::line("### ## exception caught in buildPaneUi");
    }
}

void PanePlugInMgr::_addProfileItem(const std::string& mainKeyword, kz::PopUpButton* control, int lastNo,
                                    const std::string& option, const std::shared_ptr<kz::Bundle>& bundle) {
    if (!control) return;
    std::string keywordPrefix, titlePrefix;
    int last = 0;
    if (control->numberOfItems() == 0) {
        std::string_view format(option);
        keywordPrefix = format.ends_with("%d") ? std::string(format.substr(0, format.size() - 2)) : std::string();
        titlePrefix = bundle ? bundle->localizedString(keywordPrefix, "", "UI") : std::string();
    } else if (kz::MenuItem* item = control->lastItem(); item && !item->representedObject().isNull()) {
        const kz::Value& keyword = item->representedObject().dictionary().get("optionKeyword");
        std::string text = keyword.isString() ? keyword.string() : std::string();
        std::size_t digit = firstDigit(text);
        if (digit != std::string::npos) {
            keywordPrefix = text.substr(0, digit);
            std::string number = text.substr(digit);
            last = kz::Value(number).intValue();
            const std::string& title = item->title();
            titlePrefix = std::string_view(title).ends_with(number) ? title.substr(0, title.size() - number.size())
                                                                    : std::string();
        }
    }
    for (int n = last + 1; n <= lastNo; ++n)
        addMenuItem(&control->menu(), mainKeyword, titlePrefix + std::to_string(n), keywordPrefix + std::to_string(n));
}

bool PanePlugInMgr::setupQuillUIControls(const Controls* controls, const kz::Dictionary* controlDictionary,
                                         ControlMap* outputDictionary, const std::shared_ptr<kz::Bundle>& bundle) {
    if (!controls || !controlDictionary || !outputDictionary) return false;
    for (const auto& control : *controls) {
        if (!control) continue;
        std::string key = control->toolTip();
        if (key.empty() || key == "(null)") continue;
        const kz::Value& description = controlDictionary->get(key);
        control->setControlDictionary(description.isDictionary() ? description.dictionary() : kz::Dictionary(),
                                      bundle);
        control->updateControl();
        control->setToolTip("");
        outputDictionary->emplace_back(key, control);
    }
    return true;
}

PanePlugInMgr::Controls PanePlugInMgr::getQuillUIControls(const kz::View* view) const {
    Controls controls;
    if (view) collectControls(*view, controls);
    return controls;
}

std::shared_ptr<QuillUI> PanePlugInMgr::getQuillUIOneControl(const Controls& controls, std::string_view key) const {
    for (const auto& control : controls)
        if (control && control->mainKeyword() == key) return control;
    return nullptr;
}

// ---- menus and plain controls

void PanePlugInMgr::addMenuItem(kz::Menu* menu, const std::optional<std::string>& mainKeyword,
                                const std::optional<std::string>& optionAlias,
                                const std::optional<std::string>& optionKeyword) {
    PlainControls::addMenuItem(menu, mainKeyword, optionAlias, optionKeyword);
}

void PanePlugInMgr::setMenuItem(kz::MenuItem* item, const std::optional<std::string>& mainKeyword,
                                const std::optional<std::string>& optionAlias,
                                const std::optional<std::string>& optionKeyword) {
    PlainControls::setMenuItem(item, mainKeyword, optionAlias, optionKeyword);
}

kz::Value PanePlugInMgr::representedObjectOfMenuItem(const kz::MenuItem* item, std::string_view key) const {
    return PlainControls::representedObjectOfMenuItem(item, key);
}

kz::Value PanePlugInMgr::representedObject(const kz::Control* control, std::string_view key) const {
    return representedObjectForKey(control, key);
}

std::shared_ptr<kz::Image> PanePlugInMgr::imageWithName(const std::string& name, const kz::Bundle* bundle) const {
    if (!bundle) return nullptr;
    return kz::Image::named(*bundle, name);
}

void PanePlugInMgr::setHidden(bool hidden, const std::vector<kz::View*>& conrtols) {
    for (kz::View* view : conrtols)
        if (view) view->setHidden(hidden);
}

void PanePlugInMgr::setEnabled(bool enabled, const std::vector<kz::Control*>& dependentConrtols) {
    setEnabledConrtols(enabled, dependentConrtols);
}

void PanePlugInMgr::delayedAction(kz::Control* control) {
    if (!control) return;
    const kz::Action& action = control->action();
    if (action.selector.empty() || !action.handler) return;
    std::weak_ptr<kz::View> held = control->weak_from_this();
    if (held.expired()) return;  // only a control some view holds can wait for the run loop
    kz::RunLoop::current().perform(
        [held] {
            auto view = held.lock();
            auto* target = dynamic_cast<kz::Control*>(view.get());
            if (!target) return;
            kz::Action pending = target->action();
            if (pending.handler) pending.handler(*target);
        },
        0, {kz::RunLoop::kModalPanelMode}, 1);
}

// ---- forwarded to the registry

bool PanePlugInMgr::validateBeforeChange(const std::string& key, const std::string& valueIf,
                                         const std::optional<std::string>& name) {
    return _quillMgr->validateBeforeChange(key, valueIf, name);
}

std::optional<std::vector<std::string>> PanePlugInMgr::setStringValueWithRestoreConfliction(const std::string& value,
                                                                                            const std::string& key) {
    return _quillMgr->setStringValueWithRestoreConfliction(key, value);
}

void PanePlugInMgr::setStringValue(const OptionalText& value, const std::string& key) {
    _quillMgr->setStringValue(key, value);
}

void PanePlugInMgr::updateOldValue(const std::string& key) { _quillMgr->updateOldValue(key); }

OptionalText PanePlugInMgr::getStringValueFromKey(const std::string& key) const {
    return _quillMgr->getStringValue(key);
}

}  // namespace ComTORVALEKZ2R4_Plugin
