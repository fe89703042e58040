#pragma once

#include <cups/cups.h>
#include <cups/ppd.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"
#include "platform/printing/PrintSettings.h"

namespace kz {

// The options a print job carries to CUPS, made from the dialog's print
// settings and the host's PPD after the panel saved into them. In order:
//
//   1. every marked choice of the host's PPD that is not its option's
//      default, as "Keyword=Choice", in the PPD's order (a custom choice with
//      its values: "Custom.WxH" for a page size, "Custom.value" for one
//      parameter, "{Name=value ...}" for several);
//   2. every custom entry of the print settings under its full key, with
//      its escaped text exactly as stored, in the settings' order; but the
//      secure-print password, which goes as the job's "job-password" (an
//      operation attribute the scheduler passes on to the backend and shows
//      to no one, where a custom entry is readable by every local user);
//   3. "VLInputSlot" from the print settings;
//   4. "copies" (1 when unset), "Collate" ("True"/"False", the host's
//      collate setting) and "sides" (one-sided, two-sided-long-edge,
//      two-sided-short-edge) from the host's keys.
//
// A later source replaces an earlier option of the same name in its place,
// so the host's collate setting wins over a marked "Collate" choice.
class KZ_EXPORT JobOptions {
public:
    // How a value becomes an IPP attribute.
    enum class Kind {
        // libcups types it as for `lp -o`: numbers of known attributes,
        // booleans from "True"/"False", keywords.
        typed,
        // The text goes as it is, one name (or, longer than a name may be,
        // text) value: no quoting, no booleans, no collections from "{...}".
        text,
        // The bytes go as the job's password (job-password, octetString,
        // with job-password-encryption "none": the text is the panel's own
        // encoding, not a hash).
        password,
    };
    // The option that carries the secure-print password.
    static constexpr const char* kPasswordOption = "job-password";
    struct Option {
        std::string name;
        std::string value;
        Kind kind;
        bool operator==(const Option&) const = default;
    };

    JobOptions() = default;
    // PPD may be nullptr (a queue without PPD): only the print settings count.
    static JobOptions make(const PrintSettings& settings, ppd_file_t* ppd);

    const std::vector<Option>& options() const { return _options; }
    const Option* find(std::string_view name) const;
    // Sets NAME, replacing an option of that name in its place.
    void set(std::string name, std::string value, Kind kind);
    bool empty() const { return _options.empty(); }

    // Adds every option to the job group of an IPP request.
    void addTo(ipp_t* request) const;
    // One line of "name=value" words as `lp -o` and cupsParseOptions read
    // them; values that need it are quoted so they read back intact.
    std::string toString() const;

private:
    std::vector<Option> _options;
};

}  // namespace kz
