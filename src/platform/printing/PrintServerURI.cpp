#include "platform/printing/PrintServerURI.h"

#include <cups/http.h>

#include <algorithm>
#include <charconv>

namespace kz {

namespace {

constexpr std::string_view kPrinters = "/printers/";
constexpr std::string_view kServicePortKey = "service-port";
// What CUPS takes in a queue name, less what would need escaping in the
// address's path (a queue name is written into it as it stands).
constexpr std::string_view kQueuePunctuation = "-._~!$&()*+,;=:@";
constexpr std::size_t kMaxQueue = 127;
constexpr std::size_t kMaxHost = 253;

bool isAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool refuse(std::string* error, std::string why) {
    if (error) *error = std::move(why);
    return false;
}

std::nullopt_t none(std::string* error, std::string why) {
    refuse(error, std::move(why));
    return std::nullopt;
}

// A port as decimal digits only, 1 to 65535.
std::optional<int> portOf(std::string_view text) {
    int value = 0;
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value < 1 || value > 65535) return std::nullopt;
    return value;
}

// A host name or IPv4 address, or an IPv6 address (bare, "%zone" allowed).
bool validHost(std::string_view host, std::string* error) {
    if (host.empty()) return refuse(error, "no print server host");
    if (host.size() > kMaxHost) return refuse(error, "the print server host is longer than 253 characters");
    if (host.find(':') != std::string_view::npos) {
        const std::size_t zone = host.find('%');
        std::string_view address = host.substr(0, zone);
        bool ok = std::all_of(address.begin(), address.end(), [](char c) { return isHex(c) || c == ':' || c == '.'; });
        if (zone != std::string_view::npos) {
            std::string_view name = host.substr(zone + 1);
            ok = ok && !name.empty() &&
                 std::all_of(name.begin(), name.end(), [](char c) { return isAlnum(c) || c == '-' || c == '.' || c == '_' || c == '~'; });
        }
        return ok || refuse(error, "'" + std::string(host) + "' is no IPv6 address");
    }
    const bool ok = host.front() != '-' && host.front() != '.' &&
                    std::all_of(host.begin(), host.end(), [](char c) { return isAlnum(c) || c == '-' || c == '.' || c == '_'; });
    return ok || refuse(error, "'" + std::string(host) + "' is no host name or IPv4 address (IPv6 goes in brackets)");
}

bool validQueue(std::string_view queue, std::string* error) {
    if (queue.empty()) return refuse(error, "no print server queue");
    if (queue.size() > kMaxQueue) return refuse(error, "the print server queue is longer than 127 characters");
    const bool ok = std::all_of(queue.begin(), queue.end(),
                                [](char c) { return isAlnum(c) || kQueuePunctuation.find(c) != std::string_view::npos; });
    return ok || refuse(error, "the print server queue '" + std::string(queue) +
                                   "' may hold only letters, digits and " + std::string(kQueuePunctuation));
}

// The host as it goes into an address: IPv6 in brackets, its zone's "%"
// escaped.
std::string hostPart(const std::string& host) {
    if (host.find(':') == std::string::npos) return host;
    std::string out = "[";
    for (char c : host) out += c == '%' ? std::string("%25") : std::string(1, c);
    return out + "]";
}

// The old rule: a host "v1.NAME+REST" names the server "NAME%REST".
std::string legacyHost(std::string name) {
    if (!name.starts_with("v1.")) return name;
    std::string_view rest = std::string_view(name).substr(3);
    const std::size_t plus = rest.find('+');
    if (plus == std::string_view::npos) return std::string(rest);
    return std::string(rest.substr(0, plus)).append(1, '%').append(rest.substr(plus + 1));
}

}  // namespace

