// The panel's tray windows (automatic and bypass) and the device lists that
// shape its input-tray, output-tray and finishing controls.
#include "PDE/PanelTrayWindows.h"

#include "PDE/KemoPDEByCocoa.h"
#include "engine/trays/IOTOptionUpdater.h"
#include "engine/controls/QuillUI.h"
#include "engine/panes/PanePlugInMgr.h"
#include "platform/kit/Button.h"
#include "platform/kit/Control.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

using Window = PdeAutomaticPaperTraySelection;

constexpr const char* kPaperTypeTabbed = "PaperType_MediaTypeTabbed";
constexpr const char* kOptionalMediaProperties[] = {"MediaTypeCoatingMaterial", "MediaTypeDrilled",
                                                    "MediaTypeGlossFine", "MediaTypePreprinted"};

std::optional<std::string> textOf(const kz::Dictionary& option, std::string_view key) {
    const kz::Value* v = option.find(key);
    if (!v || v->isNull()) return std::nullopt;
    return KemoPDEByCocoa::_stringFromBooleanIfNeed(*v).stringValue();
}

bool hasText(const kz::Dictionary& option, std::string_view key) {
    auto text = textOf(option, key);
    return text && !text->empty();
}

void setIfAny(kz::Dictionary& option, const std::string& key, const std::optional<std::string>& value) {
    if (value) option.set(key, *value);
}

}  // namespace

// ------------------------------------------------------------ the windows

void PanelTrayWindows::createPaperTraySelection(bool bypass) {
    std::unique_ptr<Window>& slot = bypass ? _BypassPaperTraySelection : _AutomaticPaperTraySelection;
    if (slot) return;
    PanePlugInMgr& manager = KemoPDEByCocoa::_panePlugInMgr();
    auto window = std::make_unique<Window>(_panel._plugInBundle);
    window->initializePanel(_panel._plugInBundle, bypass, manager);
    // The windows' values live in the registry like every other option's.
    for (const auto& [key, control] : window->getListQuillUI()) manager.setQuillUiToQuillMgr(control);
    slot = std::move(window);
}

std::vector<std::shared_ptr<QuillUI>> PanelTrayWindows::paperTrayControls() const {
    std::vector<std::shared_ptr<QuillUI>> controls;
    for (const auto* window : {_AutomaticPaperTraySelection.get(), _BypassPaperTraySelection.get()})
        if (window)
            for (const auto& [key, control] : window->getListQuillUI()) controls.push_back(control);
    return controls;
}

void PanelTrayWindows::addPaperTrayDefaults(kz::Dictionary& defaults) {
    const kz::Dictionary& descriptions = _panel.controlDescriptions();
    std::vector<std::string> keys = {kPaperTypeTabbed,       "PaperTypeD",   "PaperTypeCustomName",
                                     "MediaTypeSequence",    "PaperColor",   "PaperColorCustomName",
                                     "MediaTypeWeightValue", "MediaTypeWeight"};
    keys.insert(keys.end(), std::begin(kOptionalMediaProperties), std::end(kOptionalMediaProperties));
    if (descriptions.contains("AutoTraySettingToBypass"))
        keys.insert(keys.end(), {Window::kBypassPaperTypeKey, "MediaTypeSequenceBypass", "PaperColorBypass",
                                 "MediaTypeWeightBypass"});
    for (const std::string& key : keys) {
        const kz::Value* description = descriptions.find(key);
        if (defaults.contains(key) || !description || !description->isDictionary()) continue;
        const kz::Value* initial = description->dictionary().find("defchoice");
        if (!initial || !initial->isString()) initial = description->dictionary().find("default");
        // A text without a default starts empty, as the panes' texts do.
        defaults.set(key, initial && initial->isString() ? initial->string() : std::string());
    }
}

void PanelTrayWindows::setPaperTypeCustomList(const kz::Value& list) {
    if (_AutomaticPaperTraySelection) _AutomaticPaperTraySelection->setPaperTypeCustomList(list);
    if (_BypassPaperTraySelection) _BypassPaperTraySelection->setPaperTypeCustomList(list);
}

