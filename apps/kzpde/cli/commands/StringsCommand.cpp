// kzpde strings FILE: a .strings table as a JSON object in file order.
#include <ostream>

#include "cli/Command.h"
#include <CLI/CLI.hpp>
#include "support/JsonValue.h"
#include "platform/foundation/StringTable.h"

namespace {

int run(const std::string& file, kzpde::Invocation& inv) {
    std::string error;
    auto table = kz::StringTable::readFile(file, &error);
    if (!table) {
        inv.err << "kzpde strings: " << error << "\n";
        return kzpde::kFailure;
    }
    kzpde::writeJson(inv.out, kz::Value(table->entries()));
    return kzpde::kOk;
}

const kzpde::Command::Registration registration{{
    "strings",
    "print a string table (.strings, UTF-8 or UTF-16) as JSON",
    "Reads FILE as a string table (UTF-8, or UTF-16 with or without a byte-order\n"
    "mark) and prints its entries as one JSON object in file order. A syntax\n"
    "error names its line and exits with status 1.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto file = std::make_shared<std::string>();
        app.add_option("FILE", *file, "the string table")->required();
        return [file](kzpde::Invocation& inv) { return run(*file, inv); };
    },
}};

}  // namespace
