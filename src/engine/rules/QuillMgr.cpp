#include "engine/rules/QuillMgr.h"

#include <algorithm>
#include <ctime>

#include "engine/controls/WireNames.h"
#include "engine/rules/RulePattern.h"
#include "platform/foundation/Log.h"

namespace ComTORVALEKZ2R4_Plugin {

// Restores the previous mode, so that a collective change made inside
// another one does not end it early.
class QuillMgr::CollectiveScope {
public:
    explicit CollectiveScope(QuillMgr& mgr) : _mgr(mgr), _previous(mgr._isCollectiveChange) {
        mgr._isCollectiveChange = true;
    }
    ~CollectiveScope() { _mgr._isCollectiveChange = _previous; }
    CollectiveScope(const CollectiveScope&) = delete;
    CollectiveScope& operator=(const CollectiveScope&) = delete;

private:
    QuillMgr& _mgr;
    bool _previous;
};

QuillMgr::QuillMgr() {
    // One observer for every name, filtered by the registry's own index: it
    // needs no observer to follow each control added and removed.
    kz::NotificationCenter::defaultCenter().addObserver(this, "", nullptr, [this](const auto& notification) {
        if (_index.contains(notification.name)) validateMainKeyword(notification);
    });
}

QuillMgr::~QuillMgr() { kz::NotificationCenter::defaultCenter().removeObserver(this); }

void QuillMgr::validateMainKeyword(const kz::NotificationCenter::Notification& notification) {
    OptionalText option;
    if (const kz::Value* p = notification.userInfo.find(wire::kParameter); p && !p->isNull()) option = p->stringValue();
    _validateMainKeyword(notification.name, option);
}

void QuillMgr::_validateMainKeyword(const std::string& keyword, const OptionalText& optionValue) {
    _pipeline.run(keyword, optionValue);
}

// ------------------------------------------------------------------ registry

void QuillMgr::addControl(const std::shared_ptr<QuillUI>& control) {
    if (!control) return;
    const std::string& keyword = control->mainKeyword();
    if (Controls* list = mutableControlsFor(keyword)) {
        if (std::find(list->begin(), list->end(), control) == list->end()) list->push_back(control);
    } else {
        if (keyword.empty()) return;
        _index.emplace(keyword, _mainKeywordAndControls.size());
        _mainKeywordAndControls.emplace_back(keyword, Controls{control});
    }
    for (const auto& child : control->childControls()) addControl(child);
}

void QuillMgr::removeControl(const std::shared_ptr<QuillUI>& control) {
    if (!control) return;
    if (Controls* list = mutableControlsFor(control->mainKeyword()))
        list->erase(std::remove(list->begin(), list->end(), control), list->end());
    for (const auto& child : control->childControls()) removeControl(child);
}

const QuillMgr::Controls* QuillMgr::controlsFor(const std::string& keyword) const {
    auto it = _index.find(keyword);
    return it == _index.end() ? nullptr : &_mainKeywordAndControls[it->second].second;
}

QuillMgr::Controls* QuillMgr::mutableControlsFor(const std::string& keyword) {
    auto it = _index.find(keyword);
    return it == _index.end() ? nullptr : &_mainKeywordAndControls[it->second].second;
}

QuillUI* QuillMgr::firstControl(const std::string& keyword) const {
    const Controls* list = controlsFor(keyword);
    return list && !list->empty() ? list->front().get() : nullptr;
}

std::shared_ptr<QuillUI> QuillMgr::heldFirstControl(const std::string& keyword) const {
    const Controls* list = controlsFor(keyword);
    return list && !list->empty() ? list->front() : nullptr;
}

// -------------------------------------------------------------------- values

OptionalText QuillMgr::getStringValue(const std::string& keyword) const {
    const Controls* list = controlsFor(keyword);
    if (!list || list->empty()) return std::nullopt;
    OptionalText first = list->front()->getStringValue();
    for (std::size_t i = 1; i < list->size(); ++i) (*list)[i]->getStringValue();
    return first;
}

void QuillMgr::setStringValue(const std::string& keyword, const OptionalText& value) {
    if (const Controls* list = controlsFor(keyword)) {
        Controls copy = *list;  // a control's own announcements may file more
        for (const auto& c : copy) c->setStringValue(value);
    }
}

void QuillMgr::updateOldValue(const std::string& keyword) {
    if (const Controls* list = controlsFor(keyword)) {
        Controls copy = *list;
        for (const auto& c : copy) c->updateOldValue();
    }
}

kz::Dictionary QuillMgr::getAllValueDictionary() const {
    kz::Dictionary all;
    for (const auto& [keyword, list] : _mainKeywordAndControls) {
        if (list.empty()) continue;
        QuillUI& first = *list.front();
        if (const OptionalText& unsupported = first.getUnsportValue()) {
            all.set(keyword, *unsupported);
            continue;
        }
        OptionalText value = first.getStringValue();
        all.set(keyword, value && !value->empty() ? *value : std::string());
    }
    return all;
}

// --------------------------------------------------- backups and collectives

std::string QuillMgr::backupSettings() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::string key = kz::strprintf("%04ld-%02ld-%02ldT%02ld:%02ld:%02ld", static_cast<long>(local.tm_year) + 1900,
                                    static_cast<long>(local.tm_mon) + 1, static_cast<long>(local.tm_mday),
                                    static_cast<long>(local.tm_hour), static_cast<long>(local.tm_min),
                                    static_cast<long>(local.tm_sec));
    _backups[key] = getAllValueDictionary();
    return key;
}

