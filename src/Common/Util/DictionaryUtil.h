#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

// The dictionary in the bundle's resource "<name>.plist" (localised lookup),
// or none when the name is empty, the bundle is missing, the file does not
// exist or does not hold a dictionary.
KZ_EXPORT std::optional<kz::Dictionary> DictionaryNamed(std::string_view name, const std::shared_ptr<kz::Bundle>& bundle);

// Stores the value under the key only when it is not null.
KZ_EXPORT void SetIfObjectForKey(kz::Dictionary& dictionary, const kz::Value& value, std::string_view key);
KZ_EXPORT void SetIfObjectForKey(kz::Dictionary& dictionary, const std::optional<std::string>& value,
                                 std::string_view key);

}  // namespace ComTORVALEKZ2R4_Plugin
