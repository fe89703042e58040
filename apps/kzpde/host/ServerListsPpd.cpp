#include "host/ServerListsPpd.h"

#include <cups/ppd.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "Common/WebService/PrinterData.h"
#include "Common/WebService/WebServiceClient.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/ScratchFile.h"

// The lists travel in PPD attributes, read as the panel reads them.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr std::size_t kMaxPpdBytes = 64u << 20;

// Where LIST stops being rows of texts ("row 3, cell 2 is a number"), or
// empty when it is rows of texts.
std::string notRowsOfTexts(const kz::Value& list) {
    if (!list.isArray()) return "it is no array";
    const kz::Array& rows = list.array();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (!rows[r].isArray()) return "row " + std::to_string(r + 1) + " is no array";
        const kz::Array& cells = rows[r].array();
        for (std::size_t c = 0; c < cells.size(); ++c)
            if (!cells[c].isString())
                return "row " + std::to_string(r + 1) + ", cell " + std::to_string(c + 1) + " is no text";
    }
    return {};
}

// The panel reads a list back with a bounded buffer: a list it would not read
// whole is refused here, not left to show the menus as if there were none.
bool readsBack(const std::string& path, const std::vector<std::pair<std::string, std::string>>& embedded,
               std::string* error) {
    std::unique_ptr<ppd_file_t, decltype(&ppdClose)> ppd(ppdOpenFile(path.c_str()), &ppdClose);
    if (!ppd) {
        *error = std::string("the PPD with the lists does not read: ") + ppdErrorString(ppdLastError(nullptr));
        return false;
    }
    for (const auto& [name, bytes] : embedded) {
        if (kzp::PrinterData::read(ppd.get(), name) == bytes) continue;
        *error = name + " does not fit in the printer's PPD";
        if (bytes.size() > kzp::PrinterData::kMaxCapacity)
            *error += ": it is " + std::to_string(bytes.size()) + " bytes as a property list, more than the " +
                      std::to_string((kzp::PrinterData::kMaxCapacity + 1) >> 20) + " MiB the panel reads of a list";
        return false;
    }
    return true;
}

}  // namespace

ServerListsPpd::ServerListsPpd() = default;
ServerListsPpd::~ServerListsPpd() = default;

bool ServerListsPpd::write(const std::string& ppdPath, const std::string& listsFile, std::string* error,
                           std::vector<std::string>* skipped) {
    std::string ppd;
    if (kz::FileBytes::read(ppdPath, kMaxPpdBytes, &ppd) != kz::FileBytes::Status::ok) {
        *error = "cannot read the printer's PPD " + ppdPath;
        return false;
    }
    std::string why;
    std::vector<std::pair<std::string, std::string>> embedded;
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
        if (std::string where = notRowsOfTexts(list); !where.empty()) {
            *error = listsFile + ": " + name + " is not a list of rows of texts (" + where + ")";
            return false;
        }
        std::string bytes = kz::PropertyList::toXml(list);
        ppd = kzp::PrinterData::embed(ppd, name, bytes);
        embedded.emplace_back(name, std::move(bytes));
    }
    // Nameless, so that a run killed at any point leaves no file behind.
    auto copy = std::make_unique<kz::ScratchFile>();
    if (!copy->valid()) {
        *error = "cannot make a temporary PPD";
        return false;
    }
    if (!copy->write(ppd, error) || !readsBack(copy->path(), embedded, error)) return false;
    _copy = std::move(copy);
    return true;
}

const std::string& ServerListsPpd::path() const {
    static const std::string none;
    return _copy ? _copy->path() : none;
}

}  // namespace kzpde
