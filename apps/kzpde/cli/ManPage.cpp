#include "cli/ManPage.h"

#include <ostream>
#include <sstream>

#include "cli/Command.h"

namespace kzpde {

std::string ManPage::escaped(const std::string& text) {
    std::string result;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) result += "\\&";
        if (c == '\\') result += "\\e";
        else if (c == '-') result += "\\-";
        else result += c;
        lineStart = c == '\n';
    }
    return result;
}

void ManPage::write(std::ostream& out, const std::string& version) {
    out << ".TH KZPDE 1 \"\" \"kzpde " << escaped(version) << "\" \"User Commands\"\n"
        << ".SH NAME\nkzpde \\- host and command\\-line tool of the KZ Print Server print panel\n"
        << ".SH SYNOPSIS\n.B kzpde\n.RB [ \\-\\-verbose ]\n.I COMMAND\n.RI [ ARGS ...]\n.br\n.B kzpde\n"
        << ".RI [ FAMILY ]\n.B \\-\\-help\n.br\n.B kzpde \\-\\-version\n"
        << ".SH DESCRIPTION\n"
        << ".B kzpde\nloads the print panel's plug\\-in bundle as a print dialog does, runs the panel\n"
        << "without a display, and offers the commands below on the bundle's data and on\n"
        << "the files the panel reads and writes. Commands nest: the longest command name\n"
        << "that matches the leading words runs. A family of commands named alone, as in\n"
        << ".BR \"kzpde ppd\" ,\nlists its commands;\n"
        << ".B \\-\\-help\nafter any command or family describes it.\n"
        << ".PP\nThe panel's diagnostic lines go to the system log (the journal);\n"
        << ".B \\-\\-verbose\nbefore the command writes them on standard error as well. A command\n"
        << "that succeeds writes nothing on standard error.\n"
        << ".SH COMMANDS\n";
    // Each command's own help, made from its declarations as `--help` makes it.
    for (const auto& [name, command] : Command::registry()) {
        const std::string help = command.help();
        out << ".SS \"kzpde " << escaped(name) << "\"\n" << escaped(command.summary) << "\n.PP\n.nf\n"
            << escaped(help);
        if (!help.empty() && help.back() != '\n') out << "\n";
        out << ".fi\n";
    }
    out << ".SH EXIT STATUS\n"
        << ".TP\n.B 0\nThe command did what was asked.\n"
        << ".TP\n.B 1\nThe command failed; standard error says why.\n"
        << ".TP\n.B 2\nA usage error: an unknown command, wrong arguments, or a family named\n"
           "without one of its commands.\n"
        << ".SH ENVIRONMENT\n"
        << ".TP\n.B KZ_LOG\n.B stderr\nwrites the diagnostic lines on standard error too, as\n.B \\-\\-verbose\ndoes (also in a print dialog that loads the plug\\-in).\n"
        << ".SH FILES\n"
        << ".TP\n.I ../lib/kzpde/KZPrintServer.plugin\nThe plug\\-in bundle, found relative to the folder that holds the\n"
           ".B kzpde\nexecutable;\n.B kzpde \\-\\-version\nnames the one in use.\n"
        << ".TP\n.I ../share/kzpde/samples\nSample printer description, print options, favorites and lists.\n";
}

}  // namespace kzpde
