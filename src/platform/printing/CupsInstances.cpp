#include "platform/printing/CupsInstances.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kz {

namespace {

// The destinations as libcups merges them (the scheduler's queues, the
// system's and the user's lpoptions), freed with the object.
struct Dests {
    explicit Dests(http_t* http) { count = cupsGetDests2(http, &list); }
    ~Dests() { cupsFreeDests(count, list); }
    Dests(const Dests&) = delete;
    Dests& operator=(const Dests&) = delete;

    cups_dest_t* find(const std::string& queue, const char* instance) const {
        return cupsGetDest(queue.c_str(), instance, count, list);
    }
    int count = 0;
    cups_dest_t* list = nullptr;
};

std::string lastError(const char* what) {
    const char* reason = cupsLastErrorString();
    return std::string(what) + ": " + (reason && *reason ? reason : std::strerror(errno));
}

CupsInstances::Outcome writeDests(http_t* http, Dests& dests, std::string* error) {
    errno = 0;
    if (cupsSetDests2(http, dests.count, dests.list) == 0) return CupsInstances::Outcome::Done;
    if (error) *error = lastError(("cannot write " + CupsInstances::lpoptionsPath()).c_str());
    return CupsInstances::Outcome::Failed;
}

}  // namespace

bool CupsInstances::isInstanceName(const std::string& name, std::string* why) {
    auto refuse = [&](const char* reason) {
        if (why) *why = reason;
        return false;
    };
    if (name.empty()) return refuse("an instance needs a name");
    for (unsigned char c : name) {
        if (c == ' ' || c == '\t' || c < 0x20 || c == 0x7f)
            return refuse("an instance's name cannot hold spaces or control characters (lpoptions splits there)");
        if (c == '/') return refuse("an instance's name cannot hold \"/\"");
    }
    return true;
}

std::string CupsInstances::lpoptionsPath() {
    // As libcups chooses: the home's file whenever there is a home (root's
    // too), the server root's only without one.
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.cups/lpoptions";
    const char* root = std::getenv("CUPS_SERVERROOT");
    return std::string(root && *root ? root : "/etc/cups") + "/lpoptions";
}

CupsInstances::Outcome CupsInstances::save(http_t* http, const std::string& queue, const std::string& name,
                                           const JobOptions& options, std::string* error) {
    auto fail = [&](Outcome outcome, const std::string& why) {
        if (error) *error = why;
        return outcome;
    };
    if (std::string why; !isInstanceName(name, &why)) return fail(Outcome::Refused, name + ": " + why);
    for (const JobOptions::Option& option : options.options())
        if (option.kind == JobOptions::Kind::password)
            return fail(Outcome::Refused, "the options hold a password, which lpoptions would keep as plain text");
    Dests dests(http);
    if (!dests.find(queue, nullptr)) return fail(Outcome::NoQueue, "there is no printer \"" + queue + "\"");
    // Made anew, so that nothing an earlier version held stays; libcups
    // copies the queue's options into a new instance, which are dropped too.
    dests.count = cupsRemoveDest(queue.c_str(), name.c_str(), dests.count, &dests.list);
    dests.count = cupsAddDest(queue.c_str(), name.c_str(), dests.count, &dests.list);
    cups_dest_t* instance = dests.find(queue, name.c_str());
    if (!instance) return fail(Outcome::Failed, "libcups made no instance " + queue + "/" + name);
    cupsFreeOptions(instance->num_options, instance->options);
    instance->num_options = 0;
    instance->options = nullptr;
    // lpoptions writes an empty value as the bare name, which reads back as
    // "true": an empty text would arrive as "True". Left out, it is unset.
    for (const JobOptions::Option& option : options.options())
        if (!option.value.empty())
            instance->num_options =
                cupsAddOption(option.name.c_str(), option.value.c_str(), instance->num_options, &instance->options);
    return writeDests(http, dests, error);
}

CupsInstances::Outcome CupsInstances::remove(http_t* http, const std::string& queue, const std::string& name,
                                             std::string* error) {
    Dests dests(http);
    if (!dests.find(queue, name.c_str())) {
        if (error) *error = "there is no instance " + queue + "/" + name;
        return Outcome::NoInstance;
    }
    dests.count = cupsRemoveDest(queue.c_str(), name.c_str(), dests.count, &dests.list);
    return writeDests(http, dests, error);
}

}  // namespace kz
