// The settings tree: the panes tree in an outline with one print option's
// settings, the entries that differ from the defaults marked and opened.
#include <gmock/gmock.h>

#include "PaneTestSupport.h"
#include "engine/settingstree/PrintOptionTreeDataSource.h"
#include "platform/foundation/RunLoop.h"
#include "platform/kit/BrowserCell.h"
#include "platform/kit/TableColumn.h"

using namespace panetest;
using Tree = kzp::PrintOptionTreeDataSource;
using ::testing::ElementsAre;

namespace {

kz::Dictionary folder(const std::string& name, kz::Array items) {
    return kz::Dictionary{{"itemName", name}, {"items", std::move(items)}};
}
kz::Dictionary option(const std::string& alias, bool differs = false) {
    kz::Dictionary d{{"mainAlias", alias}};
    if (differs) d.set("differedWithDefault", true);
    return d;
}

struct Shown {
    std::string text;
    Tree::Icon icon;
    bool expanded;
    int depth;
};

class SettingsTree : public ::testing::Test {
protected:
    PlugInFixture f;
    std::shared_ptr<kz::OutlineView> outline = std::make_shared<kz::OutlineView>(kz::Rect(0, 0, 300, 300));
    std::shared_ptr<kz::TableColumn> column = std::make_shared<kz::TableColumn>(Tree::kNameColumn, 150);
    std::unique_ptr<Tree> tree;

    void SetUp() override { outline->addTableColumn(column); }
    void TearDown() override { tree.reset(); }

