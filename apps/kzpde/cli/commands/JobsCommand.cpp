// kzpde jobs: the user's held jobs on the product's queues.
#include <nlohmann/json.hpp>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "cli/DeclaredOptions.h"
#include "support/BundleLocation.h"
#include "support/HeldJobs.h"
#include "support/JsonValue.h"

namespace {

int run(bool json, kzpde::Invocation& inv) {
    kzpde::HeldJobs jobs(kzpde::BundleLocation::path());
    std::string error;
    const auto held = jobs.list(&error);
    if (!held) {
        inv.err << "kzpde jobs: the scheduler cannot list the jobs: " << error << "\n";
        return kzpde::kFailure;
    }
    if (json) {
        nlohmann::ordered_json array = nlohmann::ordered_json::array();
        for (const auto& [job, forPanel] : *held) {
            nlohmann::ordered_json options = nlohmann::ordered_json::object();
            for (const auto& option : job.options) options[option.name] = option.value;
            array.push_back({{"id", job.id},
                             {"queue", job.queue},
                             {"title", job.title},
                             {"options", options},
                             {"created", job.createdText()},
                             {"holdUntil", job.holdUntil},
                             {"forPanel", forPanel}});
        }
        kzpde::writeJson(inv.out, array);
        return kzpde::kOk;
    }
    for (const auto& [job, forPanel] : *held) {
        inv.out << job.id << "  " << job.queue << "  " << job.createdText() << "  "
                << (forPanel ? "held for the panel" : "held (" + job.holdUntil + ")") << "  " << job.title << "\n";
        std::string line;
        for (const auto& option : job.options) line += " " + option.name + "=" + option.value;
        if (!line.empty()) inv.out << "    options:" << line << "\n";
    }
    return kzpde::kOk;
}

const kzpde::Command::Registration registration{{
    "jobs",
    "the user's held jobs on the KZ Print Server queues",
    "Lists the jobs of the user that are held on the product's CUPS queues, oldest\n"
    "first: the job's id, its queue, when it was sent, why it is held and its title,\n"
    "then the options it carries (what the application or `lp -o` chose). A job is\n"
    "held for the panel when its queue holds every job (`kzpde queue add --hold`), it\n"
    "is held until released, and it has not been through the panel; `kzpde release`\n"
    "completes it. Other held jobs (held by an operator or with `lp -H`) are listed\n"
    "as held, with their job-hold-until.\n\n"
    "--json: an array of objects with \"id\", \"queue\", \"title\", \"options\" (name to\n"
    "value, as `lp -o` writes them), \"created\" (UTC, ISO 8601), \"holdUntil\" and\n"
    "\"forPanel\". Exit status 1 when the scheduler cannot be asked.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto json = std::make_shared<bool>(false);
        kzpde::DeclaredOptions::json(app, *json);
        return [json](kzpde::Invocation& inv) { return run(*json, inv); };
    },
}};

}  // namespace
