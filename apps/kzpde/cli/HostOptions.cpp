#include "cli/HostOptions.h"

#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/BundleLocation.h"

namespace kzpde {

namespace {

// A value option given at most once, kept in an optional.
CLI::Option* once(CLI::App& app, const std::string& name, std::optional<std::string>& into, const std::string& typeName,
                  const std::string& description) {
    return app.add_option_function<std::string>(name, [&into](const std::string& value) { into = value; }, description)
        ->type_name(typeName);
}

}  // namespace

void HostOptions::declare(CLI::App& app, HostRequest& r) {
    r.bundlePath = BundleLocation::path();
    CLI::Option* printer = once(app, "--printer", r.printer, "NAME", "a CUPS destination (\"queue\" or \"queue/instance\")");
    CLI::Option* ppd = once(app, "--ppd", r.ppd, "FILE", "a PPD file for the dialog's printer");
    printer->excludes(ppd);
    once(app, "--settings", r.settingsFile, "FILE.plist", "print settings to restore");
    once(app, "--favorite", r.favorite, "NAME", "choose this favorite in the panel's favorites menu first");
    DeclaredOptions::keyValues(app, "--set", r.sets, "work the control of the option KEY as a user would");
    once(app, "--lists", r.lists, "FILE.plist", "server lists the printer's PPD carries");
    DeclaredOptions::trays(app, r.trays);
    DeclaredOptions::pageSetup(app, r.pageSetup);
    DeclaredOptions::answers(app, r.answers);
    once(app, "--job-name", r.jobName, "TEXT|auto", "the job name typed into the panel's dialog, or the automatic one");
    CLI::Option* save =
        once(app, "--save-favorite", r.saveFavorite, "NAME", "save the values as a favorite through the panel");
    once(app, "--comment", r.favoriteComment, "TEXT", "the saved favorite's comment")->needs(save);
    once(app, "--write-settings", r.writeSettings, "FILE.plist", "where the saved print settings go");
    DeclaredOptions::json(app, r.json);
}

const char* const HostOptions::kHelp =
    "The dialog's printer is the embedded sample printer (the bundle's PPD, no CUPS\n"
    "needed) unless --printer names a CUPS destination (\"queue\" or\n"
    "\"queue/instance\") or --ppd a PPD file. --settings restores print settings\n"
    "saved with --write-settings (a property list); a file that is not one, or holds\n"
    "what no dialog writes, is refused whole (exit 1). The panel is restored and\n"
    "shown; each --set then works the control of the option KEY as a user would\n"
    "(choosing the item, ticking the box, typing the text), so every rule runs.\n"
    "--favorite NAME first chooses the favorite NAME (a file of the user's favorite\n"
    "folder, as `kzpde favorite list` shows) in the panel's favorites menu, which\n"
    "applies its values; a later change away from them adds the menu's \"Change\n"
    "Setting\" item. Questions the rules ask take the --answer values in order; the\n"
    "last one (yes when none is given) answers the rest. --job-name TEXT presses the panel's\n"
    "\"Job name...\", chooses \"Input\", pastes TEXT into the name field and presses\n"
    "OK; --job-name auto chooses the automatic name. The dialog takes 1 to 255\n"
    "characters without control characters (counted in UTF-16 units: a character\n"
    "beyond U+FFFF, such as an emoji, counts two); it refuses anything else with an\n"
    "alert, and the run fails (exit 1) with the alert's text. The panel then saves.\n\n"
    "--lists FILE.plist: server lists (list name -> rows of texts, as `kzpde server\n"
    "lists` prints them) that the printer's PPD carries when the panel opens; each\n"
    "replaces the PPD's list of that name (its feeders, stackers and finishing\n"
    "devices shape the tray, output-tray, staple, punch, fold and offset menus; a\n"
    "name that is no server list is left out with a message).\n"
    "--paper NAME, --pages all|RANGES, --orientation portrait|landscape: the\n"
    "dialog's own paper size (a PageSize choice of the printer's PPD, which the\n"
    "panel is told of; `--set PageSize=NAME` chooses it too), pages (IPP\n"
    "page-ranges: N, N-M or N- pieces, ascending, not overlapping) and\n"
    "orientation, chosen before the --set values; a value the printer or the\n"
    "dialog does not take: exit 1 with the reason.\n"
    "The panel is loaded only for a printer whose PPD names the plug-in (its\n"
    "*APDialogExtension); for any other printer the dialog shows the printer's\n"
    "own PPD options plainly, --set works those, and an option of the panel\n"
    "there (or --favorite, --tray, --job-name, --save-favorite) is refused\n"
    "with the reason (exit 1).\n"
    "--tray automatic|bypass KEY=VALUE...: after the --set values, opens that tray\n"
    "window with the panel's button, works each control KEY as --set does, and\n"
    "presses Close (the KEY=VALUE arguments run to the next option).\n\n"
    "Exit status 2 when KEY names no control in the panel or its panes (for --tray:\n"
    "in that window), VALUE is not one of the control's choices (or not what its\n"
    "field takes), or NAME is no favorite of the menu; 1 when the control or tray window cannot be worked now\n"
    "(disabled, hidden, not offered: a choice the printer's devices take away is\n"
    "\"not offered by this printer's finishing devices\"), a --lists file is not lists of rows of texts\n"
    "or holds a list too big for the panel to read back (16 MiB as a property\n"
    "list), or anything fails.\n"
    "Passwords show masked (\"********\"): they leave the tool only\n"
    "transport-encoded, in the settings file and to CUPS.\n";

}  // namespace kzpde
