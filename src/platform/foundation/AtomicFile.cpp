#include "platform/foundation/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

namespace kz {

namespace {

// The process's file-creation mask, read without changing it (umask() would
// set it, which races with other threads).
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 022;
}

bool fail(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    return false;
}

}  // namespace

bool AtomicFile::write(const std::string& path, std::string_view bytes, std::string* error) {
    if (path.empty()) {
        if (error) *error = "empty path";
        return false;
    }
    std::string::size_type slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty()) {
        if (error) *error = "path names a folder";
        return false;
    }
    // A hidden name without the target's extension, so listings never show it.
    std::string pattern = folder + "/." + base + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return fail(error, "cannot create a temporary file in " + folder);
    std::string temporary(name.data());

    // Keep the mode of the file being replaced; a new file gets what open()
    // would have given it.
    struct stat old {};
    mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    bool ok = ::fchmod(fd, mode) == 0 || fail(error, "cannot set the mode");
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (ok && left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = fail(error, "cannot write " + temporary);
            break;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = fail(error, "cannot flush " + temporary);
    if (::close(fd) != 0 && ok) ok = fail(error, "cannot close " + temporary);
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) ok = fail(error, "cannot replace " + path);
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename is durable once the folder's entry is on disk. The file is
    // in place already, so a folder that cannot be flushed (some file
    // systems refuse) does not fail the write.
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace kz
