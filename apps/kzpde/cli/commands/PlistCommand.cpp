// kzpde plist FILE [--json]: a property list (XML or binary) as XML or JSON.
#include <iostream>
#include <iterator>

#include "cli/Command.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/JsonValue.h"
#include "platform/foundation/PropertyList.h"

namespace {

int run(const std::string& file, bool json, kzpde::Invocation& inv) {
    std::string error;
    kz::Value v = file == "-" ? kz::PropertyList::read(std::string(std::istreambuf_iterator<char>(std::cin), {}), &error)
                              : kz::PropertyList::readFile(file, &error);
    if (!error.empty() || v.isNull()) {
        inv.err << "kzpde plist: " << (error.empty() ? file + ": empty property list" : error) << "\n";
        return kzpde::kFailure;
    }
    if (json)
        kzpde::writeJson(inv.out, v);
    else
        inv.out << kz::PropertyList::toXml(v);
    return kzpde::kOk;
}

const kzpde::Command::Registration registration{{
    "plist",
    "print a property list (XML or binary) as XML or JSON",
    "Reads FILE (\"-\" for standard input) as an XML or binary property list and\n"
    "prints it as XML, or with --json as JSON: dictionaries in file order, data as\n"
    "base64 text, dates as ISO 8601 text in UTC.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto args = kzpde::DeclaredOptions::fileAndJson(app, "FILE", "the property list ('-': standard input)");
        return [args](kzpde::Invocation& inv) { return run(args->file, args->json, inv); };
    },
}};

}  // namespace
