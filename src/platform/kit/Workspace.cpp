#include "platform/kit/Workspace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <sstream>
#include <vector>

#include "platform/foundation/CrashPoint.h"

namespace kz {

namespace fs = std::filesystem;

namespace {

constexpr double kIconPoints = 32;

// Our kinds and the freedesktop names that stand for them, best first.
const std::map<std::string, std::vector<std::string>>& themeNames() {
    static const std::map<std::string, std::vector<std::string>> names = {
        {"folder", {"folder"}},
        {"document", {"text-x-generic", "application-x-generic"}},
        {"unknown", {"unknown", "application-x-generic", "text-x-generic"}},
        {"note", {"dialog-information", "emblem-important"}},
    };
    return names;
}

std::vector<std::string> iconFolders() {
    std::vector<std::string> out;
    if (const char* d = std::getenv("XDG_DATA_HOME"); d && *d == '/') out.push_back(std::string(d) + "/icons");
    else if (const char* h = std::getenv("HOME"); h && *h) out.push_back(std::string(h) + "/.local/share/icons");
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::stringstream list(dirs && *dirs ? dirs : "/usr/local/share:/usr/share");
    for (std::string d; std::getline(list, d, ':');)
        if (!d.empty() && d[0] == '/') out.push_back(d + "/icons");
    return out;
}

std::shared_ptr<Image> themeIcon(const std::vector<std::string>& names) {
    static const char* themes[] = {"hicolor", "Adwaita"};
    static const char* sizes[] = {"32x32", "48x48", "64x64", "24x24", "16x16"};
    static const char* contexts[] = {"places", "mimetypes", "status", "legacy", "emblems"};
    std::error_code ec;
    for (const std::string& folder : iconFolders())
        for (const std::string& name : names)
            for (const char* theme : themes)
                for (const char* size : sizes)
                    for (const char* context : contexts) {
                        std::string file = folder + "/" + theme + "/" + size + "/" + context + "/" + name + ".png";
                        if (!fs::is_regular_file(file, ec)) continue;
                        if (auto image = Image::fromPngFile(file)) return image;
                    }
    return nullptr;
}

// A plain stand-in: a filled shape in the kind's colour with a dark edge.
std::shared_ptr<Image> drawnIcon(const std::string& kind) {
    static const std::map<std::string, std::uint32_t> fill = {
        {"folder", 0x6FA8DCFF}, {"document", 0xFFFFFFFF}, {"unknown", 0xCCCCCCFF}, {"note", 0xF6D155FF}};
    auto image = std::make_shared<Image>(32, 32);
    std::uint32_t colour = fill.count(kind) ? fill.at(kind) : 0xCCCCCCFF;
    for (std::uint32_t y = 4; y < 28; ++y)
        for (std::uint32_t x = 6; x < 26; ++x)
            image->setPixel(x, y, x == 6 || x == 25 || y == 4 || y == 27 ? 0x404040FF : colour);
    return image;
}

std::string kindForType(std::string_view type) {
    if (type.size() == 6 && type.front() == '\'' && type.back() == '\'') {
        std::string_view code = type.substr(1, 4);
        if (code == "fldr") return "folder";
        if (code == "note") return "note";
        if (code == "unfs") return "unknown";
        return "document";
    }
    return type.empty() ? "unknown" : "document";
}

// Percent-encodes a path for the info file, keeping '/' and unreserved bytes.
std::string encodePath(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("/-_.~", c)) out += static_cast<char>(c);
        else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string userTrash() {
    if (const char* d = std::getenv("XDG_DATA_HOME"); d && *d == '/') return std::string(d) + "/Trash";
    if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.local/share/Trash";
    return {};
}

// The top folder of the file system holding `p`: the last ancestor on the same device.
fs::path mountPoint(const fs::path& p, dev_t device) {
    fs::path top = p;
    while (top.has_relative_path()) {
        struct stat st {};
        if (stat(top.parent_path().c_str(), &st) != 0 || st.st_dev != device) break;
        top = top.parent_path();
    }
    return top;
}

void flushFolder(const fs::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

std::string failed(std::string* error, std::string text) {
    fail(error, std::move(text));
    return {};
}

// Reserves a name in info/ with an exclusive create and writes the info into
// it; answers the name taken (without ".trashinfo").
bool writeInfo(const fs::path& info, const std::string& base, const std::string& recordedPath, std::string& taken,
               std::string* error) {
    fs::path stem = fs::path(base).stem(), ext = fs::path(base).extension();
    if (stem.empty() || base.front() == '.') stem = base, ext.clear();
    for (int n = 1; n <= 10000; ++n) {
        std::string name = n == 1 ? base : stem.string() + "." + std::to_string(n) + ext.string();
        fs::path file = info / (name + ".trashinfo");
        int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return fail(error, file.string() + ": " + std::strerror(errno));
        }
        std::time_t now = std::time(nullptr);
        char date[32];
        std::tm local{};
        localtime_r(&now, &local);
        std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
        std::string text = "[Trash Info]\nPath=" + encodePath(recordedPath) + "\nDeletionDate=" + date + "\n";
        // Whole and on disk before the item moves: the info is what tells
        // where a trashed item came from.
        bool ok = true;
        for (std::size_t done = 0; ok && done < text.size();) {
            ssize_t n = ::write(fd, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR) continue;
            ok = n > 0;
            if (ok) done += static_cast<std::size_t>(n);
        }
        ok = ok && ::fsync(fd) == 0;
        ok = ::close(fd) == 0 && ok;
        if (!ok) {
            fs::remove(file);
            return fail(error, file.string() + ": cannot be written");
        }
        taken = name;
        return true;
    }
    return fail(error, "no free name in the trash for " + base);
}

}  // namespace

Workspace& Workspace::shared() {
    static Workspace workspace;
    return workspace;
}

std::shared_ptr<Image> Workspace::icon(const std::string& kind) {
    std::shared_ptr<Image> image = themeIcon(themeNames().at(kind));
    if (!image) image = drawnIcon(kind);
    image->setName(kind);
    image->setSize({kIconPoints, kIconPoints});
    return image;
}

std::shared_ptr<Image> Workspace::iconForFileType(std::string_view type) { return icon(kindForType(type)); }

std::shared_ptr<Image> Workspace::iconForFile(const std::string& path) {
    std::error_code ec;
    auto status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return icon("unknown");
    if (fs::is_directory(status)) return icon("folder");
    return icon("document");
}

std::string Workspace::moveToTrash(const std::string& path, std::string* error) {
    std::error_code ec;
    struct stat item {};
    if (path.empty() || lstat(path.c_str(), &item) != 0) return failed(error, path + ": no such item");
    fs::path absolute = fs::absolute(path, ec).lexically_normal();
    if (!absolute.has_filename()) absolute = absolute.parent_path();  // "dir/"
    if (ec || !absolute.has_filename()) return failed(error, path + ": cannot be trashed");

    // The home trash when the item is on the same file system, else the
    // trash at the top of the item's own file system (paths relative to it).
    fs::path trash = userTrash();
    std::string recorded = absolute.string();
    struct stat trashStat {};
    fs::path homeBase = trash.empty() ? fs::path() : trash.parent_path();
    if (!trash.empty()) fs::create_directories(homeBase, ec);
    if (trash.empty() || stat(homeBase.c_str(), &trashStat) != 0 || trashStat.st_dev != item.st_dev) {
        fs::path top = mountPoint(absolute.parent_path(), item.st_dev);
        trash = top / (".Trash-" + std::to_string(::getuid()));
        recorded = absolute.lexically_relative(top).string();
    }
    fs::create_directories(trash / "files", ec);
    fs::create_directories(trash / "info", ec);
    ::chmod(trash.c_str(), 0700);
    if (!fs::is_directory(trash / "files", ec) || !fs::is_directory(trash / "info", ec))
        return failed(error, trash.string() + ": the trash cannot be made");

    std::string name;
    if (!writeInfo(trash / "info", absolute.filename().string(), recorded, name, error)) return {};
    CrashPoint::pass();
    fs::path target = trash / "files" / name;
    if (::rename(absolute.c_str(), target.c_str()) != 0) {
        int e = errno;
        fs::remove(trash / "info" / (name + ".trashinfo"), ec);
        return failed(error, path + ": cannot be moved to the trash: " + std::strerror(e));
    }
    CrashPoint::pass();
    flushFolder(absolute.parent_path());
    flushFolder(trash / "files");
    return target.string();
}

}  // namespace kz
