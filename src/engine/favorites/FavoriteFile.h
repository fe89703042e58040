#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/TextEncoding.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

KZ_EXPORT extern const std::int32_t kFavoriteFile_UnknownVersion;   // -1
KZ_EXPORT extern const std::int32_t kFavoriteFile_UnknownIotType;   // 0
KZ_EXPORT extern const std::int32_t kFavoriteFile_UnknownEncoding;  // -1
// Fixed rows that head every favorites list.
KZ_EXPORT extern const std::int32_t kFavoriteListOffset;  // 2

// One favorite: a named, saved set of print options in input-manager format.
//
// The file is a byte stream without byte-order mark:
//   version digit LF, device type LF, (version >= 2) language-code digit LF,
//   "Comment=" text LF, then key "=" value TAB TAB for every option.
// The header is ASCII; the rest is in the text encoding named by the
// language code. Files are written with code 0 and UTF-8 text; a code-0 file
// reads as UTF-8 when its text is valid UTF-8 and as Shift_JIS otherwise, so
// both the files written here and older Shift_JIS files read back intact.
class KZ_EXPORT FavoriteFile {
public:
    // A favorite with the unknown values (no comment, no options).
    FavoriteFile();
    // initWithContentsOfFile: reads the file; a file that cannot be read or
    // does not validate leaves the unknown values.
    explicit FavoriteFile(const std::string& path);

    static std::shared_ptr<FavoriteFile> favoriteFileWithContentsOfFile(const std::string& path);

    // Writes the favorite with format version 2, the destination device type
    // and the server's text encoding, through a temporary file in the same
    // folder renamed over the target. False on any failure (the old file then
    // stays as it was), also when a key, value or the comment holds a
    // character the layout cannot carry. With REPLACE false an existing file
    // of the name is left alone and the write fails.
    bool writeToFile(const std::string& path, bool replace = true) const;
    // Copies the favorite file FROM to TO whole or not at all, never over an
    // existing file; false with a reason in *error.
    static bool copyFile(const std::string& from, const std::string& to, std::string* error);

    std::int32_t version() const { return _version; }
    void setVersion(std::int32_t version) { _version = version; }
    std::int32_t iotType() const { return _iotType; }
    void setIotType(std::int32_t iotType) { _iotType = iotType; }
    std::int32_t encoding() const { return _encoding; }
    void setEncoding(std::int32_t encoding) { _encoding = encoding; }

    const std::optional<std::string>& comment() const { return _comment; }
    void setComment(std::string comment) { _comment = std::move(comment); }
    // Options read from a file hold strings; options set for writing may hold
    // numbers, which are written as integers.
    const std::optional<kz::Dictionary>& options() const { return _options; }
    void setOptions(kz::Dictionary options) { _options = std::move(options); }

    // Class operations on names and paths.
    static std::string nameAppendingClassic(std::string_view name);
    static std::string pathWithName(std::string_view name, std::string_view folder);
    static std::string nameWithPath(std::string_view path);
    static std::string stringByAppendingExtension(std::string_view string);
    static bool hasExtension(std::string_view string);

    // Language code <-> text encoding.
    static kz::Encoding _nSStringEncodingFromFavoriteLangCode(std::int32_t code);
    static std::int32_t _favoriteLangCodeFromNSStringEncoding(kz::Encoding encoding);

    // Parses the bytes of a favorite file into this object; false (and the
    // fields as the failed parse left them) when a check fails. Exposed for
    // the fuzz target; _readFromFile: resets the fields on failure.
    bool _parse(std::string_view bytes, std::int32_t allowVersion, std::int32_t deviceType);
    void _readFromFile(const std::string& path);
    // The bytes writeToFile: puts into the file.
    std::optional<std::string> _write(std::int32_t allowVersion, std::int32_t deviceType) const;

    static constexpr std::int32_t kWrittenVersion = 2;
    static constexpr const char* kExtension = "pfj";

private:
    void resetToUnknown();

    std::int32_t _version;
    std::int32_t _iotType;
    std::int32_t _encoding;
    std::optional<std::string> _comment;
    std::optional<kz::Dictionary> _options;
};

// Plain functions for code outside the plug-in's classes. Each answers
// nullptr when its argument is nullptr or there is no result; the caller owns
// what it gets.
KZ_EXPORT std::unique_ptr<std::string> FavoriteNameAppendingClassic(const std::string* name);
KZ_EXPORT std::unique_ptr<std::string> FavoriteNameWithPath(const std::string* path);
KZ_EXPORT std::unique_ptr<std::string> FavoriteCommentWithContentsOfFile(const std::string* path);
KZ_EXPORT std::unique_ptr<kz::Dictionary> FavoriteDictionaryWithContentsOfFile(const std::string* path);

}  // namespace ComTORVALEKZ2R4_Plugin
