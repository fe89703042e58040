// kzpde strings FILE: a .strings table as a JSON object in file order.
#include <ostream>

#include "Command.h"
#include "JsonValue.h"
#include "platform/foundation/StringTable.h"

namespace {

int run(kzpde::Invocation& inv) {
    if (inv.args.size() != 1 || (inv.args[0].size() > 1 && inv.args[0][0] == '-')) {
        inv.err << "usage: kzpde strings FILE\n";
        return kzpde::kUsage;
    }
    std::string error;
    auto table = kz::StringTable::readFile(inv.args[0], &error);
    if (!table) {
        inv.err << "kzpde strings: " << error << "\n";
        return kzpde::kFailure;
    }
    inv.out << kzpde::jsonText(kzpde::toJson(kz::Value(table->entries()))) << "\n";
    return kzpde::kOk;
}

const kzpde::Command::Registration registration{{
    "strings",
    "print a string table (.strings, UTF-8 or UTF-16) as JSON",
    "usage: kzpde strings FILE\n\n"
    "Reads FILE as a string table (UTF-8, or UTF-16 with or without a byte-order\n"
    "mark) and prints its entries as one JSON object in file order. A syntax\n"
    "error names its line and exits with status 1.\n",
    run,
}};

}  // namespace
