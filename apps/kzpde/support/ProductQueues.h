#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/printing/CupsQueueAdmin.h"
#include "platform/printing/PrintServerURI.h"

namespace kzpde {

// The CUPS queues of the product: made for a print server from the
// bundle's PPD with the product's device address, listed, and deleted,
// over IPP on the scheduler the environment names (CUPS_SERVER, a remote
// one too). A queue is the product's when its device address has the
// product's scheme or its model is the product PPD's.
//
// The work only: the command reads its arguments into these options.
class ProductQueues {
public:
    struct AddOptions {
        std::string name;    // the new CUPS queue
        std::string server;  // HOST[:PORT] of the print server
        std::string printer = kz::PrintServerURI::kDefaultQueue;  // the server's queue
        int servicePort = kz::PrintServerURI::kServicePort;
        bool hold = false;  // every job held until released
    };

    // One product queue as `list` shows it.
    struct Listed {
        std::string name;
        std::string deviceURI;
        std::optional<kz::PrintServerURI> address;  // none when it does not read
        std::string hold;                           // job-hold-until-default
        std::optional<std::string> listsFetched;    // UTC, as the PPD keeps it
    };

    // Every setting a new product queue gets besides its PPD: the place to
    // add what the queue needs for the print server (auth-info-required for
    // a password the backend asks for, ...).
    static kz::CupsQueueAdmin::Settings settingsFor(const AddOptions& options, const kz::PrintServerURI& address);

    // Each prints what was done on OUT, or one line why not on ERR; the
    // exit status: 0 done, 1 refused or failed (nothing changed).
    static int add(const AddOptions& options, const std::string& bundlePath, std::ostream& out, std::ostream& err);
    static int remove(const std::string& name, const std::string& bundlePath, std::ostream& out, std::ostream& err);
    static int list(bool json, const std::string& bundlePath, std::ostream& out, std::ostream& err);

    // The product queues of the scheduler, by name; nullopt with the reason
    // in *error when it cannot be asked.
    static std::optional<std::vector<Listed>> productQueues(const std::string& bundlePath, std::string* error);
    // Why CUPS would refuse NAME as a queue name; nullopt when it takes it.
    static std::optional<std::string> nameProblem(const std::string& name);
};

}  // namespace kzpde
