// kzpde describe lint FILE: checks a control description file against its
// format and prints one "FILE: NAME: message" line per fault.
#include <ostream>

#include "Command.h"
#include "engine/controls/ControlDescription.h"
#include "engine/controls/ControlDescriptionLint.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

int run(kzpde::Invocation& inv) {
    if (inv.args.size() != 1 || inv.args[0].starts_with("--")) {
        inv.err << "usage: kzpde describe lint FILE\n";
        return kzpde::kUsage;
    }
    const std::string& path = inv.args[0];
    std::string error;
    std::optional<kz::Dictionary> file = kzp::ControlDescription::readFile(path, &error);
    if (!file) {
        inv.out << path << ": " << error << "\n";
        return kzpde::kFailure;
    }
    auto findings = kzp::ControlDescriptionLint::check(*file);
    for (const auto& f : findings) inv.out << path << ": " << f.control << ": " << f.message << "\n";
    return findings.empty() ? kzpde::kOk : kzpde::kFailure;
}

const kzpde::Command::Registration lintCommand{{
    "describe lint",
    "check a control description file against its format",
    "usage: kzpde describe lint FILE\n\n"
    "Reads the control description FILE and prints \"FILE: NAME: message\" for each\n"
    "fault of a control NAME: an unknown control type, a CheckBox without exactly\n"
    "two choices, a rule (conflict, unrestorable_conflict, condition,\n"
    "logical_sum_condition, cooperation, hide) naming a keyword that no control\n"
    "of the file edits, a child in \"other_controls\" without a description, a\n"
    "\"__LESS__:\" or \"__GREATER__:\" pattern without a number, and entries of the\n"
    "wrong type. Exit status 0 when it found nothing, 1 when it found a fault or\n"
    "cannot read FILE (then one line \"FILE: reason\").\n",
    run,
}};

}  // namespace
