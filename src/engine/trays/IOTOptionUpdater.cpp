#include "engine/trays/IOTOptionUpdater.h"

#include <algorithm>

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// The text a row starts with: the tray number of a feeder, the type of a
// stacker. None for anything that is not a row of texts.
std::optional<std::string> firstText(const kz::Value& row) {
    if (!row.isArray() || row.array().empty() || !row.array().front().isString()) return std::nullopt;
    return row.array().front().string();
}

const kz::Array& rowsOf(const kz::Value& list) {
    static const kz::Array none;
    return list.isArray() ? list.array() : none;
}

// A tray the menu already offers is not offered twice: a server that lists a
// tray twice, or lists the automatic or stock tray the menu adds anyway, would
// otherwise show two items that select the same thing.
void appendKnown(PopupButtonItems& out, const IOTOptionUpdater::ItemTable& table, const std::string& key) {
    auto it = table.find(key);
    if (it == table.end()) return;
    const std::string& keyword = it->second.value;
    if (std::none_of(out.begin(), out.end(), [&](const PopupButtonItem& item) { return item.value == keyword; }))
        out.push_back(it->second);
}

// Changes the control's items and puts its value back: the print option's,
// else the one it had, else its default.
template <class Change>
void keepingValue(QuillUI& control, Change change) {
    OptionalText old = control.getStringValue();
    change();
    if (control.updateWithPrintOption()) return;
    if (!old)
        control.setDefault();
    else
        control.setStringValue(old);
}

void setGroups(IOTOptionUpdater::Groups& keyDevices, IOTOptionUpdater::Groups& keyOptions,
               std::initializer_list<std::pair<std::vector<std::string>, std::vector<std::string>>> groups) {
    keyDevices.clear();
    keyOptions.clear();
    for (const auto& [devices, options] : groups) {
        keyDevices.push_back(devices);
        keyOptions.push_back(options);
    }
}

}  // namespace

// ------------------------------------------------------------- input trays

void IOTOptionUpdater::getInputSlotDict(ItemTable& table, bool isInputSlot, bool hasTrayInterposer) {
    // Tray numbers 6 and 10 have no tray; from 7 on the number and the tray
    // shown differ.
    table["0"] = {"自動選択", isInputSlot ? "AutoSelect" : "TrayAuto"};
    table["5"] = {"手差しトレイ", isInputSlot ? "Manual" : "TrayMSI"};
    table["1"] = {"トレイ1", "Tray1"};
    table["2"] = {"トレイ2", "Tray2"};
    table["3"] = {"トレイ3", "Tray3"};
    table["4"] = {"トレイ4", "Tray4"};
    table["7"] = {"トレイ6", "Tray6"};
    table["8"] = {"トレイ7", "Tray7"};
    table["11"] = {"トレイ8", "Tray8"};
    table["12"] = {"トレイ9", "Tray9"};
    if (hasTrayInterposer) table["9"] = {"インターポーザー", "TrayInterposer"};
    table["20"] = {"ジョブ設定を使用", "TrayJobSameTray"};
    table["25"] = {"メディア", "TrayStock"};
    table["27"] = {"システム設定に従う", "TraySystemSetting"};
}

void IOTOptionUpdater::getInputSlotArray(PopupButtonItems& out, const kz::Value& feederList,
                                         const std::vector<std::string>& preKey,
                                         const std::vector<std::string>& suffKey, bool isInputSlot,
                                         bool hasTrayInterposer) {
    ItemTable table;
    getInputSlotDict(table, isInputSlot, hasTrayInterposer);
    for (const std::string& key : preKey) appendKnown(out, table, key);
    // Tray 1 is always offered; where the server lists it, in its place.
    const kz::Array& feeders = rowsOf(feederList);
    bool listsTray1 = std::any_of(feeders.begin(), feeders.end(), [](const kz::Value& row) {
        return firstText(row) == "1";
    });
    if (!listsTray1) appendKnown(out, table, "1");
    for (const kz::Value& row : feeders)
        if (auto number = firstText(row)) appendKnown(out, table, *number);
    for (const std::string& key : suffKey) appendKnown(out, table, key);
}

