// kzpde tree [--favorite FILE.pfj] [--settings FILE.plist] [--bundle DIR]
// [--json]: the settings tree of a print option, as the favorites window
// shows it: the panes tree with each pane's options, the entries that differ
// from the defaults marked and the folders above them opened.
#include <nlohmann/json.hpp>
#include <ostream>

#include "support/BundleLocation.h"
#include "cli/Command.h"
#include "support/FailureLog.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/JsonValue.h"
#include "support/PaneHost.h"
#include "support/PrintOptionSource.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/settingstree/PrintOptionTreeDataSource.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/TableColumn.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using nlohmann::ordered_json;
using Tree = kzp::PrintOptionTreeDataSource;

namespace {

struct Options {
    std::string bundlePath;
    std::optional<std::string> favorite, settings;
    bool json = false;
};

const char* iconName(Tree::Icon icon) {
    switch (icon) {
        case Tree::Icon::Folder: return "folder";
        case Tree::Icon::Differs: return "differs";
        case Tree::Icon::Item: break;
    }
    return "item";
}

// The settings tree of OPTION as the favorites window lays it out, one row
// each (written as text unless JSON is asked for); false when the bundle
// has no panes tree.
bool treeRows(const std::optional<kz::Dictionary>& option, const Options& o, ordered_json& rows, std::ostream& out) {
    bool found = true;
    auto outline = std::make_shared<kz::OutlineView>(kz::Rect(0, 0, 300, 400));
    auto column = std::make_shared<kz::TableColumn>(Tree::kNameColumn, 280);
    outline->addTableColumn(column);
    if (option) {
        Tree tree;
        tree.setOutlineView(outline.get(), true);
        tree.updatePrintOption(option, true);
        found = tree.treeDictionary().has_value();
        for (int r = 0; r < outline->numberOfRows(); ++r) {
            kz::OutlineItem item = outline->itemAtRow(r);
            Tree::Row row = tree.rowForItem(item);
            std::unique_ptr<kz::Cell> cell = outline->preparedCell(*column, r);
            ordered_json entry = {{"text", cell->objectValue().isNull() ? ordered_json(nullptr)
                                                                        : ordered_json(cell->stringValue())},
                                  {"icon", iconName(row.icon)},
                                  {"expanded", outline->isItemExpanded(item)},
                                  {"depth", outline->levelForRow(r)}};
            if (!o.json) {
                std::string mark = outline->isItemExpanded(item) ? "- " : outline->isExpandable(item) ? "+ " : "  ";
                out << std::string(static_cast<std::size_t>(entry["depth"].get<int>()) * 2, ' ') << mark
                        << (entry["text"].is_null() ? std::string("(no text)") : entry["text"].get<std::string>())
                        << "  [" << iconName(row.icon) << (row.gray ? ", gray" : "") << "]\n";
            }
            rows.push_back(std::move(entry));
        }
        outline->setDataSource(nullptr);
        outline->setDelegate(nullptr);
    }
    return found;
}

int run(const Options& o, kzpde::Invocation& inv) {
    kzpde::PaneHost host;
    if (!host.open(o.bundlePath, inv.err)) return kzpde::kFailure;
    kzp::PanePlugInMgr& mgr = host.managerWithPaneViews();
    std::optional<kz::Dictionary> option = kzpde::printOptionFrom(mgr, o.settings, o.favorite, inv.err);
    ordered_json rows = ordered_json::array();
    const bool found = treeRows(option, o, rows, inv.out);
    const int status = option && found ? kzpde::kOk : kzpde::kFailure;
    if (o.json && option) kzpde::writeJson(inv.out, nlohmann::ordered_json{{"rows", rows}});
    kzpde::FailureLog::tell(status, host.logLines(), inv.err, "###");
    return status;
}

const kzpde::Command::Registration registration({
    "tree",
    "show the settings tree of a print option, the entries that differ from the defaults marked",
    "Loads the panes, takes the defaults, lays over them the custom entries of a print\n"
    "settings file and then a favorite's options, and prints the settings tree the\n"
    "favorites window shows for them: the panes tree, each pane with its options, every\n"
    "option whose value differs from its default marked, and exactly the items above\n"
    "those opened. Text output: one row a line, indented by depth, \"-\" before an opened\n"
    "item and \"+\" before a closed one, then the icon (folder, item, differs; \"gray\" for a\n"
    "pane the manager cannot name).\n"
    "--json: {\"rows\": [{\"text\", \"icon\": \"folder\"|\"item\"|\"differs\", \"expanded\", \"depth\"}]}\n"
    "in outline order. Exit 1 when a file does not read or the bundle has no panes tree.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        app.add_option_function<std::string>("--favorite", [o](const std::string& f) { o->favorite = f; },
                                             "a favorite file whose options are laid over")
            ->type_name("FILE.pfj");
        app.add_option_function<std::string>("--settings", [o](const std::string& f) { o->settings = f; },
                                             "a print settings file whose custom entries are laid over")
            ->type_name("FILE.plist");
        kzpde::DeclaredOptions::bundle(app, o->bundlePath);
        kzpde::DeclaredOptions::json(app, o->json);
        return [o](kzpde::Invocation& inv) { return run(*o, inv); };
    },
});

}  // namespace
