// The Qt tree against the kit tree: what the Qt widgets show, dumped from Qt
// alone, must read line for line as the kit's own dump, after the build and
// after changes made on the kit side; and Qt input must reach the kit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

#include "Common/DialogBase/TDWindowController.h"
#include "engine/dialogs/Quill_AboutPanel.h"
#include "platform/foundation/Bundle.h"
#include "platform/kit/Box.h"
#include "platform/kit/DatePicker.h"
#include "platform/kit/ImageView.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/ScrollView.h"
#include "platform/kit/SecureTextField.h"
#include "platform/kit/Slider.h"
#include "platform/kit/Stepper.h"
#include "platform/kit/TabView.h"
#include "platform/kit/TextField.h"
#include "platform/kit/ViewDump.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/Window.h"
#include "platform/qt/QtBridge.h"
#include "platform/qt/QtDump.h"

using namespace kz;
using kz::qt::QtBridge;
using kz::qt::QtDump;

namespace {

struct Rows : TableViewDataSource {
    std::vector<std::string> names{"Plain", "Thick"};
    int numberOfRowsInTableView(TableView&) override { return static_cast<int>(names.size()); }
    Value objectValueForTableColumn(TableView&, TableColumn* c, int row) override {
        return Value(c->identifier() == "name" ? names[static_cast<std::size_t>(row)] : std::to_string(row));
    }
};

struct Tree : OutlineViewDataSource {
    struct Node {
        std::string name;
        std::vector<std::shared_ptr<Node>> children;
    };
    std::shared_ptr<Node> root = std::make_shared<Node>(Node{"", {std::make_shared<Node>(Node{"Paper", {std::make_shared<Node>(Node{"Size", {}})}}),
                                                                  std::make_shared<Node>(Node{"Copies", {}})}});
    const Node& of(const OutlineItem& i) { return i ? *static_cast<Node*>(i.get()) : *root; }
    int numberOfChildrenOfItem(OutlineView&, const OutlineItem& i) override { return static_cast<int>(of(i).children.size()); }
    OutlineItem child(OutlineView&, int n, const OutlineItem& i) override { return of(i).children[static_cast<std::size_t>(n)]; }
    bool isItemExpandable(OutlineView&, const OutlineItem& i) override { return !of(i).children.empty(); }
    Value objectValueForTableColumn(OutlineView&, TableColumn*, const OutlineItem& i) override { return Value(of(i).name); }
};

// Every kind of view the bridge knows, in one window.
struct Everything {
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect(100, 200, 520, 420));
    std::shared_ptr<Box> box = std::make_shared<Box>(Rect(10, 300, 240, 110));
    std::shared_ptr<Button> push = std::make_shared<Button>(Rect(10, 10, 96, 32));
    std::shared_ptr<Button> check = std::make_shared<Button>(Rect(10, 50, 150, 18));
    std::shared_ptr<PopUpButton> popup = std::make_shared<PopUpButton>(Rect(260, 380, 200, 26));
    std::shared_ptr<Matrix> matrix;
    std::shared_ptr<Slider> slider = std::make_shared<Slider>(Rect(260, 340, 200, 24));
    std::shared_ptr<Stepper> stepper = std::make_shared<Stepper>(Rect(470, 340, 19, 27));
    std::shared_ptr<DatePicker> date = std::make_shared<DatePicker>(Rect(260, 300, 200, 24));
    std::shared_ptr<TextField> field = std::make_shared<TextField>(Rect(260, 260, 200, 22));
    std::shared_ptr<SecureTextField> secure = std::make_shared<SecureTextField>(Rect(260, 230, 200, 22));
    std::shared_ptr<TextField> label = std::make_shared<TextField>(Rect(260, 200, 200, 17));
    std::shared_ptr<ImageView> image = std::make_shared<ImageView>(Rect(470, 380, 32, 32));
    std::shared_ptr<TabView> tabs = std::make_shared<TabView>(Rect(10, 150, 240, 140));
    std::shared_ptr<ScrollView> scroll = std::make_shared<ScrollView>(Rect(260, 60, 240, 130));
    std::shared_ptr<TableView> table = std::make_shared<TableView>(Rect(0, 0, 240, 130));
    std::shared_ptr<OutlineView> outline = std::make_shared<OutlineView>(Rect(10, 10, 240, 130));
    Rows rows;
    Tree tree;

