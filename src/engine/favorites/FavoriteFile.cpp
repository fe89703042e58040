#include "engine/favorites/FavoriteFile.h"

#include <sys/stat.h>

#include <cctype>
#include <filesystem>

#include "engine/favorites/FavoriteTokenReader.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/Log.h"

namespace ComTORVALEKZ2R4_Plugin {

const std::int32_t kFavoriteFile_UnknownVersion = -1;
const std::int32_t kFavoriteFile_UnknownIotType = 0;
const std::int32_t kFavoriteFile_UnknownEncoding = -1;
const std::int32_t kFavoriteListOffset = 2;

namespace {

constexpr std::size_t kHeaderTokenLength = 32;
constexpr std::size_t kCommentLength = 255;
constexpr std::size_t kKeyLength = 128;
constexpr std::size_t kValueLength = 512;
// Favorites are a few kilobytes; anything far larger is not one.
constexpr std::size_t kMaximumFileSize = 8 * 1024 * 1024;

bool isSingleDigit(const std::string& token) {
    return token.size() == 1 && std::isdigit(static_cast<unsigned char>(token[0]));
}

}  // namespace

FavoriteFile::FavoriteFile() { resetToUnknown(); }

FavoriteFile::FavoriteFile(const std::string& path) : FavoriteFile() { _readFromFile(path); }

std::shared_ptr<FavoriteFile> FavoriteFile::favoriteFileWithContentsOfFile(const std::string& path) {
    return std::make_shared<FavoriteFile>(path);
}

void FavoriteFile::resetToUnknown() {
    _version = kFavoriteFile_UnknownVersion;
    _iotType = kFavoriteFile_UnknownIotType;
    _encoding = kFavoriteFile_UnknownEncoding;
    _comment.reset();
    _options.reset();
}

kz::Encoding FavoriteFile::_nSStringEncodingFromFavoriteLangCode(std::int32_t code) {
    switch (code) {
        case 2: return kz::Encoding::EUCJP;
        case 3: return kz::Encoding::Windows1252;
        case 4: return kz::Encoding::Windows932;
        default: return kz::Encoding::ShiftJIS;
    }
}

std::int32_t FavoriteFile::_favoriteLangCodeFromNSStringEncoding(kz::Encoding encoding) {
    switch (encoding) {
        case kz::Encoding::Windows1252: return 3;
        case kz::Encoding::Windows932: return 4;
        case kz::Encoding::EUCJP: return 2;
        default: return 0;
    }
}

bool FavoriteFile::_parse(std::string_view bytes, std::int32_t allowVersion, std::int32_t deviceType) {
    FavoriteTokenReader reader(bytes);
    bool eof = false;

    std::optional<std::string> token = reader._getToken('\n', kHeaderTokenLength, kz::Encoding::ASCII, &eof);
    if (!token || eof) return false;
    if (!isSingleDigit(*token) || (*token)[0] - '0' > allowVersion) {
        kz::Log::format("### ## allowVersion is invalid \"%s\" (%d required)", token->c_str(), allowVersion);
        return false;
    }
    _version = (*token)[0] - '0';

    token = reader._getToken('\n', kHeaderTokenLength, kz::Encoding::ASCII, &eof);
    if (!token || eof) return false;
    if (token->size() < 3 && std::isdigit(static_cast<unsigned char>((*token)[0])))
        _iotType = kz::intValueOfText(*token);
    if (_iotType != deviceType) {
        kz::Log::format("### ## iotType is invalid format \"%s\" (%d required)", token->c_str(), deviceType);
        return false;
    }

    if (_version > 1) {
        token = reader._getToken('\n', kHeaderTokenLength, kz::Encoding::ASCII, &eof);
        if (!token || eof) return false;
        if (!isSingleDigit(*token)) {
            kz::Log::format("### ## encoding is invalid \"%s\"", token->c_str());
            return false;
        }
        _encoding = (*token)[0] - '0';
    }

    kz::Encoding encoding = _nSStringEncodingFromFavoriteLangCode(_encoding);
    // Code 0 is what files written here carry, with UTF-8 text; older writers
    // put Shift_JIS under the same code. Valid UTF-8 decides between them
    // (ASCII reads the same either way).
    if (_encoding == 0 && kz::TextEncoding::isValidUtf8(reader.rest())) encoding = kz::Encoding::UTF8;

    std::size_t beforeComment = reader.offset();
    token = reader._getToken('=', kHeaderTokenLength, kz::Encoding::ASCII, &eof);
    if (!token || eof) return false;
    if (*token == "Comment") {
        std::optional<std::string> comment = reader._getToken('\n', kCommentLength, encoding, &eof);
        _comment = comment && !eof ? *comment : std::string();
    } else {
        reader.seek(beforeComment);
    }

    std::optional<kz::Dictionary> options;
    while (true) {
        reader.skipTabs();
        std::optional<std::string> key = reader._getToken('=', kKeyLength, encoding, &eof);
        if (!key || eof) break;
        std::optional<std::string> value = reader._getToken('\t', kValueLength, encoding, &eof);
        if (!options) options.emplace();
        options->set(*key, kz::Value(value && !eof ? *value : std::string()));
        if (eof) break;
    }
    if (!options) return false;
    _options = std::move(options);
    return true;
}

void FavoriteFile::_readFromFile(const std::string& path) {
    if (path.empty()) return;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        kz::Log::format("### ## exception caught \"%s\" \"%s\", whlie reading from \"%s\".", "File not found",
                        ("\"" + path + "\" not found").c_str(), path.c_str());
        return;
    }
    std::string bytes;
    const kz::FileBytes::Status status =
        S_ISREG(info.st_mode) ? kz::FileBytes::read(path, kMaximumFileSize, &bytes) : kz::FileBytes::Status::tooLarge;
    if (status == kz::FileBytes::Status::tooLarge) {
        kz::Log::format("### ## exception caught \"%s\" \"%s\", whlie reading from \"%s\".", "File not readable",
                        ("\"" + path + "\" is not a favorite file").c_str(), path.c_str());
        return;
    }
    if (status != kz::FileBytes::Status::ok) return;
    if (!_parse(bytes, kWrittenVersion, AppPreference::destinationIotType())) resetToUnknown();
}

