// What a job asks of the print server, read from the options CUPS hands the
// backend (argv[5]) and the queue's PPD: the standard IPP job attributes,
// the secure-print password, and every option the panel or a dialog saved,
// which travels under its own name behind kOwnPrefix.
//
// A standard attribute follows the panel's own option when the job has one
// (DuplexMode, ColorModel, StapleMode, ...), because the scheduler adds
// standard attributes from the queue's defaults that the panel never chose.
#pragma once

#include <cups/ipp.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "QueueDescription.h"

namespace kzps {

class JobTicket {
public:
    // Every option of the job that is no standard attribute arrives as an
    // attribute named kOwnPrefix + its name (for example "kz-StapleMode").
    static constexpr const char* kOwnPrefix = "kz-";
    // Bounds of what the backend reads from argv[5]; a larger text is
    // refused, not cut.
    static constexpr std::size_t kMaxOptionsBytes = 256 * 1024;
    static constexpr std::size_t kMaxOptions = 4096;
    // Longer values are no IPP name or text.
    static constexpr std::size_t kMaxValueBytes = 1023;

    struct Option {
        std::string name;
        std::string value;
        bool operator==(const Option&) const = default;
    };

    // nullopt with the reason in *error when OPTIONS is beyond the bounds.
    // TITLE is the job's title (argv[3]), COPIES the copies the backend is
    // to ask for.
    static std::optional<JobTicket> read(std::string_view options, const std::string& title, int copies,
                                         const QueueDescription& queue, std::string* error = nullptr);

    const std::string& jobName() const { return _jobName; }
    int copies() const { return _copies; }
    // "" when the job does not say.
    const std::string& sides() const { return _sides; }
    const std::vector<int>& finishings() const { return _finishings; }
    const std::optional<QueueDescription::Size>& mediaSize() const { return _mediaSize; }
    const std::string& mediaSource() const { return _mediaSource; }
    const std::string& outputBin() const { return _outputBin; }
    const std::string& printColorMode() const { return _printColorMode; }
    const std::string& multipleDocumentHandling() const { return _multipleDocumentHandling; }
    // The secure-print password as the panel encoded it.
    const std::optional<std::string>& jobPassword() const { return _jobPassword; }
    // The options that travel behind kOwnPrefix, by name as libcups sorts
    // a parsed option line.
    const std::vector<Option>& ownOptions() const { return _own; }
    // True when the job carries the mark a completion in the panel writes
    // (QueueHold::kThroughPanel). The panel's own entries are no proof: a
    // published favorite or `lp -o` carries them too.
    bool fromPanel() const { return _fromPanel; }

    // Adds the job attributes to a Print-Job request.
    void addTo(ipp_t* request) const;

    // The panel's stored text of a custom entry as it was typed.
    static std::string unEscape(std::string_view stored);

private:
    std::string _jobName;
    int _copies = 1;
    std::string _sides;
    std::vector<int> _finishings;
    std::optional<QueueDescription::Size> _mediaSize;
    std::string _mediaSource;
    std::string _outputBin;
    std::string _printColorMode;
    std::string _multipleDocumentHandling;
    std::optional<std::string> _jobPassword;
    std::string _jobPasswordEncryption;
    std::vector<Option> _own;
    bool _fromPanel = false;
};

}  // namespace kzps
