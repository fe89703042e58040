#include "platform/foundation/ScratchFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/foundation/CrashPoint.h"

namespace kz {

namespace {

std::string temporaryFolder() {
    const char* dir = std::getenv("TMPDIR");
    return dir && *dir ? dir : "/tmp";
}

int anonymousFile() {
    std::string folder = temporaryFolder();
#ifdef O_TMPFILE
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
#endif
    // A file system without unnamed files: a name for an instant only.
    std::string pattern = folder + "/.kzpde-scratch-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named >= 0) ::unlink(name.data());
    return named;
}

}  // namespace

ScratchFile::ScratchFile() : ScratchFile(anonymousFile()) {}

ScratchFile::ScratchFile(int fd) : _fd(fd) {
    if (_fd >= 0) _path = "/proc/self/fd/" + std::to_string(_fd);
}

ScratchFile::~ScratchFile() {
    if (_fd >= 0) ::close(_fd);
}

namespace {

bool failed(std::string* error, const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
    return false;
}

// Writes BYTES at OFFSET, the whole of them or a failure.
bool writeAt(int fd, std::string_view bytes, off_t offset, std::string* error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return failed(error, "cannot write the scratch file");
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool ScratchFile::write(std::string_view bytes, std::string* error) {
    if (_fd < 0) {
        errno = EBADF;
        return failed(error, "no scratch file");
    }
    if (::ftruncate(_fd, 0) != 0) return failed(error, "cannot empty the scratch file");
    if (!writeAt(_fd, bytes, 0, error)) return false;
    CrashPoint::pass();
    return true;
}

bool ScratchFile::append(std::string_view bytes, std::string* error) {
    if (_fd < 0) {
        errno = EBADF;
        return failed(error, "no scratch file");
    }
    return writeAt(_fd, bytes, static_cast<off_t>(size()), error);
}

std::uint64_t ScratchFile::size() const {
    struct stat st {};
    if (_fd < 0 || ::fstat(_fd, &st) != 0) return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

}  // namespace kz
