#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// File helpers over the file type, creator and Finder flags that favorite
// files carried on their original system. Linux keeps these in one extended
// attribute, laid out as that system's 32-byte Finder information: type code
// (bytes 0-3), creator code (4-7), flags (8-9), all big-endian.
inline constexpr const char* kFinderInfoAttribute = "user.kz.finderinfo";
inline constexpr std::size_t kFinderInfoSize = 32;
inline constexpr unsigned kFinderInvisibleFlag = 1u << 14;

// The colon-separated path of an existing item from its volume down to the
// item, with a trailing ':' for a folder: "home:anna:Favorites:". The volume
// is the mount point the item lives on, named by its last component; the
// root file system, which has none, is named "root". A ':' inside a name
// shows as '/', as the old paths wrote it. Empty when the item does not exist.
KZ_EXPORT std::string toClassicPath(const std::string& path);

// Whether the item exists and is invisible: its Finder flags carry the
// invisible bit, or its name begins with '.', which is how Linux marks an
// item invisible (most of its file systems keep no Finder flags at all).
KZ_EXPORT bool isFileInVisible(const std::string& path);

// Sets the item's type and creator codes, each a four-character code given
// as "'TEXT'" or "TEXT" (anything else counts as code 0), keeping the other
// Finder information. False when the item is missing or its file system
// cannot keep extended attributes.
KZ_EXPORT bool changeFileTypeAndCreator(const std::string& path, std::string_view type, std::string_view creator);

}  // namespace ComTORVALEKZ2R4_Plugin
