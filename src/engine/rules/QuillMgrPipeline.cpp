// The change pipeline: what runs when an option is announced.
#include "engine/rules/QuillMgr.h"

#include "engine/controls/WireNames.h"
#include "platform/foundation/Log.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

const kz::Dictionary* entryFor(const kz::Dictionary& rules, const OptionalText& value) {
    if (!value) return nullptr;
    const kz::Value* entry = rules.find(*value);
    return entry && entry->isDictionary() ? &entry->dictionary() : nullptr;
}

}  // namespace

void QuillMgr::validateMainKeyword(const kz::NotificationCenter::Notification& notification) {
    OptionalText option;
    if (const kz::Value* p = notification.userInfo.find(wire::kParameter); p && !p->isNull()) option = p->stringValue();
    _validateMainKeyword(notification.name, option);
}

void QuillMgr::_validateMainKeyword(const std::string& keyword, const OptionalText& optionValue) {
    if (_validating.empty()) {
        _cascadeRoot = keyword;
        _cascadeRuns = 0;
    }
    if (++_cascadeRuns > kMaxCascade) {
        if (_cascadeRuns == kMaxCascade + 1) kz::Log::format(kCascadeLog, _cascadeRoot.c_str(), kMaxCascade);
        return;
    }
    if (!_validating.insert(keyword).second) {
        kz::Log::format(kRingLog, keyword.c_str());
        return;
    }
    struct Leave {
        std::unordered_set<std::string>& set;
        const std::string& keyword;
        ~Leave() { set.erase(keyword); }
    } leave{_validating, keyword};

    std::shared_ptr<QuillUI> control = heldFirstControl(keyword);
    if (control && optionValue) control->setStringValue(optionValue);

    NameList names;
    bool ok = validateUnrestorableConflict(keyword, names);
    if (ok) {
        ok = validateAfterChange(keyword, names);
        conditionSetting(keyword, names);
        if (ok) {
            if (control) hide(*control, names);
            cooperate(keyword, names);
            updateOldValue(keyword);
        }
    } else {
        conditionSetting(keyword, names);
    }
    auto& center = kz::NotificationCenter::defaultCenter();
    for (const std::string& name : names.names()) center.post(name);
    if (ok)
        center.post(wire::kValueChangeFinishedPrefix + keyword, nullptr,
                    kz::Dictionary{{"isCollectiveChange", kz::Value(_isCollectiveChange ? "True" : "False")}});
}

OptionalText QuillMgr::oldOrDefault(const QuillUI& control) {
    return control.getOldValue() ? control.getOldValue() : control.getDefault();
}

void QuillMgr::hide(QuillUI& control, NameList& names) {
    const kz::Dictionary* entry = entryFor(control.getHideDictionary(), control.getStringValue());
    if (!entry) return;
    for (const auto& [keyword, flag] : *entry) {
        if (const Controls* list = controlsFor(keyword)) {
            Controls copy = *list;
            for (const auto& c : copy) c->setHidden(flag.boolValue());
        }
        names.add(keyword);
    }
}

void QuillMgr::cooperate(const std::string& keyword, NameList& names) {
    QuillUI* control = firstControl(keyword);
    if (!control) return;
    const kz::Dictionary* entry = entryFor(control->getCooperationDictionary(), control->getStringValue());
    if (!entry) return;
    for (const auto& [target, value] : *entry) {
        setStringValue(target, value.stringValue());
        names.add(target);
    }
}

void QuillMgr::conditionSetting(const std::string& keyword, NameList& names) {
    std::shared_ptr<QuillUI> control = heldFirstControl(keyword);
    if (!control) return;
    const OptionalText value = control->getStringValue();

    if (const kz::Dictionary* sum = entryFor(control->getLogicalSumConditionDictionary(), value)) {
        for (const auto& [target, flag] : *sum) {
            if (const Controls* list = controlsFor(target)) {
                Controls copy = *list;
                for (const auto& c : copy) c->setEnabledPositively(flag.boolValue(), keyword);
            }
            names.add(target);
        }
    }

    const kz::Dictionary& conditions = control->getConditionDictionary();
    if (conditions.empty()) return;
    const kz::Dictionary* entry = entryFor(conditions, value);
    if (!entry) return;
    const bool spread = control->getSpreadValue();
    for (const auto& [target, rule] : *entry) {
        const Controls* list = controlsFor(target);
        if (!list) continue;
        Controls copy = *list;
        for (const auto& x : copy) {
            if (rule.isDictionary()) {
                if (control->isEnabled()) {
                    x->setEnabled(true, keyword);
                    x->setEnabledByDictionary(rule.dictionary());
                } else {
                    x->setEnabled(false, keyword);
                }
            } else if (rule.boolValue()) {
                x->setEnabled(spread ? true : control->isEnabled(), keyword);
            } else {
                x->setEnabled(false, keyword);
            }
        }
    }
    if (control->isEnabled())
        for (const auto& [target, rule] : *entry) names.add(target);
}

}  // namespace ComTORVALEKZ2R4_Plugin
