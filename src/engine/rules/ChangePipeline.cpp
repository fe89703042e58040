#include "engine/rules/ChangePipeline.h"

#include "engine/controls/WireNames.h"
#include "engine/rules/QuillMgr.h"
#include "platform/foundation/Log.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

const kz::Dictionary* entryFor(const kz::Dictionary& rules, const OptionalText& value) {
    if (!value) return nullptr;
    const kz::Value* entry = rules.find(*value);
    return entry && entry->isDictionary() ? &entry->dictionary() : nullptr;
}

}  // namespace

void ChangePipeline::run(const std::string& keyword, const OptionalText& optionValue) {
    if (!enter(keyword)) return;
    struct Leave {
        std::unordered_set<std::string>& set;
        const std::string& keyword;
        ~Leave() { set.erase(keyword); }
    } leave{_validating, keyword};

    // Held: the announcements that follow may unregister it.
    std::shared_ptr<QuillUI> control = _registry.heldFirstControl(keyword);
    if (control && optionValue) control->setStringValue(optionValue);
    NameList names;
    bool ok = applyRules(keyword, control.get(), names);
    announce(keyword, names, ok);
}

bool ChangePipeline::enter(const std::string& keyword) {
    if (_validating.empty()) {
        _cascadeRoot = keyword;
        _cascadeRuns = 0;
    }
    if (++_cascadeRuns > QuillMgr::kMaxCascade) {
        if (_cascadeRuns == QuillMgr::kMaxCascade + 1)
            kz::Log::format(QuillMgr::kCascadeLog, _cascadeRoot.c_str(), QuillMgr::kMaxCascade);
        return false;
    }
    if (!_validating.insert(keyword).second) {
        kz::Log::format(QuillMgr::kRingLog, keyword.c_str());
        return false;
    }
    return true;
}

bool ChangePipeline::applyRules(const std::string& keyword, QuillUI* control, NameList& names) {
    bool ok = _registry.validateUnrestorableConflict(keyword, names);
    if (ok) {
        ok = _registry.validateAfterChange(keyword, names);
        conditionSetting(keyword, names);
        if (ok) {
            if (control) hide(*control, names);
            cooperate(keyword, names);
            _registry.updateOldValue(keyword);
        }
    } else {
        conditionSetting(keyword, names);
    }
    return ok;
}

void ChangePipeline::announce(const std::string& keyword, const NameList& names, bool changed) {
    auto& center = kz::NotificationCenter::defaultCenter();
    for (const std::string& name : names.names()) center.post(name);
    if (changed)
        center.post(wire::kValueChangeFinishedPrefix + keyword, nullptr,
                    kz::Dictionary{{"isCollectiveChange",
                                    kz::Value(_registry.isCollectiveChange() ? "True" : "False")}});
}

void ChangePipeline::hide(QuillUI& control, NameList& names) {
    const kz::Dictionary* entry = entryFor(control.getHideDictionary(), control.getStringValue());
    if (!entry) return;
    for (const auto& [keyword, flag] : *entry) {
        if (const QuillMgr::Controls* list = _registry.controlsFor(keyword)) {
            QuillMgr::Controls copy = *list;
            for (const auto& c : copy) c->setHidden(flag.boolValue());
        }
        names.add(keyword);
    }
}

void ChangePipeline::cooperate(const std::string& keyword, NameList& names) {
    QuillUI* control = _registry.firstControl(keyword);
    if (!control) return;
    const kz::Dictionary* entry = entryFor(control->getCooperationDictionary(), control->getStringValue());
    if (!entry) return;
    for (const auto& [target, value] : *entry) {
        _registry.setStringValue(target, value.stringValue());
        names.add(target);
    }
}

void ChangePipeline::conditionSetting(const std::string& keyword, NameList& names) {
    std::shared_ptr<QuillUI> control = _registry.heldFirstControl(keyword);
    if (!control) return;
    const OptionalText value = control->getStringValue();

    if (const kz::Dictionary* sum = entryFor(control->getLogicalSumConditionDictionary(), value)) {
        for (const auto& [target, flag] : *sum) {
            if (const QuillMgr::Controls* list = _registry.controlsFor(target)) {
                QuillMgr::Controls copy = *list;
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
        const QuillMgr::Controls* list = _registry.controlsFor(target);
        if (!list) continue;
        QuillMgr::Controls copy = *list;
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
