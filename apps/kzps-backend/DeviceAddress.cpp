#include "DeviceAddress.h"

#include <cups/http.h>

#include <cstdlib>
#include <cstring>

namespace kzps {

namespace {

constexpr const char* kScheme = "kzps";
constexpr const char* kQueueFolder = "/printers/";
constexpr const char* kServicePortKey = "service-port=";

bool fail(std::string* error, const std::string& reason) {
    if (error) *error = reason;
    return false;
}

bool isPort(const char* text) {
    if (!*text || std::strlen(text) > 5) return false;
    for (const char* c = text; *c; ++c)
        if (*c < '0' || *c > '9') return false;
    long port = std::strtol(text, nullptr, 10);
    return port > 0 && port < 65536;
}

// A queue name as CUPS allows it: printable, no space, "/", "#" or "?".
bool isQueueName(const std::string& name) {
    if (name.empty() || name.size() > 127) return false;
    for (unsigned char c : name)
        if (c <= ' ' || c == 127 || c == '/' || c == '#' || c == '?' || c == '\\' || c == '\'' || c == '"')
            return false;
    return true;
}

}  // namespace

std::optional<DeviceAddress> DeviceAddress::parse(const std::string& uri, std::string* error) {
    if (uri.size() > HTTP_MAX_URI - 1) {
        fail(error, "the device URI is too long");
        return std::nullopt;
    }
    char scheme[32], user[256], host[256], resource[HTTP_MAX_URI];
    int port = 0;
    if (httpSeparateURI(HTTP_URI_CODING_ALL, uri.c_str(), scheme, sizeof scheme, user, sizeof user, host, sizeof host,
                        &port, resource, sizeof resource) < HTTP_URI_STATUS_OK ||
        std::strcmp(scheme, kScheme) != 0 || !*host) {
        fail(error, "the device URI \"" + uri + "\" is not kzps://HOST[:PORT]/printers/QUEUE");
        return std::nullopt;
    }
    std::string path = resource, query;
    if (auto mark = path.find('?'); mark != std::string::npos) {
        query = path.substr(mark + 1);
        path.erase(mark);
    }
    const std::string folder = kQueueFolder;
    if (path.compare(0, folder.size(), folder) != 0 || !isQueueName(path.substr(folder.size()))) {
        fail(error, "the device URI \"" + uri + "\" names no queue (/printers/QUEUE)");
        return std::nullopt;
    }
    if (!query.empty() && (query.compare(0, std::strlen(kServicePortKey), kServicePortKey) != 0 ||
                           !isPort(query.c_str() + std::strlen(kServicePortKey)))) {
        fail(error, "the device URI \"" + uri + "\" has a query other than service-port=PORT");
        return std::nullopt;
    }
    DeviceAddress address;
    address._host = host;
    // httpSeparateURI gives the scheme's own default for a missing port,
    // which it does not know for kzps.
    address._port = port > 0 ? port : kDefaultIppPort;
    address._resource = path;
    return address;
}

std::string DeviceAddress::printerUri() const {
    char uri[HTTP_MAX_URI];
    httpAssembleURI(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, _host.c_str(), _port, _resource.c_str());
    return uri;
}

}  // namespace kzps