    void show(const kz::Dictionary& panesTree, std::optional<kz::Dictionary> printOption = kz::Dictionary{}) {
        f.panesTree(panesTree);
        f.manager().loadPlugIns();
        tree = std::make_unique<Tree>();
        tree->setOutlineView(outline.get(), true);
        tree->updatePrintOption(printOption, true);
    }
    std::vector<std::string> texts() {
        std::vector<std::string> out;
        for (int r = 0; r < outline->numberOfRows(); ++r) out.push_back(outline->preparedCell(*column, r)->stringValue());
        return out;
    }
    Shown row(int r) {
        kz::OutlineItem item = outline->itemAtRow(r);
        return {outline->preparedCell(*column, r)->stringValue(), tree->rowForItem(item).icon,
                outline->isItemExpanded(item), outline->levelForRow(r)};
    }
};

TEST_F(SettingsTree, ACurrentSettingFolderFirstIsTheWholeTreeAndLastIsLeftOut) {
    kz::Array items{folder("CurrentSetting", {option("Copies"), option("Staple")}), folder("Paper", {option("Size")})};
    show(kz::Dictionary{{"items", items}});
    EXPECT_THAT(texts(), ElementsAre("Copies", "Staple"));

    show(kz::Dictionary{{"items", kz::Array{folder("Paper", {option("Size")}), option("Copies"),
                                            folder("CurrentSetting", {option("Staple")})}}});
    EXPECT_THAT(texts(), ElementsAre("Paper", "Copies"));
}

TEST_F(SettingsTree, OneChangedOptionOpensExactlyTheFoldersAboveItAndCarriesTheDifferIcon) {
    kz::Array items{folder("Finishing", {folder("Staple", {option("Position", true), option("Count")}), option("Punch")}),
                    folder("Paper", {option("Size")})};
    show(kz::Dictionary{{"items", items}});
    ASSERT_EQ(outline->numberOfRows(), 6);
    EXPECT_EQ(row(0).text, "Finishing");
    EXPECT_TRUE(row(0).expanded);
    EXPECT_EQ(row(0).icon, Tree::Icon::Folder);
    EXPECT_TRUE(row(1).expanded);  // Staple
    EXPECT_EQ(row(2).text, "Position");
    EXPECT_EQ(row(2).icon, Tree::Icon::Differs);
    EXPECT_EQ(row(2).depth, 2);
    EXPECT_EQ(row(3).icon, Tree::Icon::Item);
    EXPECT_EQ(row(5).text, "Paper");
    EXPECT_FALSE(row(5).expanded);
    // The cell shows the differ icon at 16 points.
    auto cell = outline->preparedCell(*column, 2);
    auto* browser = dynamic_cast<kz::BrowserCell*>(cell.get());
    ASSERT_NE(browser, nullptr);
    ASSERT_NE(browser->image(), nullptr);
    EXPECT_EQ(browser->image(), tree->iconFor(Tree::Icon::Differs));
    EXPECT_EQ(browser->image()->size().width, Tree::kIconSize);

    // A refresh opens only what differs again.
    outline->expandItem(outline->itemAtRow(5));
    tree->updatePrintOption(kz::Dictionary{}, true);
    EXPECT_EQ(outline->numberOfRows(), 6);
    EXPECT_FALSE(outline->isItemExpanded(outline->itemAtRow(5)));
}

TEST_F(SettingsTree, PanesAreNamedByTheManagerAndOneWithoutANameIsGrayAndCannotBeChosen) {
    RegisteredClass cls("TestPane");
    f.pane("Plain", "TestPane");
    f.pane("Art_ColorDetailsRGB_", "TestPane");
    writeText(f.resources() + "/en.lproj/UI.strings", "\"Missing\" = \"Lost pane\";\n\"Color\" = \"Colour\";\n");
    kz::Dictionary unnamed{{"items", kz::Array{kz::Dictionary{{"plugInName", "Color_Details"}}}}};
    show(kz::Dictionary{{"items", kz::Array{kz::Dictionary{{"bundleName", "Plain"}},
                                            kz::Dictionary{{"bundleName", "Art_ColorDetailsRGB_"}},
                                            kz::Dictionary{{"bundleName", "Missing"}}, unnamed}}});
    ASSERT_EQ(outline->numberOfRows(), 4);
    EXPECT_EQ(row(0).text, "Test pane");
    EXPECT_EQ(row(0).icon, Tree::Icon::Folder);
    EXPECT_EQ(row(1).icon, Tree::Icon::Item);
    EXPECT_EQ(row(2).text, "Lost pane");
    EXPECT_TRUE(tree->rowForItem(outline->itemAtRow(2)).gray);
    EXPECT_EQ(outline->preparedCell(*column, 2)->textColor(), kz::Color::disabledControlTextColor());
    EXPECT_EQ(row(3).text, "  Colour");

    EXPECT_TRUE(outline->clickRow(0));
    EXPECT_FALSE(outline->clickRow(2));
    EXPECT_EQ(outline->selectedRow(), 0);
    EXPECT_TRUE(outline->clickRow(3));
}

TEST_F(SettingsTree, AVeryLongNameWidensTheColumnToItsWidthPlusForty) {
    const std::string name = "An option whose display name is far longer than the column it is shown in";
    show(kz::Dictionary{{"items", kz::Array{folder("Paper", {option(name, true)})}}});
    ASSERT_EQ(outline->numberOfRows(), 2);
    outline->preparedCell(*column, 1);
    double needed = outline->indentationPerLevel() + column->dataCell().font().widthOfString(name);
    EXPECT_DOUBLE_EQ(column->width(), needed + 40);
    EXPECT_DOUBLE_EQ(column->maxWidth(), needed + 40);
    // The row is drawn again on the next pass; a data source gone by then
    // leaves the outline alone.
    tree.reset();
    kz::RunLoop::current().runMode(kz::RunLoop::kDefaultMode);
    EXPECT_EQ(outline->outlineDataSource(), nullptr);
}

TEST_F(SettingsTree, NoPanesTreeShowsNothing) {
    f.manager().loadPlugIns();
    tree = std::make_unique<Tree>();
    tree->setOutlineView(outline.get(), false);
    tree->updatePrintOption(kz::Dictionary{}, true);
    EXPECT_FALSE(tree->treeDictionary());
    EXPECT_EQ(outline->numberOfRows(), 0);
}

}  // namespace
