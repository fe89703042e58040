#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

// Text helpers shared by the plug-in and its panes. Texts are UTF-8.

// The text's length in bytes in the system's default byte-string encoding
// (kz::TextEncoding::systemDefault); a text that encoding cannot hold counts
// as its lossy conversion, each unmappable character one '?'.
KZ_EXPORT std::size_t lengthByBytes(std::string_view text);

// For a text: whether it is "True" ignoring case (so "YES" is false); for any
// other value its own boolean value.
KZ_EXPORT bool boolValueIfString(const kz::Value& object);

// Whether `part` occurs in `text`, compared exactly. An empty part occurs
// nowhere.
KZ_EXPORT bool isContain(std::string_view text, std::string_view part);

// A copy of the text in which every occurrence of the target, compared ignoring
// case (Unicode), is replaced. No target or no replacement: an unchanged copy.
// No text: no result.
KZ_EXPORT std::optional<std::string> replaceOccurrencesOfString(std::optional<std::string_view> text,
                                                                std::optional<std::string_view> target,
                                                                std::optional<std::string_view> replacement);

// A copy in which each character that Windows refuses in file names
// (\ / : ; , * ? " < > |) is replaced by `replacement`.
KZ_EXPORT std::string toAllowedForWindows(std::string_view text, std::string_view replacement);

// "Title" -> "Title:" and back (one trailing ':' is removed).
KZ_EXPORT std::string controlTitleString(std::string_view text);
KZ_EXPORT std::string stringByDeletingControlTitleSuffix(std::string_view text);

// Reads unsigned decimal digits and, after one ',' or '.', fraction digits.
// No sign, no exponent: "-3" reads as 0 and stops at once. Answers the number
// (0 for null characters) and, through `end` when given, where reading
// stopped.
KZ_EXPORT double read_double(const char* characters, const char** end);

}  // namespace ComTORVALEKZ2R4_Plugin
