#include "support/ServerRefresh.h"

#include <atomic>
#include <future>
#include <memory>
#include <ostream>
#include <thread>
#include <vector>

#include "Common/WebService/WebServiceClient.h"
#include "support/ProductQueues.h"
#include "support/QueueListsRefresh.h"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

int ServerRefresh::run(const Request& r, std::ostream& out, std::ostream& err) {
    QueueListsRefresh refresh(r.printer, r.server, r.port, r.timeout);
    auto told = [&] {
        err << "kzpde server refresh: " << refresh.why() << (refresh.keptPpd() ? "; the queue keeps its PPD" : "")
            << "\n";
        return 1;
    };
    if (!refresh.open()) return told();
    out << "print server: " << refresh.server() << refresh.serverOrigin() << "\n";
    kzp::WebServiceClient::setHostApplicationName("kzpde");
    refresh.fetch();
    if (refresh.install(&out) == QueueListsRefresh::Outcome::failed) {
        for (const std::string& line : refresh.failedLists()) err << "kzpde server refresh: " << line << "\n";
        return told();
    }
    out << "installed the PPD with " << refresh.listCount() << " lists into the queue " << refresh.queue() << "\n";
    return 0;
}

int ServerRefresh::runAll(double timeout, const std::string& bundlePath, std::ostream& out, std::ostream& err) {
    std::string error;
    std::optional<std::vector<ProductQueues::Listed>> listed = ProductQueues::productQueues(bundlePath, &error);
    if (!listed) {
        err << "kzpde server refresh: the scheduler cannot list its queues: " << error << "\n";
        return 1;
    }
    if (listed->empty()) {
        out << "no queues of the product on this scheduler\n";
        return 0;
    }
    // The scheduler is asked from this thread only; the print servers, each
    // of which may take the whole deadline, from a few threads at once.
    std::vector<std::unique_ptr<QueueListsRefresh>> refreshes;
    std::vector<bool> opened;
    for (const ProductQueues::Listed& queue : *listed) {
        refreshes.push_back(std::make_unique<QueueListsRefresh>(queue.name, std::nullopt, 0, timeout));
        opened.push_back(refreshes.back()->open());
    }
    kzp::WebServiceClient::setHostApplicationName("kzpde");
    std::vector<std::promise<void>> fetched(refreshes.size());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < refreshes.size();) {
            if (opened[i]) refreshes[i]->fetch();
            fetched[i].set_value();
        }
    };
    std::vector<std::thread> workers;
    for (std::size_t n = 0; n < std::min(kFetchesAtOnce, refreshes.size()); ++n) workers.emplace_back(work);

    // Each queue is installed, in the order listed, as soon as its lists are in.
    std::vector<std::string> failed;
    for (std::size_t i = 0; i < refreshes.size(); ++i) {
        fetched[i].get_future().wait();
        QueueListsRefresh& r = *refreshes[i];
        const QueueListsRefresh::Outcome outcome = opened[i] ? r.install(nullptr) : QueueListsRefresh::Outcome::failed;
        out << r.queue() << ": ";
        switch (outcome) {
            case QueueListsRefresh::Outcome::refreshed: out << "refreshed (lists from " << r.serverName() << ")\n"; break;
            case QueueListsRefresh::Outcome::unchanged: out << "unchanged (lists from " << r.serverName() << ")\n"; break;
            case QueueListsRefresh::Outcome::failed:
                out << "failed: " << r.why();
                // The first list that did not come tells why the others did not either.
                if (!r.failedLists().empty())
                    out << " (" << r.failedLists().front() << (r.failedLists().size() > 1 ? ", ..." : "") << ")";
                out << (r.keptPpd() ? "; the queue keeps its PPD" : "") << "\n";
                for (const std::string& line : r.failedLists())
                    err << "kzpde server refresh: " << r.queue() << ": " << line << "\n";
                failed.push_back(r.queue());
                break;
        }
        out.flush();
    }
    for (std::thread& worker : workers) worker.join();
    if (failed.empty()) return 0;
    err << "kzpde server refresh: " << failed.size() << " of " << refreshes.size() << " queues failed:";
    for (const std::string& name : failed) err << " " << name;
    err << "\n";
    return 1;
}

}  // namespace kzpde
