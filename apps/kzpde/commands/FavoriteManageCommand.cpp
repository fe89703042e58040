// kzpde favorite manage: the favorites manager window worked as a user
// would, headless.
#include <nlohmann/json.hpp>
#include <ostream>

#include "BundleLocation.h"
#include "Command.h"
#include "FailureLog.h"
#include "JsonValue.h"
#include "PaneHost.h"
#include "engine/favorites/FavoriteWindowController.h"
#include "engine/panes/PanePlugInMgr.h"
#include "host/AnswerDriver.h"
#include "host/FavoriteManageDriver.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using Driver = kzpde::FavoriteManageDriver;

namespace {

constexpr const char* kUsage =
    "usage: kzpde favorite manage [--rename OLD=NEW]... [--comment NAME=TEXT]... [--delete NAME]...\n"
    "       [--import FILE]... [--export NAME=FILE]... [--ok|--cancel] [--bundle DIR] [--json]\n";

bool pair(const std::string& text, std::string& left, std::string& right) {
    std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    left = text.substr(0, eq);
    right = text.substr(eq + 1);
    return true;
}

struct Options {
    std::string bundlePath = kzpde::BundleLocation::path();
    std::vector<Driver::Action> actions;
    bool ok = true, json = false, endGiven = false;
};

bool parse(const std::vector<std::string>& args, Options& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        Driver::Action action{Driver::Kind::Delete, {}, {}};
        if (a == "--json") {
            o.json = true;
        } else if ((a == "--ok" || a == "--cancel") && !o.endGiven) {
            o.ok = a == "--ok";
            o.endGiven = true;
        } else if (a == "--bundle" && hasValue) {
            o.bundlePath = args[++i];
        } else if (a == "--delete" && hasValue) {
            o.actions.push_back({Driver::Kind::Delete, args[++i], {}});
        } else if (a == "--import" && hasValue) {
            o.actions.push_back({Driver::Kind::Import, {}, args[++i]});
        } else if ((a == "--rename" || a == "--comment" || a == "--export") && hasValue &&
                   pair(args[i + 1], action.first, action.second)) {
            action.kind = a == "--rename" ? Driver::Kind::Rename : a == "--comment" ? Driver::Kind::Comment
                                                                                     : Driver::Kind::Export;
            o.actions.push_back(std::move(action));
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

int run(kzpde::Invocation& inv) {
    Options o;
    if (!parse(inv.args, o)) {
        inv.err << kUsage;
        return kzpde::kUsage;
    }
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
        inv.out << kzpde::jsonText({{"alerts", alerts}, {"code", confirmed ? 1 : 0}}) << "\n";
    } else {
        for (const std::string& alert : driver.alerts()) inv.out << "alert: " << alert << "\n";
        inv.out << (confirmed ? "ok" : "cancelled") << "\n";
    }
    return status;
}

const kzpde::Command::Registration registration{{
    "favorite manage",
    "work the favorites manager window: rename, comment, delete, import, export",
    std::string(kUsage) +
        "\nOpens the favorites manager over the user's favorite folder (see favorite list)\n"
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
        "over 255 bytes or a line break; the row keeps its comment) or the window does\n"
        "not open.\n",
    run,
}};

}  // namespace
