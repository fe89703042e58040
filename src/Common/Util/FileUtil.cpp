#include "Common/Util/FileUtil.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <vector>

namespace ComTORVALEKZ2R4_Plugin {

namespace fs = std::filesystem;

namespace {

using FinderInfo = std::array<unsigned char, kFinderInfoSize>;

// The item's Finder information; all zero when it has none (or a short one).
std::optional<FinderInfo> readFinderInfo(const std::string& path) {
    FinderInfo info{};
    ssize_t n = lgetxattr(path.c_str(), kFinderInfoAttribute, info.data(), info.size());
    if (n < 0) {
        // A longer attribute (ERANGE) is not ours: neither read nor overwritten.
        if (errno == ENODATA || errno == ENOTSUP) return FinderInfo{};
        return std::nullopt;
    }
    return info;
}

// "'TEXT'" or "TEXT" as a code; 0 for anything that is not four bytes of
// printable ASCII.
unsigned long typeCode(std::string_view text) {
    if (text.size() == 6 && text.front() == '\'' && text.back() == '\'') text = text.substr(1, 4);
    if (text.size() != 4) return 0;
    unsigned long code = 0;
    for (char c : text) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b > 0x7E) return 0;
        code = code << 8 | b;
    }
    return code;
}

void putCode(FinderInfo& info, std::size_t at, unsigned long code) {
    for (int i = 0; i < 4; ++i) info[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(code >> (24 - 8 * i));
}

std::string classicName(std::string name) {
    for (char& c : name)
        if (c == ':') c = '/';
    return name;
}

}  // namespace

std::string toClassicPath(const std::string& path) {
    std::error_code ec;
    if (path.empty()) return {};
    fs::path item = fs::canonical(path, ec);
    if (ec) return {};
    struct stat st {};
    if (stat(item.c_str(), &st) != 0) return {};
    bool folder = S_ISDIR(st.st_mode);
    // Walk up while the parent is on the same device: the last one reached
    // is the mount point, the volume the item lives on.
    std::vector<std::string> names;
    fs::path volume = item;
    while (volume.has_relative_path()) {
        fs::path parent = volume.parent_path();
        struct stat ps {};
        if (stat(parent.c_str(), &ps) != 0 || ps.st_dev != st.st_dev) break;
        names.push_back(volume.filename().string());
        volume = parent;
    }
    std::string out = volume.has_relative_path() ? classicName(volume.filename().string()) : "root";
    for (auto it = names.rbegin(); it != names.rend(); ++it) out += ":" + classicName(*it);
    if (folder) out += ":";
    return out;
}

bool isFileInVisible(const std::string& path) {
    struct stat st {};
    if (path.empty() || lstat(path.c_str(), &st) != 0) return false;
    std::string name = fs::path(path).lexically_normal().filename().string();
    if (name.empty()) name = fs::path(path).lexically_normal().parent_path().filename().string();
    if (name.size() > 1 && name[0] == '.' && name != "..") return true;
    auto info = readFinderInfo(path);
    return info && ((static_cast<unsigned>((*info)[8]) << 8 | (*info)[9]) & kFinderInvisibleFlag) != 0;
}

bool changeFileTypeAndCreator(const std::string& path, std::string_view type, std::string_view creator) {
    struct stat st {};
    if (path.empty() || lstat(path.c_str(), &st) != 0) return false;
    auto info = readFinderInfo(path);
    if (!info) return false;
    putCode(*info, 0, typeCode(type));
    putCode(*info, 4, typeCode(creator));
    return lsetxattr(path.c_str(), kFinderInfoAttribute, info->data(), info->size(), 0) == 0;
}

}  // namespace ComTORVALEKZ2R4_Plugin
