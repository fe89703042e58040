#include "platform/foundation/ScratchFile.h"

#include <fcntl.h>
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

bool ScratchFile::write(std::string_view bytes, std::string* error) {
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        return false;
    };
    if (_fd < 0) {
        errno = EBADF;
        return fail("no scratch file");
    }
    if (::ftruncate(_fd, 0) != 0) return fail("cannot empty the scratch file");
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail("cannot write the scratch file");
        done += static_cast<std::size_t>(n);
    }
    CrashPoint::pass();
    return true;
}

}  // namespace kz