void IOTOptionUpdater::getInputSlotArray(PopupButtonItems& out, const kz::Value& feederList,
                                         const std::vector<std::string>& preKey,
                                         const std::vector<std::string>& suffKey, bool hasTrayInterposer) {
    getInputSlotArray(out, feederList, preKey, suffKey, false, hasTrayInterposer);
}

void IOTOptionUpdater::updateInputSlotQuillUI(QuillUI* control, const PopupButtonItems& items) {
    if (!control) return;
    keepingValue(*control, [&] { control->setPopupButtonArray(items); });
}

// ------------------------------------------------------------ output trays

void IOTOptionUpdater::getOutputTrayDict(ItemTable& table) {
    table["2"] = {"自動選択", "Auto"};
    table["6"] = {"スタッカートレイ", "Stackertray"};
    table["8"] = {"スタッカートレイ2", "Stackertray2"};
    table["9"] = {"スタッカートレイ(自動切替え)", "Autochange"};
    table["12"] = {"外部フィニッシャー", "Documentfinishing"};
    table["13"] = {"スタッカー排出トレイ", "Stackertoptray"};
    table["14"] = {"フィニッシャートレイ", "D3finishertray"};
    table["15"] = {"フィニッシャー排出トレイ", "D3finishertoptray"};
    table["16"] = {"スタッカー排出トレイ2", "Stackertoptray2"};
}

void IOTOptionUpdater::getDstTypeMap(KeyMap& map) {
    map["9"] = "6";
    map["10"] = "8";
    map["16"] = "12";
    map["4"] = "13";
    map["6"] = "14";
    map["3"] = "15";
    map["5"] = "16";
}

void IOTOptionUpdater::getOutputTrayArray(PopupButtonItems& out, const kz::Value& stackerList) {
    ItemTable table;
    KeyMap types;
    getOutputTrayDict(table);
    getDstTypeMap(types);
    appendKnown(out, table, "2");
    // Changing stackers automatically needs both: offered after the second.
    bool firstStacker = false;
    for (const kz::Value& row : rowsOf(stackerList)) {
        std::optional<std::string> type = firstText(row);
        if (!type) continue;
        if (auto it = types.find(*type); it != types.end()) appendKnown(out, table, it->second);
        if (*type == "9") firstStacker = true;
        if (*type == "10" && firstStacker) appendKnown(out, table, "9");
    }
}

// -------------------------------------------------------- finishing devices

std::optional<kz::Dictionary> IOTOptionUpdater::convertArrayToDict(const kz::Value& deviceList) {
    if (!deviceList.isArray()) return std::nullopt;
    kz::Dictionary devices;
    for (const kz::Value& row : deviceList.array()) {
        if (!row.isArray() || row.array().size() != 2) continue;
        const kz::Value& value = row.array()[0];
        const kz::Value& key = row.array()[1];
        if (value.isString() && key.isString()) devices.set(key.string(), value.string());
    }
    return devices;
}

bool IOTOptionUpdater::isEnableWithDict(const kz::Dictionary* deviceDict, const std::vector<std::string>& keys) {
    if (!deviceDict || deviceDict->empty()) return false;
    // Exactly "true": the server writes nothing else for an installed device.
    return std::any_of(keys.begin(), keys.end(), [&](const std::string& key) {
        const kz::Value* value = deviceDict->find(key);
        return value && value->isString() && value->string() == "true";
    });
}

void IOTOptionUpdater::getStapleOptionsWithKeyDevices(Groups& keyDevices, Groups& keyOptions) {
    setGroups(keyDevices, keyOptions,
              {{{"singleTop", "singleBottom"},
                {"TopLeftCorner", "TopRightCorner", "BottomLeftCorner", "BottomRightCorner", "MixSizeCorner"}},
               {{"doubleStitch"}, {"TopEdge", "BottomEdge", "LeftEdge", "RightEdge", "MixSizeEdge"}},
               {{"saddleFoldStaple"}, {"SaddleInside", "SaddleOutside", "Saddle"}},
               {{"singleStitch"}, {"TopCenter", "BottomCenter", "LeftCenter", "RightCenter"}},
               {{"quadStitch"}, {"TopEdge4", "BottomEdge4", "LeftEdge4", "RightEdge4"}}});
}

