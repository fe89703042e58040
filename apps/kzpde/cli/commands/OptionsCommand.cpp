// kzpde options: the panel in the tool's print dialog, headless.
#include <ostream>

#include "cli/Command.h"
#include "cli/HostOptions.h"
#include "support/JsonValue.h"
#include "host/HostSession.h"

namespace {

int run(const kzpde::HostRequest& request, kzpde::Invocation& inv) {
    kzpde::HostSession session;
    if (int status = session.run(request, "options", inv.err)) return status;
    if (request.json) kzpde::writeJson(inv.out, kz::Value(session.report()));
    else session.writeText(inv.out);
    return kzpde::kOk;
}

const kzpde::Command::Registration registration{{
    "options",
    "the panel in a headless print dialog: restore, change options as a user, save",
    std::string(kzpde::HostOptions::kHelp) +
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
        "chosen item's index; \"deleteEnabled\"; \"shared\": the indexes of the\n"
        "administrator's shared favorites, present only when there are any, shown\n"
        "\"(shared)\" in the text).\n"
        "\n--save-favorite NAME [--comment TEXT]: after the changes, presses the panel's\n"
        "Save button for favorites and saves the values as the favorite NAME in the\n"
        "user's favorite folder through the save dialog, whose checks apply (name of 1\n"
        "to 27 bytes, comment up to 255; a favorite of that name is replaced). Without\n"
        "--comment the comment stays as the dialog offers it (the chosen favorite's). An\n"
        "alert refusing them: exit 1 with its text. The report then has \"savedFavorite\"\n"
        "(the file's path).\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto request = std::make_shared<kzpde::HostRequest>();
        kzpde::HostOptions::declare(app, *request);
        return [request](kzpde::Invocation& inv) { return run(*request, inv); };
    },
}};

}  // namespace
