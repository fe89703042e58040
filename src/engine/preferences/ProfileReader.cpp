#include "engine/preferences/ProfileReader.h"

#include <sys/stat.h>

#include "platform/foundation/FileBytes.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/TextEncoding.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// The platform's number for UTF-8, which the log line reports as the
// encoding tried first.
constexpr int kUtf8EncodingNumber = 4;
// Profiles are a few kilobytes.
constexpr std::size_t kMaximumFileSize = 16 * 1024 * 1024;

void logFailure(const std::string& path, const std::string& error) {
    kz::Log::format("### ## fail to read \"%s\" (encoding=%d, error=%s)", path.c_str(), kUtf8EncodingNumber,
                    error.c_str());
}

}  // namespace

std::optional<kz::Dictionary> ProfileReader::parse(std::string_view bytes, std::string* error) {
    std::string text;
    if (kz::TextEncoding::isValidUtf8(bytes)) {
        text = bytes;
    } else if (auto latin = kz::TextEncoding::decode(bytes, kz::Encoding::DOSLatin1)) {
        text = std::move(*latin);
    } else {
        if (error) *error = "the text is neither UTF-8 nor DOS Latin 1";
        return std::nullopt;
    }

    kz::Dictionary pairs;
    std::string_view rest(text);
    while (!rest.empty()) {
        std::string_view::size_type end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        // Only a real line ending goes; a last line without one keeps all
        // of its characters.
        if (line.ends_with('\r')) line.remove_suffix(1);
        std::string_view::size_type equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        pairs.set(line.substr(0, equals), kz::Value(line.substr(equals + 1)));
    }
    return pairs;
}

std::optional<kz::Dictionary> ProfileReader::readFile(const std::string& path) {
    if (path.empty()) return std::nullopt;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        logFailure(path, "File not found: " + path + " not found");
        return std::nullopt;
    }
    std::string bytes;
    const kz::FileBytes::Status status =
        S_ISREG(info.st_mode) ? kz::FileBytes::read(path, kMaximumFileSize, &bytes) : kz::FileBytes::Status::tooLarge;
    if (status == kz::FileBytes::Status::tooLarge) {
        logFailure(path, "not a profile file");
        return std::nullopt;
    }
    if (status != kz::FileBytes::Status::ok) {
        logFailure(path, "cannot read the file");
        return std::nullopt;
    }
    std::string error;
    std::optional<kz::Dictionary> pairs = parse(bytes, &error);
    if (!pairs) logFailure(path, error);
    return pairs;
}

}  // namespace ComTORVALEKZ2R4_Plugin
