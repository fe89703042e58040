#include "ProductQueues.h"

#include <cups/cups.h>
#include <cups/ppd.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

#include "JsonValue.h"
#include "ServerListsFetch.h"
#include "platform/foundation/FileBytes.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr std::size_t kMaxPpdBytes = 64u << 20;
constexpr std::size_t kMaxQueueName = 127;

struct PpdCloser {
    void operator()(ppd_file_t* p) const { ppdClose(p); }
};
using Ppd = std::unique_ptr<ppd_file_t, PpdCloser>;

std::string productPpd(const std::string& bundlePath) { return bundlePath + "/Contents/Resources/KZPrintServer.ppd"; }

// The model names a queue made from the product PPD shows (CUPS takes
// printer-make-and-model from the nickname, older versions from the model).
std::vector<std::string> productModels(const std::string& bundlePath) {
    std::vector<std::string> models;
    Ppd ppd(ppdOpenFile(productPpd(bundlePath).c_str()));
    if (!ppd) return models;
    for (const char* name : {ppd->nickname, ppd->modelname})
        if (name && *name) models.emplace_back(name);
    return models;
}

bool isProductQueue(const kz::CupsQueueAdmin::Queue& queue, const std::vector<std::string>& models) {
    if (queue.deviceURI.starts_with(std::string(kz::PrintServerURI::kScheme) + ":")) return true;
    return std::find(models.begin(), models.end(), queue.makeAndModel) != models.end();
}

// When the queue's PPD says its lists were fetched; nullopt for never, or
// for a PPD that cannot be had.
std::optional<std::string> listsFetched(const std::string& queue) {
    char path[1024] = "";
    time_t modified = 0;
    if (cupsGetPPD3(CUPS_HTTP_DEFAULT, queue.c_str(), &modified, path, sizeof path) != HTTP_STATUS_OK) return std::nullopt;
    Ppd ppd(ppdOpenFile(path));
    ::unlink(path);
    return ServerListsFetch::fetchedAt(ppd.get());
}

std::string padded(const std::string& text, std::size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

}  // namespace

std::optional<std::string> ProductQueues::nameProblem(const std::string& name) {
    // CUPS's own rule for queue names.
    if (name.empty()) return "a queue needs a name";
    if (name.size() > kMaxQueueName) return "a queue name has at most 127 bytes";
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == 127 || c == '/' || c == '\\' || c == '?' || c == '\'' || c == '"' || c == '#')
            return "a queue name holds no spaces, control characters, / \\ ? ' \" or #";
    }
    return std::nullopt;
}

kz::CupsQueueAdmin::Settings ProductQueues::settingsFor(const AddOptions& options, const kz::PrintServerURI& address) {
    kz::CupsQueueAdmin::Settings settings;
    settings.deviceURI = address.text();
    settings.info = "KZ Print Server " + address.server() + "/" + address.queue();
    settings.enabled = true;
    // Held jobs wait for the panel to complete and release them.
    settings.attributes.emplace_back("job-hold-until-default", options.hold ? "indefinite" : "no-hold");
    return settings;
}

int ProductQueues::add(const AddOptions& o, const std::string& bundlePath, std::ostream& out, std::ostream& err) {
    auto fail = [&](const std::string& why) {
        err << "kzpde queue add: " << why << "\n";
        return 1;
    };
    if (std::optional<std::string> problem = nameProblem(o.name))
        return fail("'" + o.name + "' is no queue name: " + *problem);
    std::string error;
    std::optional<kz::PrintServerURI> address = kz::PrintServerURI::make(o.server, o.printer, o.servicePort, &error);
    if (!address) return fail(error);
    std::string ppd;
    const std::string ppdPath = productPpd(bundlePath);
    if (kz::FileBytes::read(ppdPath, kMaxPpdBytes, &ppd) != kz::FileBytes::Status::ok)
        return fail("cannot read the product PPD " + ppdPath);

    kz::CupsQueueAdmin::askPasswordsOnTerminalOnly();
    std::optional<bool> exists = kz::CupsQueueAdmin::exists(CUPS_HTTP_DEFAULT, o.name, &error);
    if (!exists) return fail("the scheduler cannot be asked for queues: " + error);
    if (*exists) return fail("a queue " + o.name + " exists already; `kzpde queue remove " + o.name + "` first");

    // The lists come before the queue, so that it is made in one request
    // and nothing is left to undo when the print service is away.
    kz::ScratchFile withLists;
    std::ostringstream told;
    std::string why;
    const kzp::ServerListFetch fetch(address->host(), address->servicePort());
    const bool fetched = ServerListsFetch::into(ppd, fetch, withLists, told, &why);
    if (!fetched)
        err << "kzpde queue add: warning: no server lists from the print service at " << address->host() << " port "
            << address->servicePort() << " (" << why << "); the queue keeps the product's until `kzpde server refresh --printer "
            << o.name << "`\n";

    if (!kz::CupsQueueAdmin::addModify(CUPS_HTTP_DEFAULT, o.name, settingsFor(o, *address),
                                       fetched ? withLists.path() : ppdPath, &error)) {
        // The scheduler makes the queue before it checks the rest of the
        // request: what it refused may stand half-made.
        std::string ignored;
        if (kz::CupsQueueAdmin::exists(CUPS_HTTP_DEFAULT, o.name, &ignored).value_or(false))
            kz::CupsQueueAdmin::remove(CUPS_HTTP_DEFAULT, o.name, &ignored);
        return fail("the scheduler refused the queue " + o.name + ": " + error);
    }
    out << "added the queue " << o.name << " for " << address->text()
        << (fetched ? " with the server lists" : " without the server lists") << (o.hold ? ", every job held" : "")
        << "\n";
    return 0;
}