void QuillMgr::restoreSettings(const std::string& key) {
    auto it = _backups.find(key);
    if (it == _backups.end()) return;
    kz::Dictionary backup = std::move(it->second);
    _backups.erase(it);
    CollectiveScope collective(*this);
    for (const auto& [keyword, value] : backup) setStringValue(keyword, value.stringValue());
}

void QuillMgr::setDefaults() {
    CollectiveScope collective(*this);
    std::vector<std::shared_ptr<QuillUI>> all;
    for (const auto& [keyword, list] : _mainKeywordAndControls) all.insert(all.end(), list.begin(), list.end());
    for (const auto& control : all) control->setDefault();
}

void QuillMgr::setSettings(const kz::Dictionary& settings) {
    CollectiveScope collective(*this);
    // Only plain values are option values; a nested array or dictionary is not.
    auto usable = [](const kz::Value& v) { return !v.isNull() && !v.isArray() && !v.isDictionary(); };
    for (const auto& [keyword, value] : settings)
        if (usable(value)) setStringValue(keyword, value.stringValue());
    for (const auto& [keyword, value] : settings)
        if (usable(value)) _validateMainKeyword(keyword, std::nullopt);
}

// ------------------------------------------------------------------- lookups

int QuillMgr::conflictedType(const std::string& pattern, const std::string& value) {
    return RulePattern::conflictedType(pattern, value);
}

std::string QuillMgr::conflictedValue(const std::string& pattern, const std::string& value) {
    return RulePattern::conflictedValue(pattern, value);
}

ConflictSearch::ValueLookup QuillMgr::valueLookup() const {
    return [this](const std::string& keyword) -> std::optional<std::string> {
        QuillUI* c = firstControl(keyword);
        return c ? c->getStringValue() : std::nullopt;
    };
}

std::optional<ConflictInfo> QuillMgr::conflictInfo(const std::string& keyword, const std::string& value) const {
    QuillUI* c = firstControl(keyword);
    if (!c) return std::nullopt;
    return ConflictSearch::conflictInfo(c->getConflictDictionary(), value, valueLookup());
}

std::optional<ConflictInfo> QuillMgr::findConflictInfo(const kz::Dictionary& rule, int typeSelf,
                                                       const std::string& valueSelf) const {
    return ConflictSearch::findConflictInfo(rule, typeSelf, valueSelf, valueLookup());
}

std::optional<ConflictInfo> QuillMgr::findUnrestorableConflictInfo(const kz::Dictionary& rule, int typeSelf,
                                                                   const std::string& valueSelf) const {
    return ConflictSearch::findUnrestorableConflictInfo(rule, typeSelf, valueSelf, valueLookup(),
                                                        _networkState && _networkState->isInitializedNetworkData());
}

}  // namespace ComTORVALEKZ2R4_Plugin
