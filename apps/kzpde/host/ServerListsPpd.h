#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kz {
class ScratchFile;
}

namespace kzpde {

// A copy of a printer's PPD that carries given server lists, as the
// printing system writes them before a print dialog opens: the lists of a
// property list file (list name -> rows, as `kzpde server lists` prints
// them) replace the PPD's lists of those names. The copy is a file without
// a name in any folder that goes with the object (or the process).
class ServerListsPpd {
public:
    ServerListsPpd();
    ~ServerListsPpd();
    ServerListsPpd(const ServerListsPpd&) = delete;
    ServerListsPpd& operator=(const ServerListsPpd&) = delete;

    // Writes the copy; false with the reason in *error when the PPD or the
    // lists file cannot be read, a list is not a list of rows of texts or is
    // too big for the panel to read back from the PPD. Entries
    // that name no server list are left out, each with a line in *skipped.
    bool write(const std::string& ppdPath, const std::string& listsFile, std::string* error,
               std::vector<std::string>* skipped);
    // The copy's path (empty before write succeeded).
    const std::string& path() const;

private:
    std::unique_ptr<kz::ScratchFile> _copy;
};

}  // namespace kzpde
