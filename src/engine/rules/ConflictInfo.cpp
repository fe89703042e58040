#include "engine/rules/ConflictInfo.h"

namespace ComTORVALEKZ2R4_Plugin {

void ConflictInfo::addConflicted(const std::string& keyword, int type, std::string threshold) {
    if (conflictedTypeOthersDict.contains(keyword)) return;
    conflictedKeyList.push_back(keyword);
    conflictedTypeOthersDict.emplace(keyword, type);
    conflictedValueOthersDict.emplace(keyword, std::move(threshold));
}

void ConflictInfo::addRestore(const std::string& keyword, std::string value) {
    if (restoreDict.contains(keyword)) return;
    restoreKeyList.push_back(keyword);
    restoreDict.emplace(keyword, std::move(value));
}

void ConflictInfo::merge(const ConflictInfo& other) {
    for (const std::string& k : other.conflictedKeyList)
        addConflicted(k, other.conflictedTypeOthersDict.at(k), other.conflictedValueOthersDict.at(k));
    for (const std::string& k : other.restoreKeyList) addRestore(k, other.restoreDict.at(k));
}

kz::Dictionary ConflictInfo::toDictionary() const {
    kz::Dictionary d;
    d.set("conflictedTypeSelf", conflictedTypeSelf);
    d.set("conflictedValueSelf", conflictedValueSelf);
    kz::Array keys, restoreKeys;
    kz::Dictionary types, values, restores;
    for (const std::string& k : conflictedKeyList) {
        keys.push_back(k);
        types.set(k, conflictedTypeOthersDict.at(k));
        values.set(k, conflictedValueOthersDict.at(k));
    }
    for (const std::string& k : restoreKeyList) {
        restoreKeys.push_back(k);
        restores.set(k, restoreDict.at(k));
    }
    d.set("conflictedKeyList", std::move(keys));
    d.set("conflictedTypeOthersDict", std::move(types));
    d.set("conflictedValueOthersDict", std::move(values));
    d.set("restoreKeyList", std::move(restoreKeys));
    d.set("restoreDict", std::move(restores));
    if (title) d.set("title", *title);
    if (message) d.set("message", *message);
    return d;
}

}  // namespace ComTORVALEKZ2R4_Plugin