int ProductQueues::remove(const std::string& name, const std::string& bundlePath, std::ostream& out, std::ostream& err) {
    auto fail = [&](const std::string& why) {
        err << "kzpde queue remove: " << why << "\n";
        return 1;
    };
    if (std::optional<std::string> problem = nameProblem(name)) return fail("'" + name + "' is no queue name: " + *problem);
    kz::CupsQueueAdmin::askPasswordsOnTerminalOnly();
    std::string error;
    std::optional<std::vector<kz::CupsQueueAdmin::Queue>> queues = kz::CupsQueueAdmin::queues(CUPS_HTTP_DEFAULT, &error);
    if (!queues) return fail("the scheduler cannot list its queues: " + error);
    // CUPS finds queue names in any case.
    auto found = std::find_if(queues->begin(), queues->end(),
                              [&](const auto& q) { return ::strcasecmp(q.name.c_str(), name.c_str()) == 0; });
    if (found == queues->end()) return fail("no queue " + name);
    // Other queues are lpadmin's to delete.
    if (!isProductQueue(*found, productModels(bundlePath)))
        return fail("the queue " + found->name + " is no queue of the product; `lpadmin -x` deletes others");
    if (!kz::CupsQueueAdmin::remove(CUPS_HTTP_DEFAULT, found->name, &error))
        return fail("the scheduler did not delete the queue " + found->name + ": " + error);
    out << "removed the queue " << found->name << "\n";
    return 0;
}

std::optional<std::vector<ProductQueues::Listed>> ProductQueues::productQueues(const std::string& bundlePath,
                                                                               std::string* error) {
    std::optional<std::vector<kz::CupsQueueAdmin::Queue>> queues = kz::CupsQueueAdmin::queues(CUPS_HTTP_DEFAULT, error);
    if (!queues) return std::nullopt;
    const std::vector<std::string> models = productModels(bundlePath);
    std::vector<Listed> out;
    for (const auto& queue : *queues) {
        if (!isProductQueue(queue, models)) continue;
        out.push_back({queue.name, queue.deviceURI, kz::PrintServerURI::parse(queue.deviceURI), queue.holdUntil,
                       listsFetched(queue.name)});
    }
    return out;
}

int ProductQueues::list(bool json, const std::string& bundlePath, std::ostream& out, std::ostream& err) {
    std::string error;
    std::optional<std::vector<Listed>> queues = productQueues(bundlePath, &error);
    if (!queues) {
        err << "kzpde queue list: the scheduler cannot list its queues: " << error << "\n";
        return 1;
    }
    if (json) {
        nlohmann::ordered_json array = nlohmann::ordered_json::array();
        for (const Listed& q : *queues) {
            const auto& a = q.address;
            nlohmann::ordered_json none;
            array.push_back({{"name", q.name},
                             {"deviceURI", q.deviceURI},
                             {"server", a ? nlohmann::ordered_json(a->server()) : none},
                             {"host", a ? nlohmann::ordered_json(a->host()) : none},
                             {"ippPort", a ? nlohmann::ordered_json(a->ippPort()) : none},
                             {"printer", a ? nlohmann::ordered_json(a->queue()) : none},
                             {"servicePort", a ? nlohmann::ordered_json(a->servicePort()) : none},
                             {"hold", q.hold},
                             {"listsFetched", q.listsFetched ? nlohmann::ordered_json(*q.listsFetched) : none}});
        }
        writeJson(out, array);
        return 0;
    }
    std::vector<std::vector<std::string>> rows{{"NAME", "SERVER", "HOLD", "LISTS FETCHED"}};
    for (const Listed& q : *queues)
        rows.push_back({q.name, q.address ? q.address->server() + "/" + q.address->queue() : "?", q.hold,
                        q.listsFetched.value_or("never")});
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) line += i + 1 < row.size() ? padded(row[i], widths[i] + 2) : row[i];
        out << line << "\n";
    }
    return 0;
}

}  // namespace kzpde