    Everything() {
        window->setTitle("Everything");
        View& content = window->contentView();
        box->setTitle("Finishing");
        push->setTitle("Print & Save");
        check->setButtonType(ButtonType::Switch);
        check->setTitle("Collate");
        check->setState(OnState);
        box->contentView().addSubview(push);
        box->contentView().addSubview(check);
        content.addSubview(box);
        popup->addItemsWithTitles({"Plain Paper", "Thick Paper"});
        popup->menu().addItem(MenuItem::separatorItem());
        popup->addItemWithTitle("Transparency");
        popup->setAutoenablesItems(false);
        popup->itemAtIndex(3)->setEnabled(false);
        popup->selectItemAtIndex(1);
        content.addSubview(popup);
        auto radio = std::make_unique<ButtonCell>("");
        radio->setButtonType(ButtonType::Radio);
        matrix = std::make_shared<Matrix>(Rect(10, 110, 240, 36), MatrixMode::Radio, std::move(radio), 2, 1);
        matrix->setCellSize({240, 18});
        matrix->cellAtRow(0, 0)->setTitle("Portrait");
        matrix->cellAtRow(1, 0)->setTitle("Landscape");
        matrix->selectCellAtRow(1, 0);
        content.addSubview(matrix);
        slider->setMinValue(0);
        slider->setMaxValue(4);
        slider->setNumberOfTickMarks(5);
        slider->setAllowsTickMarkValuesOnly(true);
        slider->setDoubleValue(3);
        content.addSubview(slider);
        stepper->setMaxValue(99);
        stepper->setDoubleValue(7);
        content.addSubview(stepper);
        date->setDateValue(Date::fromUnix(1700000000));
        content.addSubview(date);
        field->setStringValue("Report");
        field->setToolTip("The job's name");
        content.addSubview(field);
        secure->setStringValue("secret");
        content.addSubview(secure);
        label->setEditable(false);
        label->setBezeled(false);
        label->setStringValue("Copies:");
        content.addSubview(label);
        auto picture = std::make_shared<Image>(16, 16, "Printer");
        for (std::uint32_t y = 0; y < 16; ++y)
            for (std::uint32_t x = 0; x < 16; ++x) picture->setPixel(x, y, 0x3366ccff);
        image->setImage(picture);
        content.addSubview(image);
        for (const char* name : {"General", "Layout"}) {
            auto item = std::make_shared<TabViewItem>(Value(name));
            item->setLabel(name);
            item->setView(std::make_shared<View>(Rect(0, 0, 240, 110)));
            tabs->addTabViewItem(item);
        }
        tabs->tabViewItemAtIndex(1)->view()->addSubview(std::make_shared<Button>(Rect(10, 10, 80, 24)));
        content.addSubview(tabs);
        table->addTableColumn(std::make_shared<TableColumn>("name", 150));
        table->addTableColumn(std::make_shared<TableColumn>("index", 60));
        table->setDataSource(&rows);
        table->reloadData();
        table->selectRow(1);
        scroll->setDocumentView(table);
        content.addSubview(scroll);
        outline->addTableColumn(std::make_shared<TableColumn>("option", 200));
        outline->setDataSource(&tree);
        outline->reloadData();
        outline->expandItem(outline->itemAtRow(0));
        outline->setHidden(true);
        content.addSubview(outline);
    }
    ~Everything() { QtBridge::shared().forget(*window); }
};

std::string kitTree(const Window& w) { return ViewDump::dump(w.contentView(), 1); }

std::string qtTree(const Window& w) {
    QWidget* top = QtBridge::shared().find(w)->topLevel();
    std::string all = QtDump::dumpWindow(*top);
    return all.substr(all.find('\n') + 1);
}

}  // namespace

