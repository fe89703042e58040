#include "host/ServerListsPpd.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "Common/WebService/PrinterData.h"
#include "Common/WebService/WebServiceClient.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyList.h"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr std::size_t kMaxPpdBytes = 64u << 20;

std::string temporaryPpd(std::string* error) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kzpde-lists-XXXXXX.ppd").string();
    int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0) {
        *error = "cannot make a temporary PPD in " + std::filesystem::temp_directory_path().string();
        return {};
    }
    ::close(fd);
    return pattern;
}

}  // namespace

ServerListsPpd::~ServerListsPpd() {
    if (!_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove(_path, ignored);
    }
}

bool ServerListsPpd::write(const std::string& ppdPath, const std::string& listsFile, std::string* error,
                           std::vector<std::string>* skipped) {
    std::string ppd;
    if (kz::FileBytes::read(ppdPath, kMaxPpdBytes, &ppd) != kz::FileBytes::Status::ok) {
        *error = "cannot read the printer's PPD " + ppdPath;
        return false;
    }
    std::string why;
    kz::Value lists = kz::PropertyList::readFile(listsFile, &why);
    if (!lists.isDictionary()) {
        *error = listsFile + " is not a dictionary of server lists" + (why.empty() ? "" : ": " + why);
        return false;
    }
    const std::vector<std::string>& names = kzp::WebServiceClient::queryNames();
    for (const auto& [name, list] : lists.dictionary()) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            if (skipped) skipped->push_back("'" + name + "' names no server list; left out");
            continue;
        }
        // Rows of texts are what the panel reads; anything else is refused
        // here rather than shown as menus that lost their items.
        if (!list.isArray() || !std::all_of(list.array().begin(), list.array().end(), [](const kz::Value& row) {
                return row.isArray() && std::all_of(row.array().begin(), row.array().end(),
                                                     [](const kz::Value& cell) { return cell.isString(); });
            })) {
            *error = listsFile + ": " + name + " is not a list of rows of texts";
            return false;
        }
        ppd = kzp::PrinterData::embed(ppd, name, kz::PropertyList::toXml(list));
    }
    std::string path = temporaryPpd(error);
    if (path.empty()) return false;
    if (!kz::AtomicFile::write(path, ppd, error)) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return false;
    }
    if (!_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove(_path, ignored);
    }
    _path = path;
    return true;
}

}  // namespace kzpde
