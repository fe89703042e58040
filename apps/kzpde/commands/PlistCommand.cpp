// kzpde plist FILE [--json]: a property list (XML or binary) as XML or JSON.
#include <iostream>
#include <iterator>

#include "Command.h"
#include "JsonValue.h"
#include "platform/foundation/PropertyList.h"

namespace {

int run(kzpde::Invocation& inv) {
    std::string file;
    bool json = false;
    for (const auto& a : inv.args) {
        if (a == "--json") {
            json = true;
        } else if (file.empty() && (a.empty() || a[0] != '-' || a == "-")) {
            file = a;
        } else {
            inv.err << "usage: kzpde plist FILE [--json]\n";
            return kzpde::kUsage;
        }
    }
    if (file.empty()) {
        inv.err << "usage: kzpde plist FILE [--json]\n";
        return kzpde::kUsage;
    }
    std::string error;
    kz::Value v = file == "-" ? kz::PropertyList::read(std::string(std::istreambuf_iterator<char>(std::cin), {}), &error)
                              : kz::PropertyList::readFile(file, &error);
    if (!error.empty() || v.isNull()) {
        inv.err << "kzpde plist: " << (error.empty() ? file + ": empty property list" : error) << "\n";
        return kzpde::kFailure;
    }
    if (json)
        inv.out << kzpde::jsonText(kzpde::toJson(v)) << "\n";
    else
        inv.out << kz::PropertyList::toXml(v);
    return kzpde::kOk;
}

const kzpde::Command::Registration registration{{
    "plist",
    "print a property list (XML or binary) as XML or JSON",
    "usage: kzpde plist FILE [--json]\n\n"
    "Reads FILE (\"-\" for standard input) as an XML or binary property list and\n"
    "prints it as XML, or with --json as JSON: dictionaries in file order, data as\n"
    "base64 text, dates as ISO 8601 text in UTC.\n",
    run,
}};

}  // namespace
