#include "platform/printing/CupsDestinations.h"

namespace kz {

std::vector<CupsDestinations::Destination> CupsDestinations::list(http_t* http) {
    cups_dest_t* dests = nullptr;
    int count = cupsGetDests2(http, &dests);
    std::vector<Destination> out;
    out.reserve(static_cast<std::size_t>(count));
    // libcups gives them sorted by name and instance already.
    for (int i = 0; i < count; ++i) {
        const cups_dest_t& dest = dests[i];
        Destination d;
        d.name = dest.name ? dest.name : "";
        d.instance = dest.instance ? dest.instance : "";
        d.isDefault = dest.is_default != 0;
        if (const char* uri = cupsGetOption("device-uri", dest.num_options, dest.options)) d.deviceURI = uri;
        if (const char* info = cupsGetOption("printer-info", dest.num_options, dest.options)) d.info = info;
        out.push_back(std::move(d));
    }
    cupsFreeDests(count, dests);
    return out;
}

}  // namespace kz
