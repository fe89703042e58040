#include <gtest/gtest.h>

#include <stdexcept>

#include "Common/Util/AlertUtil.h"
#include "Common/Util/ControlUtil.h"
#include "Common/Util/TableViewUtil.h"
#include "platform/kit/BrowserCell.h"
#include "platform/kit/TableView.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/ViewDump.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using namespace kz;

namespace {

// Runs `show`, answering the one alert it brings up with Return; answers
// the alert's dump ("" when none came up).
template <typename F>
std::string shownAlert(F show) {
    std::string seen;
    ScriptedUiDriver driver;
    driver.then([&](Application&, Window& w) {
        seen = ViewDump::dump(w);
        return true;
    });
    driver.pressKey("\r");
    Application::shared().setDriver(&driver);
    show();
    Application::shared().setDriver(nullptr);
    return seen;
}

}  // namespace

TEST(AlertUtil, SimpleAndWarningAlertsFormatTheirMessage) {
    std::string dump = shownAlert([] { kzp::SimpleAlert("Tray", "%d sheets in %s", 3, "Tray 2"); });
    EXPECT_NE(dump.find("value=\"Tray\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("value=\"3 sheets in Tray 2\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("title=\"OK\""), std::string::npos);
    dump = shownAlert([] { kzp::WarningAlert("%s", "No paper"); });
    EXPECT_NE(dump.find("value=\"No paper\""), std::string::npos) << dump;
    EXPECT_EQ(shownAlert([] { kzp::SimpleAlert("Tray", nullptr); }), "");
    EXPECT_EQ(shownAlert([] { kzp::ExceptionAlert(nullptr); }), "");
}

TEST(AlertUtil, ExceptionAlertNamesTheExceptionAndItsReason) {
    std::runtime_error e("tab missing");
    EXPECT_EQ(kzp::exceptionName(e), "std::runtime_error");
    EXPECT_EQ(kzp::exceptionMessage(e), "Exception: tab missing");
    std::string dump = shownAlert([&] { kzp::ExceptionAlert(&e); });
    EXPECT_NE(dump.find("value=\"std::runtime_error\""), std::string::npos) << dump;

    auto alert = kzp::SimpleAlertObject("details", std::nullopt);
    EXPECT_EQ(alert->alertStyle(), AlertStyle::Warning);
    EXPECT_EQ(alert->informativeText(), "details");
    EXPECT_EQ(alert->messageText(), "");
}

TEST(ControlUtil, PopUpSelectionByTitleWithFallback) {
    PopUpButton p;
    p.addItemsWithTitles({"A4", "A3", "Letter"});
    p.itemAtIndex(1)->setRepresentedObject(Value("a3"));
    EXPECT_TRUE(kzp::selectWithTitle(&p, "A3", 0));
    EXPECT_EQ(kzp::representedObjectOfSelectedItem(&p), Value("a3"));
    EXPECT_FALSE(kzp::selectWithTitle(&p, "B5", 2));
    EXPECT_EQ(p.indexOfSelectedItem(), 2);
    EXPECT_FALSE(kzp::selectWithTitle(&p, "B5", 7));  // no such index: the selection stays
    EXPECT_EQ(p.indexOfSelectedItem(), 2);
    EXPECT_FALSE(kzp::selectWithTitle(&p, std::nullopt, 0));
    EXPECT_EQ(p.indexOfSelectedItem(), 2);
    EXPECT_TRUE(kzp::representedObjectOfSelectedItem(nullptr).isNull());
}

TEST(ControlUtil, RepresentedObjectKeysAndCheckBoxes) {
    Button box;
    box.setButtonType(ButtonType::Switch);
    Dictionary d;
    d.set("title", Value("Staple"));
    box.cell()->setRepresentedObject(Value(d));
    EXPECT_EQ(kzp::representedObjectForKey(&box, "title"), Value("Staple"));
    box.cell()->setRepresentedObject(Value("Staple"));
    EXPECT_TRUE(kzp::representedObjectForKey(&box, "title").isNull());

    TextField label, field;
    label.setEditable(false);
    Button other;
    std::vector<Control*> controls{&label, &field, &other};
    EXPECT_FALSE(kzp::setEnabledConrtolsByCheckBox(&box, controls));
    EXPECT_FALSE(label.isEnabled());
    EXPECT_EQ(label.textColor(), Color::disabledControlTextColor());
    EXPECT_FALSE(field.isEnabled());
    EXPECT_EQ(field.textColor(), Color::controlTextColor());  // an editable field only disables
    EXPECT_FALSE(other.isEnabled());

    box.setState(OnState);
    EXPECT_TRUE(kzp::setEnabledConrtolsByCheckBox(&box, controls));
    EXPECT_TRUE(label.isEnabled());
    EXPECT_EQ(label.textColor(), Color::controlTextColor());
    box.setEnabled(false);  // on but disabled counts as off
    EXPECT_FALSE(kzp::isOnAndEnabled(&box));

    kzp::setTitleString(&label, "Copies");
    EXPECT_EQ(label.stringValue(), "Copies:");
}

TEST(TableViewUtil, BrowserCellGoesIntoTheNamedColumnOnly) {
    TableView table;
    table.addTableColumn(std::make_shared<TableColumn>("name"));
    EXPECT_EQ(kzp::setBrowserCellToColumn(nullptr, "name"), nullptr);
    EXPECT_EQ(kzp::setBrowserCellToColumn(&table, "comment"), nullptr);
    BrowserCell* cell = kzp::setBrowserCellToColumn(&table, "name");
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(&table.tableColumnWithIdentifier("name")->dataCell(), cell);
    EXPECT_TRUE(cell->isLeaf());
    EXPECT_TRUE(cell->wraps());
}
