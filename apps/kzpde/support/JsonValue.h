#pragma once

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <optional>
#include <string>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"

namespace kzpde {

// A Value as JSON for the tool's output: dictionaries keep their order, data
// becomes base64 text, dates ISO 8601 text in UTC.
nlohmann::ordered_json toJson(const kz::Value& value);
// JSON as a Value, exactly: objects keep their order, integers above the
// signed range stay unsigned, null becomes a null Value.
kz::Value fromJson(const nlohmann::ordered_json& json);

// A print option given as a JSON object: texts and booleans as they are;
// numbers as their JSON text, or, with `keepNumbers` (the tag values of
// favorite files), as numbers. Anything else, or a value that is not an
// object, gives nullopt and the reason in *error.
std::optional<kz::Dictionary> printOptionFromJson(const nlohmann::ordered_json& json, bool keepNumbers,
                                                  std::string* error);
// A print option as a JSON object of texts and booleans, as the panel
// exchanges its values.
nlohmann::ordered_json printOptionToJson(const kz::Dictionary& option);

// Pretty JSON text; invalid UTF-8 in texts is replaced, never thrown on.
std::string jsonText(const nlohmann::ordered_json& json);
// The one way a command prints JSON: jsonText and a line break. A Value
// goes through toJson first.
void writeJson(std::ostream& out, const nlohmann::ordered_json& json);
void writeJson(std::ostream& out, const kz::Value& value);

}  // namespace kzpde
