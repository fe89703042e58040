#include "engine/favorites/FavoriteItem.h"

#include <algorithm>
#include <array>
#include <vector>

#include "Common/Util/StringUtil.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/preferences/AppPreference.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// The characters of a UTF-8 text, each as its own bytes.
std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

bool isWhiteSpace(std::string_view c) {
    static constexpr std::array<std::string_view, 24> kSpaces = {
        " ", "\t", "\n", "\v", "\f", "\r", "\u0085", "\u00A0", "\u1680", "\u2000", "\u2001", "\u2002",
        "\u2003", "\u2004", "\u2005", "\u2006", "\u2007", "\u2008", "\u2009", "\u200A", "\u2028", "\u2029",
        "\u202F", "\u3000"};
    return std::find(kSpaces.begin(), kSpaces.end(), c) != kSpaces.end() || c == "\u205F";
}

// A control character would end up in a file name the listing cannot show
// sensibly, and a leading dot hides the file from the listing for good.
bool isUnusableInFileName(std::string_view name) {
    if (name.starts_with('.')) return true;
    return std::any_of(name.begin(), name.end(), [](char c) {
        auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

}  // namespace

FavoriteItem::FavoriteItem(std::string name, Kind kind) : _kind(kind), _name(std::move(name)) {}

std::shared_ptr<FavoriteItem> FavoriteItem::favoriteItemWithName(std::string name, Kind kind) {
    return std::make_shared<FavoriteItem>(std::move(name), kind);
}

std::shared_ptr<FavoriteItem> FavoriteItem::currentSettingItem() {
    return favoriteItemWithName(currentSettingName(), Kind::CurrentSetting);
}

std::shared_ptr<FavoriteItem> FavoriteItem::defaultFavoriteItem() {
    return favoriteItemWithName(defaultFavoriteName(), Kind::DefaultFavorite);
}

void FavoriteItem::setName(const std::optional<std::string>& name) {
    if (name) _name = name;
}
void FavoriteItem::setComment(const std::optional<std::string>& comment) {
    if (comment) _comment = comment;
}
void FavoriteItem::setPath(const std::optional<std::string>& path) {
    if (path) _path = path;
}

bool FavoriteItem::compare(const FavoriteItem& other) const {
    auto rank = [](Kind k) { return k == Kind::CurrentSetting ? 0 : k == Kind::DefaultFavorite ? 1 : 2; };
    if (rank(_kind) != rank(other._kind)) return rank(_kind) < rank(other._kind);
    if (_shared != other._shared) return other._shared;
    // Shared rows keep the order they were listed in (the sort is stable).
    if (_shared) return false;
    if (_path && other._path) return *_path < *other._path;
    return _name.value_or(std::string()) < other._name.value_or(std::string());
}

std::string FavoriteItem::localized(const std::string& key) { return PanePlugInMgr::localizedAlertText(key); }

std::string FavoriteItem::currentSettingName() { return "<" + localized("CurrentSetting") + ">"; }

std::string FavoriteItem::defaultFavoriteName() {
    // The same text as the first item of the panel's favorites menu.
    if (AppPreference::sharedInstance().bundle()) return AppPreference::sharedInstance().defaultFavoriteName();
    return localized("DefaultFavorite");
}

bool FavoriteItem::isEqualToDefaultFavoriteName(std::string_view name) { return name == defaultFavoriteName(); }

std::optional<std::string> FavoriteItem::checkName(const std::optional<std::string>& name) {
    if (!name) return std::nullopt;
    const std::string invalid = localized("Invalid favorite name");
    if (name->empty() || lengthByBytes(*name) > maxNameLength()) return invalid;
    // The views point into this text: it must outlive them.
    const std::string forbiddenText = localized("characterSet_InvalidCharsForFavorite");
    std::vector<std::string_view> forbidden = characters(forbiddenText);
    std::vector<std::string_view> chars = characters(*name);
    for (std::string_view c : chars)
        if (std::find(forbidden.begin(), forbidden.end(), c) != forbidden.end()) return invalid;
    if (isUnusableInFileName(*name)) return invalid;
    if (std::all_of(chars.begin(), chars.end(), isWhiteSpace)) return invalid;
    if (isEqualToDefaultFavoriteName(*name)) return localized("Invalid favorite name2");
    return std::nullopt;
}

std::optional<std::string> FavoriteItem::checkComment(const std::optional<std::string>& comment) {
    if (!comment) return std::nullopt;
    // Favorite files keep the comment on one line of at most 255 bytes of
    // UTF-8; a comment they cannot carry would be accepted here and then
    // silently not saved.
    if (lengthByBytes(*comment) > maxCommentLength() || comment->size() > maxCommentLength() ||
        comment->find_first_of("\r\n") != std::string::npos)
        return localized("Invalid favorite comment");
    return std::nullopt;
}

}  // namespace ComTORVALEKZ2R4_Plugin