void PanelTrayWindows::clickedSelectPaperTraySelectionButton(kz::Control* sender) {
    Window* window = sender && sender->tag() != 0 ? _BypassPaperTraySelection.get() : _AutomaticPaperTraySelection.get();
    if (!window) return;
    std::weak_ptr<KemoPDEByCocoa> weak = _panel.weak_from_this();
    window->modalWindow([weak] {
        if (auto panel = weak.lock()) panel->automaticPapaerTraySelectionDidEnd();
    });
}

void PanelTrayWindows::automaticPapaerTraySelectionDidEnd() {
    _panel._gatherValuesFromPane(_panel._printOption);
    _panel._favoritesMenu->checkDifferenceFromCurrentFavorite(false);
}

// ----------------------------------------------- values of the tray windows

bool PanelTrayWindows::autoTraySettingToBypassExist(const kz::Dictionary& printOption) {
    return printOption.contains("AutoTraySettingToBypass");
}

void PanelTrayWindows::restorePaperTraySelection(const kz::Dictionary& printOption, bool bypass) {
    if (bypass)
        restoreValuesToBypassPane(printOption);
    else
        restoreValuesToAutomaticPane(printOption);
}

void PanelTrayWindows::gatherPaperTraySelection(kz::Dictionary& printOption, bool bypass) {
    if (bypass)
        gatherValuesFromBypassPane(printOption);
    else
        gatherValuesFromAutomaticPane(printOption);
}

void PanelTrayWindows::restoreValuesToAutomaticPane(const kz::Dictionary& p) {
    if (!_AutomaticPaperTraySelection) return;
    auto restore = [&](const char* key) { _panel.setRegistryValue(key, textOf(p, key)); };
    restore(p.contains(kPaperTypeTabbed) ? kPaperTypeTabbed : "PaperTypeD");
    restore(hasText(p, "PaperTypeCustomNumber") ? "PaperTypeCustomNumber" : "PaperTypeCustomName");
    restore("MediaTypeSequence");
    restore("PaperColor");
    if (p.contains("PaperColorCustomName")) restore("PaperColorCustomName");
    restore(hasText(p, "MediaTypeWeightValue") ? "MediaTypeWeightValue" : "MediaTypeWeight");
    for (const char* key : kOptionalMediaProperties)
        if (hasText(p, key)) restore(key);
    // The closed window shows what it will show when opened.
    _AutomaticPaperTraySelection->updatePaperColorCustomNameEnabling();
}

void PanelTrayWindows::restoreValuesToBypassPane(const kz::Dictionary& p) {
    if (!_BypassPaperTraySelection) return;
    for (const char* key : {Window::kBypassPaperTypeKey, "MediaTypeSequenceBypass", "PaperColorBypass",
                            "MediaTypeWeightBypass"})
        _panel.setRegistryValue(key, textOf(p, key));
}

void PanelTrayWindows::gatherValuesFromAutomaticPane(kz::Dictionary& p) {
    const Window* window = _AutomaticPaperTraySelection.get();
    if (!window) return;
    if (auto tabbed = _panel.registryValue(kPaperTypeTabbed))
        p.set(kPaperTypeTabbed, *tabbed);
    else
        setIfAny(p, "PaperTypeD", _panel.registryValue("PaperTypeD"));
    const kz::Dictionary texts = window->getTextFieldStringDictionary();
    // A text the user emptied is taken too: the option would otherwise keep
    // the text it had before.
    for (const char* key : {"PaperTypeCustomName", "MediaTypeSequence", "PaperColorCustomName"})
        if (const kz::Value* text = texts.find(key)) p.set(key, *text);
    setIfAny(p, "PaperColor", _panel.registryValue("PaperColor"));
    // The weight and the media properties chosen here are the window's
    // values as much as the colour is; left out, a change would be lost.
    if (const kz::Value* weight = texts.find("MediaTypeWeightValue"))
        p.set("MediaTypeWeightValue", *weight);
    else if (window->control("MediaTypeWeight"))
        setIfAny(p, "MediaTypeWeight", _panel.registryValue("MediaTypeWeight"));
    for (const char* key : kOptionalMediaProperties)
        if (window->control(key)) setIfAny(p, key, _panel.registryValue(key));
}

