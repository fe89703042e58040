#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

// The device address of a product queue and what it says about the print
// server behind it:
//
//     kzps://HOST[:PORT]/printers/QUEUE[?service-port=P]
//
// HOST is the print server (a name, an IPv4 address or an [IPv6] address,
// with its zone); PORT its IPP port (631 when absent); QUEUE its queue;
// P the print service's SOAP port (8888 when absent, and left out when
// composing 8888). The product's backend sends jobs to
// ipp://HOST:PORT/printers/QUEUE; the panel and the tool ask HOST at P for
// the server lists.
//
// Queues made before this address existed point at the server with any
// other scheme ("ipp://v1.NAME+REST/printers/..."): their host is read by
// the old rule (a host "v1.NAME+REST" names the server "NAME%REST", the
// first "+" standing for "%"), their service port is 8888.
//
// Device addresses come from queues anybody with admin rights may have
// made: parsing is bounded and says why it refuses.
class KZ_EXPORT PrintServerURI {
public:
    static constexpr const char* kScheme = "kzps";
    static constexpr int kIppPort = 631;
    static constexpr int kServicePort = 8888;
    static constexpr const char* kDefaultQueue = "KZPrintServer";
    // Longer addresses are refused unread; libcups' own limit.
    static constexpr std::size_t kMaxLength = 1023;

    // Reads a device address: the product's form, or the old one when the
    // scheme is another. nullopt with the reason in *error for an address
    // that names no print server or breaks the product's form.
    static std::optional<PrintServerURI> parse(std::string_view deviceURI, std::string* error = nullptr);

    // The product's address for SERVER ("HOST" or "HOST:PORT", an IPv6
    // address in brackets when a port follows), the server's QUEUE and the
    // SOAP port. nullopt with the reason for a part that does not fit.
    static std::optional<PrintServerURI> make(std::string_view server, std::string_view queue = kDefaultQueue,
                                              int servicePort = kServicePort, std::string* error = nullptr);

    // The print server as the SOAP client addresses it (an IPv6 address
    // bare, with "%zone").
    const std::string& host() const { return _host; }
    int ippPort() const { return _ippPort; }
    const std::string& queue() const { return _queue; }
    int servicePort() const { return _servicePort; }
    // True for the product's own form, false for the old one.
    bool isProductForm() const { return _productForm; }

    // The product's address (for the old form too: what it would be now).
    std::string text() const;
    // Where the backend sends jobs: ipp://HOST:PORT/printers/QUEUE.
    std::string ippURI() const;
    // "HOST" or "HOST:PORT" (IPv6 in brackets), as `--server` takes it.
    std::string server() const;

    bool operator==(const PrintServerURI&) const = default;

private:
    std::string _host;
    int _ippPort = kIppPort;
    std::string _queue = kDefaultQueue;
    int _servicePort = kServicePort;
    bool _productForm = true;
};

}  // namespace kz
