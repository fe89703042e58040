#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

// Reading control descriptions: the file (a dictionary of control name ->
// description) and the typed keys of one description. Description files come
// from bundles that ship separately, so every key is read defensively: a key
// of the wrong type reads as absent.
class KZ_EXPORT ControlDescription {
public:
    // Larger files are refused before parsing (the biggest real file is a
    // few hundred kilobytes).
    static constexpr std::size_t kMaxFileBytes = 8u * 1024 * 1024;

    // The file's dictionary; none with the reason when it cannot be read or
    // its root is not a dictionary.
    static std::optional<kz::Dictionary> readFile(const std::string& path, std::string* error = nullptr);
    static std::optional<kz::Dictionary> read(std::string_view bytes, std::string* error = nullptr);

    // A text entry; numbers give their shortest decimal form and booleans
    // "True"/"False" (limits may be written either way). Other types: none.
    static std::optional<std::string> text(const kz::Dictionary& d, std::string_view key);
    // A text entry, none when it is missing or empty.
    static std::optional<std::string> nonEmptyText(const kz::Dictionary& d, std::string_view key);
    // A boolean entry (texts and numbers by their boolean value); false when missing.
    static bool flag(const kz::Dictionary& d, std::string_view key);
    // An integer entry given as number or text; the fallback when missing.
    static long long integer(const kz::Dictionary& d, std::string_view key, long long fallback);
    // A dictionary entry, empty when missing or of another type.
    static const kz::Dictionary& dictionary(const kz::Dictionary& d, std::string_view key);
    static const kz::Array& array(const kz::Dictionary& d, std::string_view key);
    // The texts of an array entry (other elements are skipped).
    static std::vector<std::string> texts(const kz::Dictionary& d, std::string_view key);

    // The control types that build a value widget.
    static const std::vector<std::string>& controlTypes();
    static bool isKnownControlType(std::string_view type);

    // The keys that hold rules, and the keys inside unrestorable rules that
    // are texts rather than keywords or patterns.
    static const std::vector<std::string>& ruleKeys();
    static bool isDialogTextKey(std::string_view key) { return key == "title" || key == "message"; }

    // Value patterns: "__LESS__:n", "__GREATER__:n", "__ALL__" or a literal.
    static constexpr std::string_view kLessPrefix = "__LESS__:";
    static constexpr std::string_view kGreaterPrefix = "__GREATER__:";
    static constexpr std::string_view kAllPattern = "__ALL__";
    // Whether the pattern has a numeric prefix whose number is missing or not
    // a number.
    static bool isMalformedPattern(std::string_view pattern);
};

}  // namespace ComTORVALEKZ2R4_Plugin