std::optional<std::string> FavoriteFile::_write(std::int32_t allowVersion, std::int32_t deviceType) const {
    std::string header = kz::strprintf("%d\n%d\n", allowVersion, deviceType);
    kz::Encoding encoding = AppPreference::stringEncodingForServer();

    // Refuse what would not read back as written: a separator inside a
    // field, or a field longer than the reader takes in one token.
    std::string text = kz::strprintf("%d\n", _favoriteLangCodeFromNSStringEncoding(encoding));
    const std::string& comment = _comment ? *_comment : std::string();
    if (comment.find('\n') != std::string::npos || comment.size() > kCommentLength) return std::nullopt;
    text += "Comment=" + comment + "\n";
    if (_options) {
        for (const auto& [key, value] : *_options) {
            std::string shown = value.isNumber() ? kz::strprintf("%d", value.intValue()) : value.stringValue();
            if (key.empty() || key.size() > kKeyLength || key.find_first_of("=\t") != std::string::npos) return std::nullopt;
            if (shown.size() > kValueLength || shown.find('\t') != std::string::npos) return std::nullopt;
            text += key + "=" + shown + "\t\t";
        }
    }
    if (encoding == kz::Encoding::UTF8) return header + text;
    std::optional<std::string> encoded = kz::TextEncoding::encode(text, encoding);
    if (!encoded) return std::nullopt;
    return header + *encoded;
}

bool FavoriteFile::writeToFile(const std::string& path, bool replace) const {
    if (path.empty()) return false;
    std::optional<std::string> bytes = _write(kWrittenVersion, AppPreference::destinationIotType());
    if (!bytes) {
        kz::Log::format("### ## exception in _readFile \"%s\" \"%s\"", "Invalid favorite",
                        "a key, value or the comment cannot be stored");
        return false;
    }
    std::string error;
    kz::AtomicFile::Options options;
    options.replace = replace;
    if (!kz::AtomicFile::write(path, *bytes, options, &error)) {
        kz::Log::format("### ## exception in _readFile \"%s\" \"%s\"", "Write failed", error.c_str());
        return false;
    }
    return true;
}

bool FavoriteFile::copyFile(const std::string& from, const std::string& to, std::string* error) {
    std::string bytes;
    switch (kz::FileBytes::read(from, kMaximumFileSize, &bytes)) {
    case kz::FileBytes::Status::ok:
        break;
    case kz::FileBytes::Status::tooLarge:
        if (error) *error = "too large for a favorite";
        return false;
    default:
        if (error) *error = "cannot be read";
        return false;
    }
    kz::AtomicFile::Options options;
    options.replace = false;
    return kz::AtomicFile::write(to, bytes, options, error);
}

std::string FavoriteFile::nameAppendingClassic(std::string_view name) { return std::string(name) + " (Classic)"; }

std::string FavoriteFile::stringByAppendingExtension(std::string_view string) {
    return std::string(string) + "." + kExtension;
}

std::string FavoriteFile::pathWithName(std::string_view name, std::string_view folder) {
    std::string path(folder);
    if (path.empty() || path.back() != '/') path += '/';
    return stringByAppendingExtension(path + std::string(name));
}

std::string FavoriteFile::nameWithPath(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    std::string::size_type slash = path.rfind('/');
    std::string_view last = slash == std::string_view::npos || path.size() == 1 ? path : path.substr(slash + 1);
    return std::filesystem::path(std::string(last)).stem().string();
}

bool FavoriteFile::hasExtension(std::string_view string) { return string.ends_with(".pfj"); }

std::unique_ptr<std::string> FavoriteNameAppendingClassic(const std::string* name) {
    if (!name) return nullptr;
    return std::make_unique<std::string>(FavoriteFile::nameAppendingClassic(*name));
}

std::unique_ptr<std::string> FavoriteNameWithPath(const std::string* path) {
    if (!path) return nullptr;
    return std::make_unique<std::string>(FavoriteFile::nameWithPath(*path));
}

std::unique_ptr<std::string> FavoriteCommentWithContentsOfFile(const std::string* path) {
    if (!path) return nullptr;
    FavoriteFile file(*path);
    if (!file.comment()) return nullptr;
    return std::make_unique<std::string>(*file.comment());
}

std::unique_ptr<kz::Dictionary> FavoriteDictionaryWithContentsOfFile(const std::string* path) {
    if (!path) return nullptr;
    FavoriteFile file(*path);
    if (!file.options()) return nullptr;
    return std::make_unique<kz::Dictionary>(*file.options());
}

}  // namespace ComTORVALEKZ2R4_Plugin