void PanelTrayWindows::gatherValuesFromBypassPane(kz::Dictionary& p) {
    const Window* window = _BypassPaperTraySelection.get();
    if (!window) return;
    setIfAny(p, Window::kBypassPaperTypeKey, _panel.registryValue(Window::kBypassPaperTypeKey));
    const kz::Dictionary texts = window->getTextFieldStringDictionary();
    if (const kz::Value* sequence = texts.find("MediaTypeSequenceBypass")) p.set("MediaTypeSequenceBypass", *sequence);
    setIfAny(p, "PaperColorBypass", _panel.registryValue("PaperColorBypass"));
    setIfAny(p, "MediaTypeWeightBypass", _panel.registryValue("MediaTypeWeightBypass"));
}

// ------------------------------------------------------------ device lists

void PanelTrayWindows::updateInputSlotList() {
    updateInputSlotList(KemoPDEByCocoa::_panePlugInMgr().getFeederInfoList());
}

void PanelTrayWindows::updateInputSlotList(const kz::Value& feederList) {
    if (!feederList.isArray() || feederList.array().empty()) return;
    PopupButtonItems items;
    items.reserve(feederList.array().size());
    IOTOptionUpdater::getInputSlotArray(items, feederList, {"0"}, {"25"}, true, false);
    IOTOptionUpdater::updateInputSlotQuillUI(_panel._quill_VLInputSlot.get(), items);
}

void PanelTrayWindows::updateOutputTrayList() {
    kz::Value stackers = KemoPDEByCocoa::_panePlugInMgr().getStackerInfoList();
    if (!stackers.isArray() || stackers.array().empty()) return;
    PopupButtonItems items;
    IOTOptionUpdater::getOutputTrayArray(items, stackers);
    // New items, the value kept as for the input trays.
    IOTOptionUpdater::updateInputSlotQuillUI(_panel._quill_OutputTray.get(), items);
}

void PanelTrayWindows::checkDevice() {
    // Without a device list the printer's finishing is unknown, not absent:
    // the controls stay as described rather than all being hidden.
    kz::Value list = KemoPDEByCocoa::_panePlugInMgr().getDeviceList();
    if (!list.isArray() || list.array().empty()) return;
    std::optional<kz::Dictionary> devices = IOTOptionUpdater::convertArrayToDict(list);
    const kz::Dictionary* deviceDict = devices ? &*devices : nullptr;
    IOTOptionUpdater::Groups keyDevices, keyOptions;
    keyDevices.reserve(16);
    keyOptions.reserve(16);
    IOTOptionUpdater::getStapleOptionsWithKeyDevices(keyDevices, keyOptions);
    IOTOptionUpdater::updatePopupButtonComponent(_panel._quill_StapleMode.get(), deviceDict, &keyDevices, &keyOptions);
    IOTOptionUpdater::getPunchOptionsWithKeyDevices(keyDevices, keyOptions);
    IOTOptionUpdater::updatePopupButtonComponent(_panel._quill_Punch_PunchHoles.get(), deviceDict, &keyDevices,
                                                 &keyOptions);
    IOTOptionUpdater::getFoldOptionsWithKeyDevices(keyDevices, keyOptions);
    IOTOptionUpdater::updatePopupButtonComponent(_panel._quill_Fold.get(), deviceDict, &keyDevices, &keyOptions);
    if (!_panel._quill_OffsetMode) return;
    const bool offset = IOTOptionUpdater::isEnableWithDict(deviceDict, {"offset"});
    _panel._quill_OffsetMode->setHidden(!offset);
    if (offset) return;
    // Hidden, it keeps only its default, as the finishing controls do: a
    // saved offset must not reach a printer that has none.
    const OptionalText initial = _panel._quill_OffsetMode->getDefault();
    std::vector<std::string> others;
    if (const auto& items = _panel._quill_OffsetMode->popupButtonArray()) {
        for (const PopupButtonItem& item : *items)
            if (item.value != initial) others.push_back(item.value);
    } else if (const kz::Value* choices = _panel._quill_OffsetMode->controlDictionary().find("choices");
               choices && choices->isArray()) {
        for (const kz::Value& entry : choices->array()) {
            const kz::Value* choice = entry.isDictionary() ? entry.dictionary().find("choice") : nullptr;
            if (choice && choice->isString() && choice->string() != initial) others.push_back(choice->string());
        }
    }
    IOTOptionUpdater::updatePopupButtonComponent(_panel._quill_OffsetMode.get(), others);
}

}  // namespace ComTORVALEKZ2R4_Plugin
