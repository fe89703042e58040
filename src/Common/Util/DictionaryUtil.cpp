#include "Common/Util/DictionaryUtil.h"

#include "platform/foundation/PropertyList.h"

namespace ComTORVALEKZ2R4_Plugin {

std::optional<kz::Dictionary> DictionaryNamed(std::string_view name, const std::shared_ptr<kz::Bundle>& bundle) {
    if (name.empty() || !bundle) return std::nullopt;
    std::string path = bundle->pathForResource(name, "plist");
    if (path.empty()) return std::nullopt;
    kz::Value v = kz::PropertyList::readFile(path);
    if (!v.isDictionary()) return std::nullopt;
    return v.dictionary();
}

void SetIfObjectForKey(kz::Dictionary& dictionary, const kz::Value& value, std::string_view key) {
    if (!value.isNull()) dictionary.set(key, value);
}

void SetIfObjectForKey(kz::Dictionary& dictionary, const std::optional<std::string>& value, std::string_view key) {
    if (value) dictionary.set(key, kz::Value(*value));
}

}  // namespace ComTORVALEKZ2R4_Plugin
