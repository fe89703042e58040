// kzpde favorite manage: the favorites manager window worked as a user
// would, headless.
#include <nlohmann/json.hpp>
#include <ostream>

#include "support/BundleLocation.h"
#include "cli/Command.h"
#include "support/FailureLog.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/JsonValue.h"
#include "support/PaneHost.h"
#include "engine/dialogs/FavoriteWindowController.h"
#include "engine/panes/PanePlugInMgr.h"
#include "host/AnswerDriver.h"
#include "host/FavoriteManageDriver.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using Driver = kzpde::FavoriteManageDriver;

namespace {

struct Options {
    std::string bundlePath;
    std::vector<Driver::Action> actions;
    bool ok = true, json = false;
};

int run(const Options& o, kzpde::Invocation& inv) {
    kzpde::PaneHost host;
    if (!host.open(o.bundlePath, inv.err)) return kzpde::kFailure;
    // The preview shows every pane's options: their views (and so their controls) come first.
    host.managerWithPaneViews();
    kzp::FavoriteWindowController& manager = kzp::FavoriteWindowController::sharedInstance();
    Driver driver(manager, o.actions, o.ok);
    bool confirmed = false;
    {
        kzpde::DriverScope scope(driver);
        confirmed = kzp::ShowFavoriteModalDialog(nullptr, nullptr);
    }
    int status = kzpde::kOk;
    if (!driver.windowShown()) {
        inv.err << "kzpde favorite manage: the favorites window did not open"
                << (manager.loadError().empty() ? "" : " (" + manager.loadError() + ")") << "\n";
        status = kzpde::kFailure;
    }
    for (const std::string& problem : driver.problems()) {
        inv.err << "kzpde favorite manage: " << problem << "\n";
        status = kzpde::kFailure;
    }
    // A file the window could not move, copy, write or export.
    for (const std::string& line : host.logLines())
        if (line.starts_with("### ## can't")) status = kzpde::kFailure;
    kzpde::FailureLog::tell(status, host.logLines(), inv.err, "###");
    if (o.json) {
        nlohmann::ordered_json alerts = nlohmann::ordered_json::array();
        for (const std::string& alert : driver.alerts()) alerts.push_back(alert);
        kzpde::writeJson(inv.out, nlohmann::ordered_json{{"alerts", alerts}, {"code", confirmed ? 1 : 0}});
    } else {
        for (const std::string& alert : driver.alerts()) inv.out << "alert: " << alert << "\n";
        inv.out << (confirmed ? "ok" : "cancelled") << "\n";
    }
    return status;
}

kzpde::Runner declare(CLI::App& app) {
    auto o = std::make_shared<Options>();
    // The actions are done in the order typed, whichever option gives them.
    auto pairAction = [&app, o](const std::string& name, const std::string& typeName, Driver::Kind kind,
                                const std::string& description) {
        kzpde::DeclaredOptions::keyValue(
            app, name, typeName,
            [o, kind](kzpde::DeclaredOptions::KeyValue kv) {
                o->actions.push_back({kind, std::move(kv.first), std::move(kv.second)});
            },
            description);
    };
    auto oneAction = [&app, o](const std::string& name, const std::string& typeName, bool second,
                               Driver::Kind kind, const std::string& description) {
        app.add_option_function<std::string>(
               name,
               [o, kind, second](const std::string& value) {
                   o->actions.push_back(second ? Driver::Action{kind, {}, value} : Driver::Action{kind, value, {}});
               },
               description)
            ->type_name(typeName)
            ->trigger_on_parse()
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    };
    pairAction("--rename", "OLD=NEW", Driver::Kind::Rename, "rename the favorite OLD to NEW");
    pairAction("--comment", "NAME=TEXT", Driver::Kind::Comment, "give the favorite NAME the comment TEXT");
    oneAction("--delete", "NAME", false, Driver::Kind::Delete, "delete the favorite NAME");
    oneAction("--import", "FILE", true, Driver::Kind::Import, "import the favorite file FILE");
    pairAction("--export", "NAME=FILE", Driver::Kind::Export, "export the favorite NAME to FILE");
    kzpde::DeclaredOptions::okOrCancel(app, o->ok, " (the default)");
    kzpde::DeclaredOptions::bundle(app, o->bundlePath);
    kzpde::DeclaredOptions::json(app, o->json);
    return [o](kzpde::Invocation& inv) { return run(*o, inv); };
}

const kzpde::Command::Registration registration{{
    "favorite manage",
    "work the favorites manager window: rename, comment, delete, import, export",
        "Opens the favorites manager over the user's favorite folder (see favorite list)\n"
        "and works it as a user would, in the order given: --rename clicks the row of\n"
        "OLD, types NEW as its name and presses Return (the row is checked, the window\n"
        "stays); --comment types TEXT as the comment of NAME's row and presses Return in\n"
        "its name field; --delete presses Delete on NAME's row and confirms; --import\n"
        "presses Import and picks FILE; --export presses Export on NAME's row and saves\n"
        "to FILE. Then OK (the default) or Cancel; when OK is refused, Cancel. Only OK\n"
        "changes files: renames, new comments, copies of imported favorites, deleted\n"
        "ones moved to the trash. Every alert the window raised is printed (\"alert:\n"
        "TEXT\"), then \"ok\" or \"cancelled\". --json: {\"alerts\": [texts], \"code\": 1 or 0}.\n"
        "Log lines (a move or copy that failed) go to standard error. Exit 1 when a\n"
        "file could not be moved, copied, written or exported, when an\n"
        "action cannot be done (no favorite of that name, a comment the field refuses:\n"
        "over 255 bytes or a line break; the row keeps its comment; renaming,\n"
        "commenting or deleting an administrator's shared favorite, whose fields and\n"
        "Delete button the window keeps disabled) or the window does not open. NAME\n"
        "is the user's own favorite when a shared one has the same name.\n",
    declare,
}};

}  // namespace
