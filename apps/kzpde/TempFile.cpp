#include "TempFile.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace kzpde {

TempFile::TempFile(const std::string& suffix) {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/kzpde-XXXXXX" + suffix;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemps(name.data(), static_cast<int>(suffix.size()));
    if (fd >= 0) {
        ::close(fd);
        _path = name.data();
    }
}

TempFile::~TempFile() {
    if (!_path.empty()) ::unlink(_path.c_str());
}

}  // namespace kzpde
