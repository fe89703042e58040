#include "platform/kit/Font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <mutex>
#include <utility>

namespace kz {

namespace {

struct LoadedFace {
    std::string file;
    FT_Face face = nullptr;
};

// Faces are opened once per (family, bold) and kept for the process.
class FaceCache {
public:
    static FaceCache& shared() {
        static FaceCache cache;
        return cache;
    }
    ~FaceCache() {
        for (auto& [key, f] : _faces)
            if (f.face) FT_Done_Face(f.face);
        if (_library) FT_Done_FreeType(_library);
        if (_config) FcConfigDestroy(_config);
    }

    // Called with the lock held.
    LoadedFace& face(const std::string& name, bool bold) {
        auto key = std::make_pair(name, bold);
        auto it = _faces.find(key);
        if (it != _faces.end()) return it->second;
        LoadedFace& f = _faces[key];
        if (!_library && FT_Init_FreeType(&_library) != 0) return f;
        // A configuration of our own, released with the cache.
        if (!_config) _config = FcInitLoadConfigAndFonts();
        if (!_config) return f;
        std::string family = name;
        const std::string suffix = " Bold";
        if (family.size() > suffix.size() && family.compare(family.size() - suffix.size(), suffix.size(), suffix) == 0) {
            family.resize(family.size() - suffix.size());
            bold = true;
        }
        if (family.empty()) family = "sans-serif";
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcConfigSubstitute(_config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result;
        FcPattern* match = FcFontMatch(_config, pattern, &result);
        FcPatternDestroy(pattern);
        if (!match) return f;
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            FT_Face face = nullptr;
            if (FT_New_Face(_library, reinterpret_cast<const char*>(file), index, &face) == 0) {
                f.face = face;
                f.file = reinterpret_cast<const char*>(file);
            }
        }
        FcPatternDestroy(match);
        return f;
    }

    std::mutex mutex;

private:
    FT_Library _library = nullptr;
    FcConfig* _config = nullptr;
    std::map<std::pair<std::string, bool>, LoadedFace> _faces;
};

// The next code point of UTF-8 text; invalid bytes read as U+FFFD.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    auto c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int n = (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
    if (n < 0 || i + static_cast<std::size_t>(n) > s.size()) return 0xFFFD;
    char32_t cp = c & (0x3F >> n);
    for (int k = 0; k < n; ++k) {
        auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (b & 0x3F);
        ++i;
    }
    return cp;
}

}  // namespace

double Font::widthOfString(std::string_view text) const {
    FaceCache& cache = FaceCache::shared();
    std::lock_guard lock(cache.mutex);
    LoadedFace& f = cache.face(_name, _bold);
    if (!f.face) return 0.6 * _pointSize * static_cast<double>(text.size());  // no fonts installed at all
    // 64 units per point at 72 dots per inch: advances come out in points.
    FT_Set_Char_Size(f.face, 0, static_cast<FT_F26Dot6>(_pointSize * 64), 72, 72);
    double width = 0;
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = nextCodePoint(text, i);
        if (FT_Load_Char(f.face, cp, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0)
            width += static_cast<double>(f.face->glyph->linearHoriAdvance) / 65536.0;
    }
    return width;
}

std::string Font::faceFile() const {
    FaceCache& cache = FaceCache::shared();
    std::lock_guard lock(cache.mutex);
    return cache.face(_name, _bold).file;
}

}  // namespace kz
