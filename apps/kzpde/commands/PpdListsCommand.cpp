// kzpde ppd lists / ppd embed-lists: the server lists a printer's PPD carries,
// decoded, and a PPD written to carry a given set of them.
#include <cups/ppd.h>

#include <memory>
#include <ostream>

#include "Command.h"
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

int lists(kzpde::Invocation& inv) {
    if (inv.args.empty() || inv.args.size() > 2) {
        inv.err << "usage: kzpde ppd lists FILE [NAME]\n";
        return kzpde::kUsage;
    }
    std::unique_ptr<ppd_file_t, PpdCloser> ppd(ppdOpenFile(inv.args[0].c_str()));
    if (!ppd) {
        inv.err << "kzpde ppd lists: cannot read the PPD " << inv.args[0] << ": "
                << ppdErrorString(ppdLastError(nullptr)) << "\n";
        return kzpde::kFailure;
    }
    std::vector<std::string> names =
        inv.args.size() == 2 ? std::vector<std::string>{inv.args[1]} : kzp::PrinterData::runNames(ppd.get());
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
            if (inv.args.size() == 2) return kzpde::kFailure;
            continue;
        }
        if (inv.args.size() == 2) {
            inv.out << kz::PropertyList::toXml(list);
            return kzpde::kOk;
        }
        all.set(name, list);
    }
    inv.out << kz::PropertyList::toXml(kz::Value(all));
    return kzpde::kOk;
}

int embed(kzpde::Invocation& inv) {
    std::string output;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < inv.args.size(); ++i) {
        if (inv.args[i] == "-o" && i + 1 < inv.args.size())
            output = inv.args[++i];
        else
            files.push_back(inv.args[i]);
    }
    if (files.size() != 2) {
        inv.err << "usage: kzpde ppd embed-lists IN.ppd LISTS.plist [-o OUT.ppd]\n";
        return kzpde::kUsage;
    }
    std::string ppd;
    if (kz::FileBytes::read(files[0], kMaxPpdBytes, &ppd) != kz::FileBytes::Status::ok) {
        inv.err << "kzpde ppd embed-lists: cannot read " << files[0] << " (missing, unreadable or over 64 MiB)\n";
        return kzpde::kFailure;
    }
    std::string error;
    kz::Value lists = kz::PropertyList::readFile(files[1], &error);
    if (!lists.isDictionary()) {
        inv.err << "kzpde ppd embed-lists: " << files[1] << " is not a dictionary of lists"
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
    "usage: kzpde ppd lists FILE [NAME]\n\n"
    "Prints the list NAME (e.g. StackerInfoList) the PPD carries as a property list,\n"
    "or without NAME a dictionary of every list it carries.\n",
    lists,
}};

const kzpde::Command::Registration embedCommand{{
    "ppd embed-lists",
    "write a PPD that carries the given server lists",
    "usage: kzpde ppd embed-lists IN.ppd LISTS.plist [-o OUT.ppd]\n\n"
    "LISTS.plist is a dictionary from list name (StackerInfoList, Font, ...) to the\n"
    "list. Each list replaces the PPD's run of attributes of that name. The PPD goes\n"
    "to OUT.ppd, or to standard output.\n",
    embed,
}};

}  // namespace
