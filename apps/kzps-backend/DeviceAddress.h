// Where a kzps queue sends its jobs, read from its device URI:
//
//     kzps://HOST[:PORT]/printers/QUEUE[?service-port=P]
//
// HOST is the print server (a name, IPv4, or [IPv6]), PORT its IPP port (631
// when absent), QUEUE its queue. The service port belongs to the panel's
// list fetching and is only checked here. Jobs go to
// ipp://HOST:PORT/printers/QUEUE.
#pragma once

#include <optional>
#include <string>

namespace kzps {

class DeviceAddress {
public:
    static constexpr int kDefaultIppPort = 631;

    // nullopt with the reason in *error for anything but the form above.
    static std::optional<DeviceAddress> parse(const std::string& uri, std::string* error = nullptr);

    const std::string& host() const { return _host; }
    int port() const { return _port; }
    // "/printers/QUEUE", the resource of the print server's queue.
    const std::string& resource() const { return _resource; }
    // ipp://HOST:PORT/printers/QUEUE, for printer-uri.
    std::string printerUri() const;

private:
    std::string _host;
    int _port = kDefaultIppPort;
    std::string _resource;
};

}  // namespace kzps
