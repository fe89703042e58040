#include "support/BundleLocation.h"

#include <filesystem>
#include <system_error>

namespace kzpde {

namespace fs = std::filesystem;

std::string BundleLocation::forExecutable(const std::string& executable) {
    const fs::path folder = fs::path(executable).parent_path();
    const fs::path installed = (folder / KZ_INSTALLED_BUNDLE).lexically_normal();
    for (const fs::path& candidate : {installed, (folder / KZ_BUILD_TREE_BUNDLE).lexically_normal()}) {
        std::error_code ec;
        if (fs::is_directory(candidate / "Contents", ec)) return candidate.string();
    }
    return installed.string();
}

const std::string& BundleLocation::path() {
    static const std::string found = [] {
        std::error_code ec;
        fs::path self = fs::read_symlink("/proc/self/exe", ec);
        // Without /proc the executable's folder is unknown; the current folder
        // stands in, and a missing bundle is then reported by whoever opens it.
        return forExecutable(ec ? (fs::current_path(ec) / "kzpde").string() : self.string());
    }();
    return found;
}

}  // namespace kzpde
