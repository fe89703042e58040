#pragma once

#include <cups/ppd.h>

#include <ctime>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include <vector>

#include "Common/WebService/ServerListFetch.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/ScratchFile.h"

namespace kzpde {

// The server lists of a print server, fetched whole into a PPD: every list
// the print service gives, as the panel reads them, and the time they were
// fetched (`*KZListsFetched: "2026-12-10T12:34:56Z"`, UTC), so that the
// queue's PPD says how old its lists are.
class ServerListsFetch {
public:
    static constexpr const char* kFetchedKeyword = "KZListsFetched";

    // Fetches every list with FETCH (one deadline for them all), writes
    // PPD_TEXT with them and the time into FILE, and reads that file back.
    // Each list is told on OUT with its rows. False with the reason in *why
    // when a list did not come whole (each such list told in *failed, one
    // line of FETCH's report each) or the written PPD does not carry them as
    // fetched; the file is then no PPD to install.
    static bool into(std::string_view ppdText, const ComTORVALEKZ2R4_Plugin::ServerListFetch& fetch,
                     kz::ScratchFile& file, std::ostream& out, std::string* why,
                     std::vector<std::string>* failed = nullptr);
    // The second half of into(), for lists fetched elsewhere (another
    // thread): GOT, complete or not, written with the time of now. The lists
    // written, decoded, in *written when given.
    static bool write(std::string_view ppdText, const ComTORVALEKZ2R4_Plugin::ServerListFetch& fetch,
                      const ComTORVALEKZ2R4_Plugin::ServerListFetch::Result& got, kz::ScratchFile& file,
                      std::ostream& out, std::string* why, std::vector<std::string>* failed = nullptr,
                      kz::Dictionary* written = nullptr);
    // Every server list a PPD carries, decoded (a list that does not decode
    // is left out).
    static kz::Dictionary listsOf(ppd_file_t* ppd);

    // PPD_TEXT with its fetch time set to WHEN (an earlier one replaced).
    static std::string stamped(std::string_view ppdText, std::time_t when);
    // The fetch time a PPD carries; nullopt when it has none or the value
    // is not such a time (a PPD is outside input).
    static std::optional<std::string> fetchedAt(ppd_file_t* ppd);
};

}  // namespace kzpde
