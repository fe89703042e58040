#include "engine/favorites/FavoriteValuesCache.h"

#include "engine/conversion/ConvertTable.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "engine/favorites/FavoriteFile.h"

namespace ComTORVALEKZ2R4_Plugin {

std::shared_ptr<const FavoriteValuesCache::Values> FavoriteValuesCache::valuesOfFile(const std::string& path) {
    std::shared_ptr<const ConvertTable> table = PrintOptionConverter::sharedInstance().sharedConvertTable();
    if (!table) return nullptr;
    if (!_watch || _watch->path() != path) _watch = std::make_unique<kz::FileWatch>(path);
    const bool mayHaveChanged = _watch->mayHaveChanged();
    if (_valid && _path == path && _table == table && !mayHaveChanged) return _values;
    std::optional<kz::FileStamp> stamp = kz::FileStamp::of(path);
    // A missing file is remembered as missing too, so that it is not looked
    // for (and logged) after every change.
    if (_valid && _path == path && _stamp == stamp && _table == table) return _values;
    _valid = true;
    _path = path;
    _stamp = stamp;
    _table = table;
    _values.reset();
    ++_reads;
    FavoriteFile favorite(path);
    if (!favorite.options()) return nullptr;
    auto values = std::make_shared<Values>();
    values->ppdKeywords = PrintOptionConverter::toPpdKeywordFormat(*favorite.options(), *table);
    kz::Dictionary internal = values->ppdKeywords;
    PrintOptionConverter::convertToInternalPpdKeyword(internal);
    // What the conversion makes of a print option that holds nothing it
    // knows is what it fills in by itself.
    kz::Dictionary filled{{"", kz::Value("")}};
    PrintOptionConverter::convertToInternalPpdKeyword(filled);
    for (const auto& [key, value] : internal) {
        const kz::Value* own = filled.find(key);
        if (own && *own == value && !values->ppdKeywords.contains(key)) continue;
        values->internal.set(key, value);
    }
    _values = std::move(values);
    return _values;
}

}  // namespace ComTORVALEKZ2R4_Plugin