TEST(QtMirror, EveryKindOfViewReadsAsTheKitTreeAfterBuildAndAfterChanges) {
    Everything e;
    QWidget* top = QtBridge::shared().show(*e.window);
    ASSERT_TRUE(top->isVisible());
    EXPECT_EQ(top->windowTitle().toStdString(), "Everything");
    EXPECT_EQ(top->size(), QSize(520, 420));
    EXPECT_EQ(qtTree(*e.window), kitTree(*e.window));
    // Flipped: the box at kit y 300 (height 110) of 420 sits 10 from the top.
    EXPECT_EQ(QtBridge::shared().find(*e.window)->widgetFor(*e.box)->geometry(), QRect(10, 10, 240, 110));

    // Changes on the kit side.
    e.window->setTitle("Changed");
    e.push->setTitle("Preview");
    e.push->setEnabled(false);
    e.check->setState(OffState);
    e.popup->itemAtIndex(0)->setTitle("Plain");
    e.popup->selectItemAtIndex(4);
    e.matrix->selectCellAtRow(0, 0);
    e.matrix->cellAtRow(1, 0)->setEnabled(false);
    e.slider->setDoubleValue(1);
    e.stepper->setDoubleValue(8);
    e.field->setStringValue("Budget");
    e.label->setHidden(true);
    e.box->setTitle("Output");
    e.box->setFrame(Rect(10, 290, 240, 120));
    e.tabs->selectTabViewItemAtIndex(1);
    e.rows.names.push_back("Labels");
    e.table->reloadData();
    e.table->selectRowIndexes({0, 2}, false);
    e.outline->setHidden(false);
    e.outline->collapseItem(e.outline->itemAtRow(0));
    e.image->removeFromSuperview();
    auto added = std::make_shared<Button>(Rect(470, 300, 40, 24));
    added->setTitle("Later");
    e.window->contentView().addSubview(added);
    e.check->setButtonType(ButtonType::MomentaryPush);  // another kind of widget
    QtBridge::shared().sweep();
    QCoreApplication::processEvents();
    EXPECT_EQ(qtTree(*e.window), kitTree(*e.window));
    EXPECT_EQ(top->windowTitle().toStdString(), "Changed");

    e.window->orderOut();
    QtBridge::shared().sweep();
    EXPECT_FALSE(top->isVisible());
}

TEST(QtMirror, TheBundlesAboutDescriptionMirrorsAsLoaded) {
    ComTORVALEKZ2R4_Plugin::TDWindowController::registerWindowClasses();
    ComTORVALEKZ2R4_Plugin::Quill_AboutPanel::registerWindowClass();
    auto bundle = Bundle::open(KZ_BUNDLE_DIR);
    ASSERT_TRUE(bundle);
    std::string error;
    auto loaded = ViewLoader::loadFile(bundle->pathForResource("About", "plist"), nullptr, &error);
    ASSERT_TRUE(loaded && loaded->window) << error;
    auto& fields = loaded->window->contentView().subviews();
    ASSERT_GE(fields.size(), 2u);
    QWidget* top = QtBridge::shared().show(*loaded->window);
    EXPECT_EQ(qtTree(*loaded->window), kitTree(*loaded->window));
    static_cast<TextField&>(*fields[1]).setStringValue("Version 1.0 (7)");
    EXPECT_EQ(qtTree(*loaded->window), kitTree(*loaded->window));
    EXPECT_TRUE(top->isVisible());
    QtBridge::shared().forget(*loaded->window);
}