std::optional<PrintServerURI> PrintServerURI::parse(std::string_view deviceURI, std::string* error) {
    if (deviceURI.empty()) return none(error, "no device address");
    if (deviceURI.size() > kMaxLength) return none(error, "the device address is longer than 1023 bytes");
    if (deviceURI.find('\0') != std::string_view::npos)
        return none(error, "the device address holds a NUL byte");
    const std::string uri(deviceURI);
    char scheme[32], user[256], host[HTTP_MAX_HOST], resource[HTTP_MAX_URI];
    int port = 0;
    PrintServerURI out;
    const std::size_t colon = uri.find(':');
    const bool product = colon != std::string::npos && uri.compare(0, colon, kScheme) == 0;
    if (!product) {
        // As the panel has always read it: the host as it stands.
        if (httpSeparateURI(HTTP_URI_CODING_NONE, uri.c_str(), scheme, sizeof scheme, user, sizeof user, host,
                            sizeof host, &port, resource, sizeof resource) < HTTP_URI_STATUS_OK ||
            !host[0])
            return none(error, "the device address '" + uri + "' names no print server");
        out._host = legacyHost(host);
        out._ippPort = port > 0 ? port : kIppPort;
        std::string_view path = resource;
        if (path.starts_with(kPrinters) && validQueue(path.substr(kPrinters.size()), nullptr))
            out._queue = std::string(path.substr(kPrinters.size()));
        out._productForm = false;
        return out;
    }

    // The host is decoded (an IPv6 zone's "%25"), the path is not: a queue
    // holds nothing that needs escaping.
    const http_uri_status_t status =
        httpSeparateURI(static_cast<http_uri_coding_t>(HTTP_URI_CODING_USERNAME | HTTP_URI_CODING_HOSTNAME), uri.c_str(),
                        scheme, sizeof scheme, user, sizeof user, host, sizeof host, &port, resource, sizeof resource);
    const std::string bad = "the device address '" + uri + "' ";
    if (status < HTTP_URI_STATUS_OK)
        return none(error, bad + "does not read: " + httpURIStatusString(status));
    if (user[0]) return none(error, bad + "names a user; the print server takes none here");
    std::string why;
    if (!validHost(host, &why)) return none(error, bad + "is refused: " + why);
    out._host = host;
    out._ippPort = port > 0 ? port : kIppPort;

    std::string_view path = resource;
    const std::size_t question = path.find('?');
    std::string_view query = question == std::string_view::npos ? std::string_view() : path.substr(question + 1);
    path = path.substr(0, question);
    if (!path.starts_with(kPrinters))
        return none(error, bad + "does not name the server's queue as /printers/QUEUE");
    if (!validQueue(path.substr(kPrinters.size()), &why)) return none(error, bad + "is refused: " + why);
    out._queue = std::string(path.substr(kPrinters.size()));

    bool seen = false;
    while (question != std::string_view::npos) {
        const std::size_t amp = query.find('&');
        std::string_view pair = query.substr(0, amp);
        const std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos || pair.substr(0, eq) != kServicePortKey || seen)
            return none(error, bad + "has a query other than one service-port=P");
        std::optional<int> servicePort = portOf(pair.substr(eq + 1));
        if (!servicePort) return none(error, bad + "has a service port that is not 1 to 65535");
        out._servicePort = *servicePort;
        seen = true;
        if (amp == std::string_view::npos) break;
        query = query.substr(amp + 1);
    }
    return out;
}

std::optional<PrintServerURI> PrintServerURI::make(std::string_view server, std::string_view queue, int servicePort,
                                                   std::string* error) {
    PrintServerURI out;
    std::string host;
    std::optional<std::string_view> portText;
    if (server.starts_with('[')) {
        const std::size_t close = server.find(']');
        if (close == std::string_view::npos) return none(error, "the server '" + std::string(server) + "' lacks its ']'");
        host = server.substr(1, close - 1);
        std::string_view after = server.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return none(error, "the server '" + std::string(server) + "' has text after its ']'");
            portText = after.substr(1);
        }
        // A zone may come escaped as in an address.
        if (const std::size_t zone = host.find("%25"); zone != std::string::npos) host.erase(zone + 1, 2);
        if (host.find(':') == std::string::npos)
            return none(error, "the server '" + std::string(server) + "' has no IPv6 address in its brackets");
    } else if (std::count(server.begin(), server.end(), ':') > 1) {
        host = server;  // a bare IPv6 address: no port can follow
    } else {
        const std::size_t colon = server.find(':');
        host = server.substr(0, colon);
        if (colon != std::string_view::npos) portText = server.substr(colon + 1);
    }
    std::string why;
    if (!validHost(host, &why)) return none(error, why);
    out._host = host;
    if (portText) {
        std::optional<int> port = portOf(*portText);
        if (!port) return none(error, "the server's port '" + std::string(*portText) + "' is not 1 to 65535");
        out._ippPort = *port;
    }
    if (!validQueue(queue, &why)) return none(error, why);
    out._queue = queue;
    if (servicePort < 1 || servicePort > 65535) return none(error, "the service port is not 1 to 65535");
    out._servicePort = servicePort;
    return out;
}

std::string PrintServerURI::server() const {
    return hostPart(_host) + (_ippPort == kIppPort ? std::string() : ":" + std::to_string(_ippPort));
}

std::string PrintServerURI::text() const {
    std::string out = std::string(kScheme) + "://" + server() + std::string(kPrinters) + _queue;
    if (_servicePort != kServicePort) out += "?" + std::string(kServicePortKey) + "=" + std::to_string(_servicePort);
    return out;
}

std::string PrintServerURI::ippURI() const {
    return "ipp://" + hostPart(_host) + ":" + std::to_string(_ippPort) + std::string(kPrinters) + _queue;
}

}  // namespace kz
