#include "platform/foundation/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kz {

FileBytes::Status FileBytes::read(const std::string& path, std::size_t maxBytes, std::string* bytes) {
    bytes->clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == EISDIR ? Status::cannotRead : Status::cannotOpen;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return Status::cannotRead;
    }
    // The size is only a hint: the file may change while it is read.
    if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) <= maxBytes)
        bytes->reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    Status status = Status::ok;
    while (bytes->size() <= maxBytes) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            status = Status::cannotRead;
            break;
        }
        if (n == 0) break;
        bytes->append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (status == Status::ok && bytes->size() > maxBytes) status = Status::tooLarge;
    if (status != Status::ok) bytes->clear();
    return status;
}

}  // namespace kz