TEST(QtMirror, QtInputBecomesTheKitsUserActionAndTheKitHasTheLastWord) {
    Everything e;
    QtBridge::shared().show(*e.window);
    auto* m = QtBridge::shared().find(*e.window);
    int popupActions = 0, pushes = 0;
    e.popup->setAction({"changed:", [&](Control&) { ++popupActions; }});
    e.push->setAction({"pushed:", [&](Control&) { ++pushes; }});

    auto* combo = static_cast<QComboBox*>(m->widgetFor(*e.popup));
    emit combo->activated(0);
    EXPECT_EQ(e.popup->indexOfSelectedItem(), 0);
    EXPECT_EQ(popupActions, 1);
    // A disabled item cannot be chosen: the kit refuses and Qt shows its choice again.
    combo->setCurrentIndex(3);
    emit combo->activated(3);
    EXPECT_EQ(e.popup->indexOfSelectedItem(), 0);
    EXPECT_EQ(combo->currentIndex(), 0);

    static_cast<QPushButton*>(m->widgetFor(*e.push))->click();
    EXPECT_EQ(pushes, 1);
    static_cast<QAbstractButton*>(m->widgetFor(*e.check))->click();
    EXPECT_EQ(e.check->state(), OffState);
    auto* matrixWidget = m->widgetFor(*e.matrix);
    matrixWidget->findChildren<QAbstractButton*>().at(0)->click();
    EXPECT_EQ(e.matrix->selectedRow(), 0);

    auto* bar = m->widgetFor(*e.tabs)->findChild<QTabBar*>();
    bar->setCurrentIndex(1);
    EXPECT_EQ(e.tabs->selectedTabViewItem()->label(), "Layout");

    auto* table = static_cast<QTreeWidget*>(m->widgetFor(*e.table));
    emit table->itemPressed(table->topLevelItem(0), 0);
    EXPECT_EQ(e.table->selectedRow(), 0);
    EXPECT_TRUE(table->topLevelItem(0)->isSelected());
    EXPECT_FALSE(table->topLevelItem(1)->isSelected());

    // Expanding in Qt asks the kit for the children; the rows follow it.
    e.outline->setHidden(false);
    e.outline->collapseItem(e.outline->itemAtRow(0));
    auto* outline = static_cast<QTreeWidget*>(m->widgetFor(*e.outline));
    outline->expandItem(outline->topLevelItem(0));
    QCoreApplication::processEvents();
    EXPECT_EQ(e.outline->numberOfRows(), 3);
    EXPECT_EQ(qtTree(*e.window), kitTree(*e.window));
}

TEST(QtMirror, ADisabledInputFieldShowsItsTextFadedALabelItsOwnColour) {
    Everything e;
    QtBridge::shared().show(*e.window);
    auto* m = QtBridge::shared().find(*e.window);
    e.field->setEnabled(false);
    e.label->setEnabled(false);
    QWidget* field = m->widgetFor(*e.field);
    QWidget* label = m->widgetFor(*e.label);
    ASSERT_TRUE(field && label);
    EXPECT_FALSE(field->isEnabled());
    const QPalette& fp = field->palette();
    EXPECT_NE(fp.color(QPalette::Disabled, QPalette::Text), fp.color(QPalette::Active, QPalette::Text));
    EXPECT_LT(fp.color(QPalette::Disabled, QPalette::Text).alphaF(), 1.0);
    // A label keeps its colour: option controls' labels are disabled text
    // items from the start and say their control's state by colour alone.
    const QPalette& lp = label->palette();
    EXPECT_EQ(lp.color(QPalette::Disabled, QPalette::WindowText), lp.color(QPalette::Active, QPalette::WindowText));
    e.field->setEnabled(true);
    EXPECT_TRUE(field->isEnabled());
    EXPECT_EQ(field->palette().color(QPalette::Active, QPalette::Text).alphaF(), 1.0);
    QtBridge::shared().forget(*e.window);
}

TEST(QtMirror, SheetsAreWindowModalChildrenOfTheirWindow) {
    auto window = std::make_shared<Window>(Rect(0, 0, 400, 300));
    auto sheet = std::make_shared<Window>(Rect(0, 0, 300, 120));
    sheet->setTitle("Name");
    QtBridge& bridge = QtBridge::shared();
    QWidget* top = bridge.show(*window);
    window->beginSheet(sheet);
    bridge.sweep();
    auto* m = bridge.find(*sheet);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->topLevel()->parentWidget(), top);
    EXPECT_EQ(m->topLevel()->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(m->topLevel()->isVisible());
    window->endSheet(*sheet, 1);
    bridge.sweep();
    EXPECT_FALSE(m->topLevel()->isVisible());
    bridge.forget(*sheet);
    bridge.forget(*window);
}
