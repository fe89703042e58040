// kzpde ppd lists / ppd embed-lists: the server lists a printer's PPD carries,
// decoded, and a PPD written to carry a given set of them.
#include <cups/ppd.h>

#include <memory>
#include <ostream>

#include "cli/Command.h"
#include <CLI/CLI.hpp>
#include "Common/WebService/PrinterData.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyList.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr std::size_t kMaxPpdBytes = 64u << 20;

struct PpdCloser {
    void operator()(ppd_file_t* p) const { ppdClose(p); }
};

int lists(const std::string& file, const std::optional<std::string>& one, kzpde::Invocation& inv) {
    std::unique_ptr<ppd_file_t, PpdCloser> ppd(ppdOpenFile(file.c_str()));
    if (!ppd) {
        inv.err << "kzpde ppd lists: cannot read the PPD " << file << ": "
                << ppdErrorString(ppdLastError(nullptr)) << "\n";
        return kzpde::kFailure;
    }
    std::vector<std::string> names =
        one ? std::vector<std::string>{*one} : kzp::PrinterData::runNames(ppd.get());
    kz::Dictionary all;
    for (const std::string& name : names) {
        auto bytes = kzp::PrinterData::read(ppd.get(), name);
        if (!bytes) {
            inv.err << "kzpde ppd lists: the PPD carries no list " << name << "\n";
            return kzpde::kFailure;
        }
        std::string error;
        kz::Value list = kz::PropertyList::read(*bytes, &error);
        if (list.isNull()) {
            inv.err << "kzpde ppd lists: the list " << name << " is not a property list: " << error << "\n";
            if (one) return kzpde::kFailure;
            continue;
        }
        if (one) {
            inv.out << kz::PropertyList::toXml(list);
            return kzpde::kOk;
        }
        all.set(name, list);
    }
    inv.out << kz::PropertyList::toXml(kz::Value(all));
    return kzpde::kOk;
}

struct EmbedFiles {
    std::string ppdIn, lists, output;
};

int embed(const EmbedFiles& files, kzpde::Invocation& inv) {
    const std::string& output = files.output;
    std::string ppd;
    if (kz::FileBytes::read(files.ppdIn, kMaxPpdBytes, &ppd) != kz::FileBytes::Status::ok) {
        inv.err << "kzpde ppd embed-lists: cannot read " << files.ppdIn << " (missing, unreadable or over 64 MiB)\n";
        return kzpde::kFailure;
    }
    std::string error;
    kz::Value lists = kz::PropertyList::readFile(files.lists, &error);
    if (!lists.isDictionary()) {
        inv.err << "kzpde ppd embed-lists: " << files.lists << " is not a dictionary of lists"
                << (error.empty() ? "" : ": " + error) << "\n";
        return kzpde::kFailure;
    }
    for (const auto& [name, list] : lists.dictionary()) {
        if (name.empty() || name.size() > 36 || name.find_first_of(" \t:/\"") != std::string::npos) {
            inv.err << "kzpde ppd embed-lists: '" << name << "' cannot name PPD attributes\n";
            return kzpde::kFailure;
        }
        ppd = kzp::PrinterData::embed(ppd, name, kz::PropertyList::toXml(list));
    }
    if (output.empty()) {
        inv.out << ppd;
        return kzpde::kOk;
    }
    if (!kz::AtomicFile::write(output, ppd, &error)) {
        inv.err << "kzpde ppd embed-lists: " << error << "\n";
        return kzpde::kFailure;
    }
    return kzpde::kOk;
}

const kzpde::Command::Registration listsCommand{{
    "ppd lists",
    "decode the server lists a PPD carries",
    "Prints the list NAME (e.g. StackerInfoList) the PPD carries as a property list,\n"
    "or without NAME a dictionary of every list it carries.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto file = std::make_shared<std::string>();
        auto one = std::make_shared<std::optional<std::string>>();
        app.add_option("FILE", *file, "the PPD")->required();
        app.add_option_function<std::string>("NAME", [one](const std::string& name) { *one = name; },
                                             "only this list");
        return [file, one](kzpde::Invocation& inv) { return lists(*file, *one, inv); };
    },
}};

const kzpde::Command::Registration embedCommand{{
    "ppd embed-lists",
    "write a PPD that carries the given server lists",
    "LISTS.plist is a dictionary from list name (StackerInfoList, Font, ...) to the\n"
    "list. Each list replaces the PPD's run of attributes of that name. The PPD goes\n"
    "to OUT.ppd, or to standard output.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto files = std::make_shared<EmbedFiles>();
        app.add_option("IN.ppd", files->ppdIn, "the PPD")->required();
        app.add_option("LISTS.plist", files->lists, "the lists")->required();
        app.add_option("-o", files->output, "where the PPD goes (standard output by default)")->type_name("OUT.ppd");
        return [files](kzpde::Invocation& inv) { return embed(*files, inv); };
    },
}};

}  // namespace
