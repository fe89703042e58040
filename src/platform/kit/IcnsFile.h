#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {

class Image;

// An icon family file (".icns"): one picture drawn at several sizes, each
// size an entry of its own. Reads the entries that hold a PNG, the 24-bit
// run-length entries with their 8-bit masks, and the 32-bit "ARGB" entries;
// other kinds (JPEG 2000, old 1- to 8-bit icons) are passed over.
//
// The file comes from a bundle, so it is read as untrusted: sizes are
// bounded, an entry that runs past the end refuses the whole file, and an
// entry whose pixels do not decode is left out.
class KZ_EXPORT IcnsFile {
public:
    static constexpr std::size_t kMaxFileBytes = 16u * 1024 * 1024;
    static constexpr std::size_t kMaxEntries = 256;

    // Nullopt with the reason when the bytes are not an icon family.
    static std::optional<IcnsFile> fromBytes(std::string_view bytes, std::string* error = nullptr);
    static std::optional<IcnsFile> fromFile(const std::string& path, std::string* error = nullptr);

    // The pictures that decoded, narrowest first (of equal width, file order).
    const std::vector<std::shared_ptr<Image>>& images() const { return _images; }
    // The narrowest picture at least `pixelsWide` wide, else the widest; null
    // when no entry decoded.
    std::shared_ptr<Image> imageForPixelsWide(std::uint32_t pixelsWide) const;

private:
    std::vector<std::shared_ptr<Image>> _images;
};

}  // namespace kz
