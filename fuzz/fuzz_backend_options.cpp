// The options CUPS hands the product's backend (argv[5]): whatever a client
// put on the job, read against a queue with finishings, defaults and sizes.
#include <cups/ipp.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "JobTicket.h"
#include "QueueDescription.h"

namespace {

const kzps::QueueDescription& queue() {
    static const kzps::QueueDescription made = [] {
        kzps::QueueDescription q;
        q.addFinishing({20, {{"StapleMode", "TopLeftCorner"}}});
        q.addFinishing({74, {{"Punch", "Left"}, {"PunchHoles", "Holes2"}}});
        q.addFinishing({93, {{"Fold", "Bifold"}}});
        q.setDefault("PageSize", "A4");
        q.setDefault("StapleMode", "None");
        q.addPageSize("A4", {21000, 29700});
        return q;
    }();
    return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view options(reinterpret_cast<const char*>(data), size);
    auto ticket = kzps::JobTicket::read(options, "title", 1, queue());
    if (ticket) {
        ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
        ticket->addTo(request);
        ippDelete(request);
    }
    return 0;
}
