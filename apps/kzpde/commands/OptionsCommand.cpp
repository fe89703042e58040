// kzpde options [--printer NAME | --ppd FILE] [--settings FILE.plist]
// [--set KEY=VALUE]... [--answer yes|no] [--write-settings FILE.plist]
// [--json]: the panel in the tool's print dialog, headless.
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
    "last one (yes when none is given) answers the rest. The panel then saves.\n\n"
    "Exit status 2 when KEY names no control in the panel or its panes, VALUE is\n"
    "not one of the control's choices (or not what its field takes), or NAME is no\n"
    "favorite of the menu; 1 when\n"
    "the control cannot be worked now (disabled, hidden) or anything fails.\n"
    "Passwords show masked (\"********\"): they leave the tool only\n"
    "transport-encoded, in the settings file and to CUPS.\n";
}  // namespace kzpde

namespace {

const kzpde::Command::Registration registration{{
    "options",
    "the panel in a headless print dialog: restore, change options as a user, save",
    std::string("usage: kzpde options [--printer NAME | --ppd FILE] [--settings FILE.plist] [--favorite NAME]\n"
                "       [--set KEY=VALUE]... [--answer yes|no] [--write-settings FILE.plist] [--json]\n\n") +
        kzpde::kHostOptionsHelp +
        "\nPrints the print settings (every key and value), the marked choices of the\n"
        "dialog's PPD, the job options CUPS would get, the panel's summary, the\n"
        "dialogs the rules showed with their answers, and each of the panel's own\n"
        "controls (value, choices, disabled, hidden) and the favorites menu (its items,\n"
        "the chosen one marked *, whether Delete is enabled). --json: one object with\n"
        "the keys \"printSettings\", \"markedChoices\", \"jobOptions\", \"summary\",\n"
        "\"dialogs\" (each \"key\", \"text\", \"answer\"), \"controls\" (each \"items\",\n"
        "\"value\", \"enabled\", \"hidden\") and \"favorites\" (\"items\": the titles in\n"
        "menu order, \"\" for a separator; \"selected\": the chosen item's index;\n"
        "\"deleteEnabled\").\n",
    run,
}};

}  // namespace
