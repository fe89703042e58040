// The pipeline's conflict checks and the dialogs they show.
#include "engine/rules/QuillMgr.h"
#include "engine/rules/RulePattern.h"
#include "platform/kit/Alert.h"
#include "platform/kit/Application.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

using Texts = QuillMgrTexts;

constexpr const char* kLine = "[%@]:[%@]\r";

}  // namespace

std::string QuillMgr::label(const std::string& keyword) const {
    QuillUI* c = firstControl(keyword);
    return c ? c->mainKeywordText() : std::string();
}

std::string QuillMgr::matchText(const std::string& keyword, int type, const std::string& threshold) const {
    if (type == kRuleLess) return Texts::fill(UI("Less Than %@"), {threshold});
    if (type == kRuleGreater) return Texts::fill(UI("More Than %@"), {threshold});
    QuillUI* c = firstControl(keyword);
    return UI(c ? c->getSelectedOptionText().value_or("") : "");
}

std::string QuillMgr::conflictedLines(const ConflictInfo& info) const {
    std::string lines;
    for (const std::string& k : info.conflictedKeyList)
        lines += Texts::fill(kLine, {label(k), matchText(k, info.conflictedTypeOthersDict.at(k),
                                                         info.conflictedValueOthersDict.at(k))});
    return lines;
}

std::string QuillMgr::restoreLines(const ConflictInfo& info) const {
    std::string lines;
    for (const std::string& k : info.restoreKeyList) {
        QuillUI* c = firstControl(k);
        std::string text = c ? c->getOptionText(info.restoreDict.at(k)).value_or("") : "";
        lines += Texts::fill(kLine, {label(k), UI(text)});
    }
    return lines;
}

OptionalText QuillMgr::oldOrDefault(const QuillUI& control) {
    return control.getOldValue() ? control.getOldValue() : control.getDefault();
}

void QuillMgr::applyRestore(const ConflictInfo& info, NameList& names) {
    for (const std::string& k : info.restoreKeyList) {
        setStringValue(k, info.restoreDict.at(k));
        names.add(k);
        _pipeline.cooperate(k, names);
    }
}

long QuillMgr::_alertDialogMessage(const std::string& message, const std::optional<std::string>& button1,
                                   const std::optional<std::string>& button2) {
    kz::Alert alert;
    alert.setMessageText(message);
    if (button1) alert.addButtonWithTitle(*button1);
    if (button2) alert.addButtonWithTitle(*button2);
    return alert.runModal();
}

bool QuillMgr::validateUnrestorableConflict(const std::string& keyword, NameList&) {
    std::shared_ptr<QuillUI> c = heldFirstControl(keyword);
    if (!c) return true;
    OptionalText value = c->getStringValue();
    if (!value) return true;
    OptionalText old = oldOrDefault(*c);
    if (old == value) return false;

    std::optional<ConflictInfo> info = ConflictSearch::unrestorableConflictInfo(
        c->getUnrestorableConflictDictionary(), *value, valueLookup(),
        _networkState && _networkState->isInitializedNetworkData());
    if (!info) return true;

    const std::string own = matchText(keyword, info->conflictedTypeSelf, info->conflictedValueSelf);
    const std::string name = UI(c->mainKeywordText());
    std::string message =
        info->title ? UI(*info->title) + Texts::fill("\r[%@]:[%@]\r", {name, own})
                    : Texts::fill(UI("The following properties cannot be set at the same time.\r[%@]:[%@]\r"),
                                  {name, own});
    message += conflictedLines(*info);
    message += "\r";
    if (info->message)
        message += UI(*info->message);
    else
        message += UI("選択を無効にして、以下の設定に戻します。") +
                   Texts::fill("\r[%@]:[%@]\r", {name, UI(c->getOptionText(old).value_or(""))});
    _alertDialogMessage(message, UI("OK"), std::nullopt);
    setStringValue(keyword, old);
    return false;
}

bool QuillMgr::validateAfterChange(const std::string& keyword, NameList& names) {
    std::shared_ptr<QuillUI> c = heldFirstControl(keyword);
    if (!c) return true;
    OptionalText value = c->getStringValue();
    if (!value) return true;
    OptionalText old = oldOrDefault(*c);
    if (old == value) return false;

    const std::string name = UI(c->mainKeywordText());
    std::optional<ConflictInfo> info;
    std::string message;
    if (!_isCollectiveChange) info = conflictInfo(keyword, std::string(RulePattern::kAll));
    if (info) {
        message = Texts::fill(UI("Do you want to change the settings to the following in order to change [%@]?\r"),
                              {name});
    } else {
        info = conflictInfo(keyword, *value);
        if (!info) return true;
        message = Texts::fill(UI("The following properties cannot be set at the same time.\r[%@]:[%@]\r"),
                              {name, matchText(keyword, info->conflictedTypeSelf, info->conflictedValueSelf)});
        message += conflictedLines(*info);
        message += UI("\rDo you want to change to the following settings to enable the selection?\r");
    }
    message += restoreLines(*info);
    long answer = _alertDialogMessage(message, UI("Yes"), UI("No"));
    if (answer == kz::AlertFirstButtonReturn) {
        applyRestore(*info, names);
        return true;
    }
    if (answer == kz::AlertSecondButtonReturn) {
        setStringValue(keyword, old);
        return false;
    }
    return true;
}

bool QuillMgr::validateBeforeChange(const std::string& keyword, const std::string& value,
                                    const std::optional<std::string>& displayName) {
    std::optional<ConflictInfo> info = conflictInfo(keyword, value);
    if (!info) return true;
    std::string message = Texts::fill(UI("When the following settings are made, %@ cannot be set.\r"),
                                      {UI(displayName ? *displayName : label(keyword))});
    message += conflictedLines(*info);
    message += UI("\rDo you want to change the settings to the following?\r");
    message += restoreLines(*info);
    if (_alertDialogMessage(message, UI("Yes"), UI("No")) != kz::AlertFirstButtonReturn) return false;
    NameList names;
    applyRestore(*info, names);
    for (const std::string& n : names.names()) kz::NotificationCenter::defaultCenter().post(n);
    return true;
}

std::optional<std::vector<std::string>> QuillMgr::setStringValueWithRestoreConfliction(const std::string& keyword,
                                                                                       const std::string& value) {
    std::optional<std::vector<std::string>> restored;
    if (std::optional<ConflictInfo> info = conflictInfo(keyword, value)) {
        // The cooperation of a restored option adds what it sets to the list too.
        NameList names;
        applyRestore(*info, names);
        restored = names.names();
    }
    setStringValue(keyword, value);
    return restored;
}

}  // namespace ComTORVALEKZ2R4_Plugin
