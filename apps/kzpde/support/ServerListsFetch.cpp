#include "ServerListsFetch.h"

#include <memory>
#include <ostream>

#include "Common/WebService/PrinterData.h"
#include "Common/WebService/WebServiceClient.h"
#include "platform/foundation/PropertyList.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr std::size_t kTimeLength = 20;  // 2026-12-10T12:34:56Z

struct PpdCloser {
    void operator()(ppd_file_t* p) const { ppdClose(p); }
};

kz::Value rowsValue(const kzp::WebServiceClient::Rows& rows) {
    kz::Array list;
    for (const auto& row : rows) {
        kz::Array cells;
        for (const auto& cell : row) cells.emplace_back(cell);
        list.emplace_back(std::move(cells));
    }
    return kz::Value(std::move(list));
}

bool isTime(std::string_view text) {
    constexpr std::string_view shape = "dddd-dd-ddTdd:dd:ddZ";
    if (text.size() != kTimeLength) return false;
    for (std::size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == 'd' ? (text[i] < '0' || text[i] > '9') : text[i] != shape[i]) return false;
    return true;
}

}  // namespace

std::string ServerListsFetch::stamped(std::string_view ppdText, std::time_t when) {
    const std::string prefix = std::string("*") + kFetchedKeyword + ":";
    std::string result;
    result.reserve(ppdText.size() + 64);
    std::size_t at = 0;
    while (at < ppdText.size()) {
        std::size_t end = ppdText.find('\n', at);
        end = end == std::string_view::npos ? ppdText.size() : end + 1;
        std::string_view line = ppdText.substr(at, end - at);
        if (!line.starts_with(prefix)) result.append(line);
        at = end;
    }
    if (!result.empty() && result.back() != '\n') result += '\n';
    std::tm utc{};
    char time[kTimeLength + 1] = "";
    if (gmtime_r(&when, &utc)) std::strftime(time, sizeof time, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return result + prefix + " \"" + time + "\"\n";
}

std::optional<std::string> ServerListsFetch::fetchedAt(ppd_file_t* ppd) {
    ppd_attr_t* attr = ppd ? ppdFindAttr(ppd, kFetchedKeyword, nullptr) : nullptr;
    if (!attr || !attr->value || !isTime(attr->value)) return std::nullopt;
    return std::string(attr->value);
}

kz::Dictionary ServerListsFetch::listsOf(ppd_file_t* ppd) {
    kz::Dictionary lists;
    if (!ppd) return lists;
    for (const std::string& name : kzp::PrinterData::runNames(ppd))
        if (std::optional<std::string> bytes = kzp::PrinterData::read(ppd, name)) {
            kz::Value list = kz::PropertyList::read(*bytes);
            if (!list.isNull()) lists.set(name, std::move(list));
        }
    return lists;
}

bool ServerListsFetch::into(std::string_view ppdText, const kzp::ServerListFetch& fetch, kz::ScratchFile& file,
                            std::ostream& out, std::string* why, std::vector<std::string>* failed) {
    kzp::WebServiceClient::setHostApplicationName("kzpde");
    return write(ppdText, fetch, fetch.fetch(), file, out, why, failed);
}

bool ServerListsFetch::write(std::string_view ppdText, const kzp::ServerListFetch& fetch,
                             const kzp::ServerListFetch::Result& got, kz::ScratchFile& file, std::ostream& out,
                             std::string* why, std::vector<std::string>* failed, kz::Dictionary* written) {
    auto fail = [why](std::string reason) {
        *why = std::move(reason);
        return false;
    };
    if (!got.complete()) {
        if (failed)
            for (const auto& failure : got.failures) failed->push_back(fetch.describe(failure));
        return fail(std::to_string(got.failures.size()) + " of " +
                    std::to_string(kzp::WebServiceClient::queryNames().size()) + " lists did not come");
    }
    std::string ppd(ppdText);
    kz::Dictionary lists;
    for (const auto& [name, rows] : got.lists) {
        out << "  " << name << ": " << rows.size() << (rows.size() == 1 ? " row" : " rows") << "\n";
        lists.set(name, rowsValue(rows));
        ppd = kzp::PrinterData::embed(ppd, name, kz::PropertyList::toXml(lists.get(name)));
    }
    ppd = stamped(ppd, std::time(nullptr));

    // What goes to the scheduler must carry every list as fetched.
    std::string error;
    // Nameless, so a run killed at any point leaves no file behind.
    if (!file.valid() || !file.write(ppd, &error))
        return fail("cannot write the new PPD" + (error.empty() ? "" : ": " + error));
    std::unique_ptr<ppd_file_t, PpdCloser> check(ppdOpenFile(file.path().c_str()));
    if (!check) return fail(std::string("the new PPD does not read: ") + ppdErrorString(ppdLastError(nullptr)));
    for (const auto& [name, list] : lists) {
        std::optional<std::string> bytes = kzp::PrinterData::read(check.get(), name);
        if (!bytes || kz::PropertyList::read(*bytes) != list) {
            const std::size_t size = kz::PropertyList::toXml(list).size();
            return fail("the new PPD does not carry the list " + name +
                        (size > kzp::PrinterData::kMaxCapacity
                             ? " (" + std::to_string(size) + " bytes as a property list, more than the panel reads)"
                             : std::string()));
        }
    }
    if (!fetchedAt(check.get())) return fail("the new PPD does not carry the time of the fetch");
    if (written) *written = std::move(lists);
    return true;
}

}  // namespace kzpde