void IOTOptionUpdater::getPunchOptionsWithKeyDevices(Groups& keyDevices, Groups& keyOptions) {
    setGroups(keyDevices, keyOptions,
              {{{"doublePunch", "usDoublePunch"},
                {"LeftHoles2", "RightHoles2", "TopHoles2", "BottomHoles2", "MixSizeHoles2"}},
               {{"triplePunch"}, {"LeftHoles3", "RightHoles3", "TopHoles3", "BottomHoles3", "MixSizeHoles3"}},
               {{"quadPunch"}, {"LeftHoles4", "RightHoles4", "TopHoles4", "BottomHoles4", "MixSizeHoles4"}},
               {{"a4CoilPunch", "letterPunch", "isoCoilPunch", "ansiCoilPunch"},
                {"LeftHolesMulti", "RightHolesMulti", "TopHolesMulti", "BottomHolesMulti"}}});
}

void IOTOptionUpdater::getFoldOptionsWithKeyDevices(Groups& keyDevices, Groups& keyOptions) {
    // The Z-fold group also takes away an item without a keyword.
    setGroups(keyDevices, keyOptions,
              {{{"saddleFoldNoStaple"}, {"BifoldInside", "BifoldOutside", "Bifold"}},
               {{"zFold"}, {"ZfoldRightBind", "ZfoldLeftBind", "MixSizeZfold", ""}},
               {{"triFoldC"}, {"C_TrifoldInside", "C_TrifoldOutside"}},
               {{"triFoldZ"}, {"Z_TrifoldInside", "Z_TrifoldOutside"}}});
}

void IOTOptionUpdater::getCreaseModeOptionsWithKeyDevices(Groups& keyDevices, Groups& keyOptions) {
    setGroups(keyDevices, keyOptions,
              {{{"creaserFoldAbility"},
                {"SaddleFold", "CTriFold", "ZTriFold", "ZFoldRightBind", "ZFoldLeftBind", "DoubleGateFold",
                 "ParallelFold", "3LineAccordionFold", "4LineAccordionFold", "5LineAccordionFold"}},
               {{"specifiedPositionCreaseAbility"}, {"Custom"}}});
}

bool IOTOptionUpdater::updatePopupButtonComponent(QuillUI* control, const kz::Dictionary* deviceDict,
                                                  const Groups* keyDevices, const Groups* keyOptions) {
    if (!control) return false;
    if (!deviceDict || !keyDevices || !keyOptions) {
        control->setHidden(true);
        return false;
    }
    std::vector<std::string> removal;
    bool someEnabled = false;
    for (std::size_t i = 0; i < keyDevices->size(); ++i) {
        if (isEnableWithDict(deviceDict, (*keyDevices)[i])) {
            someEnabled = true;
        } else if (i < keyOptions->size()) {
            const auto& options = (*keyOptions)[i];
            removal.insert(removal.end(), options.begin(), options.end());
        }
    }
    if (!someEnabled) {
        control->setHidden(true);
        // A hidden control still hands its value to the job: with no device
        // for any of its items, a saved choice such as stapling must not
        // stay chosen where the user can neither see nor change it.
        updatePopupButtonComponent(control, removal);
        return false;
    }
    control->setHidden(false);
    updatePopupButtonComponent(control, removal);
    return true;
}

void IOTOptionUpdater::updatePopupButtonComponent(QuillUI* control, const std::vector<std::string>& removeItems) {
    if (!control || removeItems.empty()) return;
    keepingValue(*control, [&] { control->removePopupButtonArray(removeItems); });
}

// ------------------------------------------------------------------- tests

bool IOTOptionUpdater::hasStapleForTCBMWithDevice(const kz::Dictionary* deviceDict) {
    return deviceDict && !deviceDict->empty() && isEnableWithDict(deviceDict, {"saddleFoldStaple"});
}

bool IOTOptionUpdater::isFoldForTCBM(const kz::Dictionary* deviceDict) {
    return deviceDict && !deviceDict->empty() && isEnableWithDict(deviceDict, {"saddleFoldNoStaple"});
}

bool IOTOptionUpdater::isDocumentfinishing(const PopupButtonItems& items) {
    return std::any_of(items.begin(), items.end(),
                       [](const PopupButtonItem& item) { return item.value == "Documentfinishing"; });
}

}  // namespace ComTORVALEKZ2R4_Plugin
