#pragma once

#include <nlohmann/json.hpp>

#include "platform/foundation/Value.h"

namespace kzpde {

// A Value as JSON for the tool's output: dictionaries keep their order, data
// becomes base64 text, dates ISO 8601 text in UTC.
nlohmann::ordered_json toJson(const kz::Value& value);
// Pretty JSON text; invalid UTF-8 in texts is replaced, never thrown on.
std::string jsonText(const nlohmann::ordered_json& json);

}  // namespace kzpde
