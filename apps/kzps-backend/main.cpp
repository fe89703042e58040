// kzps: the CUPS backend of KZ Print Server queues (backend(7)).
//
//     kzps                                      the discovery line
//     kzps job-id user title copies options [file]
//
// The device URI (DEVICE_URI) names the print server; the job goes there
// over IPP with the options the panel saved as job attributes.
#include <cups/backend.h>
#include <cups/cups.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "DeviceAddress.h"
#include "JobSender.h"
#include "JobTicket.h"
#include "QueueDescription.h"
#include "QueueHold.h"

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The type of what the backend is given: the filters' output type, not
// the type the job was submitted as.
std::string documentFormat(bool filtered) {
    std::string type = environment(filtered ? "FINAL_CONTENT_TYPE" : "CONTENT_TYPE");
    if (type.empty() || type.rfind("printer/", 0) == 0) return "application/octet-stream";
    if (type == "application/vnd.cups-postscript") return "application/postscript";
    if (type == "application/vnd.cups-pdf") return "application/pdf";
    return type;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 1) {
        std::cout << "network kzps \"Unknown\" \"KZ Print Server (IPP)\"\n";
        return CUPS_BACKEND_OK;
    }
    if (argc < 6 || argc > 7) {
        std::cerr << "Usage: " << argv[0] << " job-id user title copies options [file]\n";
        return CUPS_BACKEND_FAILED;
    }
    std::signal(SIGPIPE, SIG_IGN);

    const char* uri = cupsBackendDeviceURI(argv);
    std::string why;
    auto address = kzps::DeviceAddress::parse(uri ? uri : "", &why);
    if (!address) {
        std::cerr << "ERROR: " << why << "\n";
        return CUPS_BACKEND_STOP;
    }

    kzps::QueueDescription queue;
    if (const std::string ppd = environment("PPD"); !ppd.empty()) {
        if (auto loaded = kzps::QueueDescription::load(ppd, &why)) {
            queue = std::move(*loaded);
        } else {
            std::cerr << "WARNING: " << why << "; the job goes without the PPD's finishings\n";
        }
    }

    // With a file the job comes unfiltered and the server makes the
    // copies; from standard input the filters made them already.
    const bool fromFile = argc == 7;
    const int copies = fromFile ? std::atoi(argv[4]) : 1;
    auto ticket = kzps::JobTicket::read(argv[5], argv[3], copies, queue, &why);
    if (!ticket) {
        std::cerr << "ERROR: The job cannot be sent: " << why << "\n";
        return CUPS_BACKEND_CANCEL;
    }

    // A queue that holds its jobs for the panel holds every job that has
    // not been through it: an application may have sent the job with
    // job-hold-until=no-hold, or someone released it without the panel.
    // Released after completion, the job runs its filters again with the
    // panel's options.
    if (!ticket->fromPanel()) {
        const std::optional<bool> holds = kzps::QueueHold::holdsJobs(environment("PRINTER"), &why);
        if (!holds) {
            std::cerr << "WARNING: Cannot tell whether the queue holds jobs for the panel (" << why
                      << "); the job goes as it is\n";
        } else if (*holds) {
            // The filters' output is read to its end, so that they finish
            // without error before the job is held.
            if (!fromFile) {
                char buffer[65536];
                while (::read(0, buffer, sizeof buffer) > 0) {
                }
            }
            std::cerr << "INFO: Held until it is completed in the print panel (kzpde release or the agent)\n";
            return CUPS_BACKEND_HOLD;
        }
    }

    kzps::JobSender::Job job;
    job.id = std::atoi(argv[1]);
    job.user = argv[2];
    job.format = documentFormat(!fromFile);
    job.documentFd = 0;
    if (fromFile) {
        job.documentFd = ::open(argv[6], O_RDONLY | O_CLOEXEC);
        if (job.documentFd < 0) {
            std::cerr << "ERROR: The document " << argv[6] << " cannot be read: " << std::strerror(errno) << "\n";
            return CUPS_BACKEND_FAILED;
        }
    }

    kzps::JobSender sender(*address, std::cerr);
    if (const std::string user = environment("AUTH_USERNAME"); !user.empty())
        sender.setCredentials(user, environment("AUTH_PASSWORD"));
    const cups_backend_t result = sender.send(job, *ticket);
    if (fromFile) ::close(job.documentFd);
    return result;
}
