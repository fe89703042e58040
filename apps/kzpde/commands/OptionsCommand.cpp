// kzpde options [--printer NAME | --ppd FILE] [--settings FILE.plist]
// [--set KEY=VALUE]... [--answer yes|no] [--job-name TEXT|auto]
// [--write-settings FILE.plist] [--json]: the panel in the tool's print
// dialog, headless.
#include <ostream>

#include "BundleLocation.h"
#include "Command.h"
#include "JsonValue.h"
#include "host/HostSession.h"

namespace {

int run(kzpde::Invocation& inv) {
    kzpde::HostRequest request;
    request.bundlePath = kzpde::BundleLocation::path();
    if (!kzpde::HostSession::parse(inv.args, "options", request, nullptr, inv.err)) return kzpde::kUsage;
    kzpde::HostSession session;
    if (int status = session.run(request, "options", inv.err)) return status;
    if (request.json) inv.out << kzpde::jsonText(kzpde::toJson(kz::Value(session.report()))) << "\n";
    else session.writeText(inv.out);
    return kzpde::kOk;
}

}  // namespace

namespace kzpde {
// Shared with `kzpde print`, which takes the same options.
extern const char* const kHostOptionsHelp =
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
    "--tray automatic|bypass KEY=VALUE...: after the --set values, opens that tray\n"
    "window with the panel's button, works each control KEY as --set does, and\n"
    "presses Close (the KEY=VALUE arguments run to the next option).\n\n"
    "Exit status 2 when KEY names no control in the panel or its panes (for --tray:\n"
    "in that window), VALUE is not one of the control's choices (or not what its\n"
    "field takes), or NAME is no favorite of the menu; 1 when the control or tray window cannot be worked now\n"
    "(disabled, hidden, not offered), a --lists file is not lists of rows of texts\n"
    "or holds a list too big for the panel to read back (16 MiB as a property\n"
    "list), or anything fails.\n"
    "Passwords show masked (\"********\"): they leave the tool only\n"
    "transport-encoded, in the settings file and to CUPS.\n";
}  // namespace kzpde

namespace {

const kzpde::Command::Registration registration{{
    "options",
    "the panel in a headless print dialog: restore, change options as a user, save",
    std::string("usage: kzpde options [--printer NAME | --ppd FILE] [--settings FILE.plist] [--favorite NAME]\n"
                "       [--set KEY=VALUE]... [--lists FILE.plist] [--tray automatic|bypass KEY=VALUE...]...\n"
                "       [--answer yes|no] [--job-name TEXT|auto] [--save-favorite NAME [--comment TEXT]]\n"
                "       [--write-settings FILE.plist] [--json]\n\n") +
        kzpde::kHostOptionsHelp +
        "\nPrints the print settings (every key and value), the marked choices of the\n"
        "dialog's PPD, the job options CUPS would get, the panel's summary, the\n"
        "dialogs the rules showed with their answers, and each of the panel's own\n"
        "controls (value, choices, disabled, hidden) and the favorites menu (its items,\n"
        "the chosen one marked *, whether Delete is enabled). --json: one object with the\n"
        "keys \"printSettings\", \"markedChoices\", \"jobOptions\", \"summary\",\n"
        "\"dialogs\" (each \"key\", \"text\", \"answer\"), \"controls\" (each \"items\",\n"
        "\"value\", \"enabled\", \"hidden\") and \"trayWindows\": {\"automatic\": {controls},\n"
        "\"bypass\": {controls}}, the tray windows' controls in the same form (\"bypass\"\n"
        "only where the panel has that window), \"jobName\" (the panel's job name\n"
        "\"label\", and the \"mode\" and \"name\" the settings carry) and \"favorites\"\n"
        "(\"items\": the titles in menu order, \"\" for a separator; \"selected\": the\n"
        "chosen item's index; \"deleteEnabled\").\n"
        "\n--save-favorite NAME [--comment TEXT]: after the changes, presses the panel's\n"
        "Save button for favorites and saves the values as the favorite NAME in the\n"
        "user's favorite folder through the save dialog, whose checks apply (name of 1\n"
        "to 27 bytes, comment up to 255; a favorite of that name is replaced). Without\n"
        "--comment the comment stays as the dialog offers it (the chosen favorite's). An\n"
        "alert refusing them: exit 1 with its text. The report then has \"savedFavorite\"\n"
        "(the file's path).\n",
    run,
}};

}  // namespace
