// kzpde tree [--favorite FILE.pfj] [--settings FILE.plist] [--bundle DIR]
// [--json]: the settings tree of a print option, as the favorites window
// shows it: the panes tree with each pane's options, the entries that differ
// from the defaults marked and the folders above them opened.
#include <nlohmann/json.hpp>
#include <ostream>

#include "BundleLocation.h"
#include "Command.h"
#include "FailureLog.h"
#include "JsonValue.h"
#include "PaneHost.h"
#include "PrintOptionSource.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/settingstree/PrintOptionTreeDataSource.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/TableColumn.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using nlohmann::ordered_json;
using Tree = kzp::PrintOptionTreeDataSource;

namespace {

constexpr const char* kUsage = "usage: kzpde tree [--favorite FILE.pfj] [--settings FILE.plist] [--bundle DIR] [--json]\n";

struct Options {
    std::string bundlePath = kzpde::BundleLocation::path();
    std::optional<std::string> favorite, settings;
    bool json = false;
};

bool parse(const std::vector<std::string>& args, Options& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--json") o.json = true;
        else if (a == "--favorite" && hasValue && !o.favorite) o.favorite = args[++i];
        else if (a == "--settings" && hasValue && !o.settings) o.settings = args[++i];
        else if (a == "--bundle" && hasValue) o.bundlePath = args[++i];
        else return false;
    }
    return true;
}

const char* iconName(Tree::Icon icon) {
    switch (icon) {
        case Tree::Icon::Folder: return "folder";
        case Tree::Icon::Differs: return "differs";
        case Tree::Icon::Item: break;
    }
    return "item";
}

int run(kzpde::Invocation& inv) {
    Options o;
    if (!parse(inv.args, o)) {
        inv.err << kUsage;
        return kzpde::kUsage;
    }
    kzpde::PaneHost host;
    if (!host.open(o.bundlePath, inv.err)) return kzpde::kFailure;
    kzp::PanePlugInMgr& mgr = host.managerWithPaneViews();
    std::optional<kz::Dictionary> option = kzpde::printOptionFrom(mgr, o.settings, o.favorite, inv.err);
    int status = kzpde::kOk;
    if (!option) status = kzpde::kFailure;

    auto outline = std::make_shared<kz::OutlineView>(kz::Rect(0, 0, 300, 400));
    auto column = std::make_shared<kz::TableColumn>(Tree::kNameColumn, 280);
    outline->addTableColumn(column);
    ordered_json rows = ordered_json::array();
    if (option) {
        Tree tree;
        tree.setOutlineView(outline.get(), true);
        tree.updatePrintOption(option, true);
        if (!tree.treeDictionary()) status = kzpde::kFailure;
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
                inv.out << std::string(static_cast<std::size_t>(entry["depth"].get<int>()) * 2, ' ') << mark
                        << (entry["text"].is_null() ? std::string("(no text)") : entry["text"].get<std::string>())
                        << "  [" << iconName(row.icon) << (row.gray ? ", gray" : "") << "]\n";
            }
            rows.push_back(std::move(entry));
        }
        outline->setDataSource(nullptr);
        outline->setDelegate(nullptr);
    }
    if (o.json && option) inv.out << kzpde::jsonText({{"rows", rows}}) << "\n";
    kzpde::FailureLog::tell(status, host.logLines(), inv.err, "###");
    return status;
}

const kzpde::Command::Registration registration({
    "tree",
    "show the settings tree of a print option, the entries that differ from the defaults marked",
    "usage: kzpde tree [--favorite FILE.pfj] [--settings FILE.plist] [--bundle DIR] [--json]\n\n"
    "Loads the panes, takes the defaults, lays over them the custom entries of a print\n"
    "settings file and then a favorite's options, and prints the settings tree the\n"
    "favorites window shows for them: the panes tree, each pane with its options, every\n"
    "option whose value differs from its default marked, and exactly the items above\n"
    "those opened. Text output: one row a line, indented by depth, \"-\" before an opened\n"
    "item and \"+\" before a closed one, then the icon (folder, item, differs; \"gray\" for a\n"
    "pane the manager cannot name).\n"
    "--json: {\"rows\": [{\"text\", \"icon\": \"folder\"|\"item\"|\"differs\", \"expanded\", \"depth\"}]}\n"
    "in outline order. Exit 1 when a file does not read or the bundle has no panes tree.\n",
    run,
});

}  // namespace
