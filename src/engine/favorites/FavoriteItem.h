#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// One row of the favorites manager: a favorite file (name, comment, path),
// or one of the two fixed rows at the head of the list (current settings,
// default favorite), which have no path.
class KZ_EXPORT FavoriteItem {
public:
    enum class Kind { CurrentSetting, DefaultFavorite, File };

    static std::shared_ptr<FavoriteItem> favoriteItemWithName(std::string name, Kind kind = Kind::File);
    explicit FavoriteItem(std::string name, Kind kind = Kind::File);

    // The two fixed rows, named from the localised texts.
    static std::shared_ptr<FavoriteItem> currentSettingItem();
    static std::shared_ptr<FavoriteItem> defaultFavoriteItem();

    Kind kind() const { return _kind; }
    const std::optional<std::string>& name() const { return _name; }
    const std::optional<std::string>& comment() const { return _comment; }
    const std::optional<std::string>& path() const { return _path; }
    // A missing value is ignored: the old one stays.
    void setName(const std::optional<std::string>& name);
    void setComment(const std::optional<std::string>& comment);
    void setPath(const std::optional<std::string>& path);
    // A favorite of a shared folder: listed after the user's, and not the
    // user's to rename, re-comment or delete.
    bool isShared() const { return _shared; }
    void setShared(bool shared) { _shared = shared; }

    // Row order: the current settings first, then the default favorite, then
    // the user's files by their full paths (rows without a path by name),
    // then the shared ones in the order their folders come. True when
    // this row sorts before the other.
    bool compare(const FavoriteItem& other) const;

    // Byte limits in the system's default byte-string encoding.
    static std::uint32_t maxNameLength() { return 27; }
    static std::uint32_t maxCommentLength() { return 255; }

    // None when the name (comment) is acceptable, else the localised
    // message saying why not. A missing text passes.
    static std::optional<std::string> checkName(const std::optional<std::string>& name);
    static std::optional<std::string> checkComment(const std::optional<std::string>& comment);
    static bool isEqualToDefaultFavoriteName(std::string_view name);

    // The localised texts the manager shows.
    static std::string localized(const std::string& key);
    static std::string currentSettingName();
    static std::string defaultFavoriteName();

private:
    Kind _kind;
    std::optional<std::string> _name, _comment, _path;
    bool _shared = false;
};

}  // namespace ComTORVALEKZ2R4_Plugin
