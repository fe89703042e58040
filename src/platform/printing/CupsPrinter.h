#pragma once

#include <cups/cups.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Export.h"
#include "platform/foundation/ScratchFile.h"
#include "platform/printing/CupsJob.h"
#include "platform/printing/JobOptions.h"
#include "platform/printing/Printer.h"

namespace kz {

// A CUPS destination: a queue, or an lpoptions instance of one
// ("name/instance"), on the scheduler of a connection the caller keeps open
// for the printer's lifetime (or CUPS_HTTP_DEFAULT).
class KZ_EXPORT CupsPrinter : public Printer {
public:
    // The destination DESTINATION, or the default one when it is empty;
    // nullptr with the reason in *error when the scheduler has no such one.
    // Its PPD is fetched now, into a private file removed with the printer.
    static std::shared_ptr<CupsPrinter> open(const std::string& destination, http_t* http = CUPS_HTTP_DEFAULT,
                                             std::string* error = nullptr);
    ~CupsPrinter() override;
    CupsPrinter(const CupsPrinter&) = delete;
    CupsPrinter& operator=(const CupsPrinter&) = delete;

    std::string name() const override;
    std::optional<std::string> deviceURI() const override { return _deviceURI; }
    std::optional<std::string> ppdPath() const override { return _ppdPath; }
    // Sends a CUPS command file (the command on one line) as a job titled
    // JOB_TITLE; kPMIOErr when the queue takes no commands or the scheduler
    // refuses the job. OPTIONS are not used.
    OSStatus sendCommand(const std::string& command, const std::string& jobTitle, const Dictionary* options) override;

    const std::string& queue() const { return _queue; }
    const std::string& instance() const { return _instance; }

    // Prints the file at PATH: the instance's saved options first, OPTIONS
    // over them.
    CupsJob::Submitted print(const std::string& path, const std::string& title, const JobOptions& options,
                             const char* format = CUPS_FORMAT_AUTO) const;
    // The options of the job: the instance's saved options under OPTIONS.
    JobOptions jobOptions(const JobOptions& options) const;

private:
    CupsPrinter(http_t* http, cups_dest_t* dest);

    http_t* _http;
    std::string _queue;
    std::string _instance;
    std::optional<std::string> _deviceURI;
    std::optional<std::string> _ppdPath;
    std::unique_ptr<ScratchFile> _ppd;
    // What lpoptions saved for the destination, without the scheduler's own
    // attributes that libcups lists beside them.
    JobOptions _savedOptions;
};

}  // namespace kz
