#include "Common/WebService/ServerListFetch.h"

#include <algorithm>
#include <chrono>

namespace ComTORVALEKZ2R4_Plugin {

ServerListFetch::ServerListFetch(std::string server, int port) : _server(std::move(server)), _port(port) {}

std::string ServerListFetch::serverName() const {
    const bool literalV6 = _server.find(':') != std::string::npos && !_server.starts_with("[");
    return (literalV6 ? "[" + _server + "]" : _server) + ":" + std::to_string(_port);
}

std::string ServerListFetch::describe(const Failure& failure) const {
    return failure.list + " from " + serverName() + ": " + failure.reason;
}

ServerListFetch::Result ServerListFetch::fetch(std::vector<std::string> names) const {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(std::max(0.0, _deadline)));
    if (names.empty()) names = WebServiceClient::queryNames();

    WebServiceClient client(_port);
    client.setMaxReplyBytes(kMaxReplyBytes);
    Result result;
    for (const std::string& name : names) {
        const double left = std::chrono::duration<double>(end - Clock::now()).count();
        // Below a millisecond no call can be answered; it is not started.
        if (left < 0.001) {
            result.failures.push_back({name, "timed out"});
            continue;
        }
        client.setTimeout(left);
        std::optional<WebServiceClient::Rows> rows = client.listNamed(name, _server);
        if (!rows) {
            const bool known = std::ranges::find(WebServiceClient::queryNames(), name) != WebServiceClient::queryNames().end();
            result.failures.push_back({name, known ? "not asked: this host must not contact servers" : "unknown list"});
        } else if (const auto& reason = client.lastReason()) {
            result.failures.push_back({name, *reason});
        } else {
            result.lists.emplace_back(name, std::move(*rows));
        }
    }
    return result;
}

}  // namespace ComTORVALEKZ2R4_Plugin
