#include <gtest/gtest.h>

#include "platform/kit/ButtonCell.h"
#include "platform/kit/DatePicker.h"
#include "platform/kit/Font.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/Slider.h"
#include "platform/kit/Stepper.h"
#include "platform/kit/TabView.h"

using namespace kz;

namespace {
std::unique_ptr<Cell> radioPrototype() {
    auto cell = std::make_unique<ButtonCell>("radioButton");
    cell->setButtonType(ButtonType::Radio);
    return cell;
}
}  // namespace

TEST(Matrix, RadioModeKeepsOneCellOnAndDisabledCellsCannotBeClicked) {
    Matrix m(Rect(24, 0, 200, 72), MatrixMode::Radio, radioPrototype(), 3, 1);
    int actions = 0;
    m.setAction({"radioButtonAction:", [&](Control&) { ++actions; }});
    for (int r = 0; r < 3; ++r) m.cellAtRow(r, 0)->setTitle("choice " + std::to_string(r));
    EXPECT_EQ(m.cellAtRow(1, 0)->className(), "ButtonCell");  // copies of the prototype
    EXPECT_EQ(m.selectedRow(), 0);
    EXPECT_EQ(m.cellAtRow(0, 0)->state(), OnState);

    EXPECT_TRUE(m.clickCellAtRow(2, 0));
    EXPECT_EQ(m.selectedCell()->title(), "choice 2");
    EXPECT_EQ(m.cellAtRow(0, 0)->state(), OffState);
    EXPECT_EQ(actions, 1);

    m.cellAtRow(1, 0)->setEnabled(false);
    EXPECT_FALSE(m.clickCellAtRow(1, 0));
    EXPECT_TRUE(m.isEnabled());  // one disabled cell leaves the matrix enabled
    EXPECT_EQ(m.selectedRow(), 2);
    m.setEnabled(false);
    EXPECT_FALSE(m.isAnyCellEnabled());
    EXPECT_FALSE(m.clickCellAtRow(0, 0));
    EXPECT_EQ(actions, 1);

    m.renewRows(2, 1);  // the selected row went away
    EXPECT_EQ(m.selectedCell(), nullptr);
    m.addRow();
    EXPECT_EQ(m.cellAtRow(2, 0)->title(), "radioButton");
}

TEST(Slider, OnlyTickValuesCanBeChosen) {
    Slider s;
    s.setMinValue(0);
    s.setMaxValue(4);
    s.setNumberOfTickMarks(5);
    s.setAllowsTickMarkValuesOnly(true);
    s.moveTo(2.6);
    EXPECT_DOUBLE_EQ(s.doubleValue(), 3);
    s.setDoubleValue(9);
    EXPECT_DOUBLE_EQ(s.doubleValue(), 4);
    EXPECT_DOUBLE_EQ(s.tickMarkValueAtIndex(1), 1);

    Slider r;  // a range with ten ticks
    r.setMinValue(50);
    r.setMaxValue(200);
    r.setNumberOfTickMarks(10);
    r.setAllowsTickMarkValuesOnly(true);
    r.setIntValue(120);
    EXPECT_NEAR(r.doubleValue(), 116.6667, 1e-3);
}

TEST(Stepper, StepsWrapOrStopAtTheEnds) {
    Stepper s;
    s.setMinValue(0);
    s.setMaxValue(0.3);
    s.setIncrement(0.1);
    s.setValueWraps(false);
    for (int i = 0; i < 5; ++i) s.stepUp();
    EXPECT_NEAR(s.doubleValue(), 0.3, 1e-9);
    s.setValueWraps(true);
    s.setDoubleValue(0.3);
    s.stepUp();
    EXPECT_DOUBLE_EQ(s.doubleValue(), 0);
    s.stepDown();
    EXPECT_NEAR(s.doubleValue(), 0.3, 1e-9);
}

TEST(DatePicker, DateStaysBetweenEarliestAndLatest) {
    DatePicker d;
    d.setMinDate(Date{100});
    EXPECT_EQ(d.dateValue(), Date{100});
    d.setMaxDate(Date{200});
    d.pick(Date{500});
    EXPECT_EQ(d.dateValue(), Date{200});
    d.setObjectValue(Value("not a date"));
    EXPECT_EQ(d.dateValue(), Date{200});
}

TEST(TabView, OnlyTheFrontTabsViewIsShownAndTheDelegateMayRefuse) {
    struct Refuse : TabViewDelegate {
        bool tabViewShouldSelectTabViewItem(TabView&, TabViewItem& item) override { return item.label() != "Locked"; }
    } refuse;
    TabView tabs;
    for (const char* label : {"General", "Locked", "Finish"}) {
        auto item = std::make_shared<TabViewItem>(Value(label));
        item->setLabel(label);
        item->setView(std::make_shared<View>());
        tabs.addTabViewItem(item);
    }
    EXPECT_EQ(tabs.selectedTabViewItem()->label(), "General");
    ASSERT_EQ(tabs.subviews().size(), 1u);
    tabs.setDelegate(&refuse);
    EXPECT_FALSE(tabs.selectTabViewItemWithIdentifier(Value("Locked")));
    EXPECT_TRUE(tabs.selectTabViewItemAtIndex(2));
    EXPECT_EQ(tabs.subviews().front().get(), tabs.tabViewItemAtIndex(2)->view());
    tabs.removeTabViewItem(*tabs.tabViewItemAtIndex(2));
    EXPECT_EQ(tabs.selectedTabViewItem()->label(), "Locked");  // removal is not a user choice
    EXPECT_EQ(tabs.subviews().front().get(), tabs.tabViewItemAtIndex(1)->view());
}

TEST(Font, MeasuresRealAdvancesAndFallsBackForMissingFaces) {
    Font regular("", 15);
    double w = regular.widthOfString("Maximum");
    EXPECT_GT(w, 30);
    EXPECT_LT(w, 100);
    EXPECT_DOUBLE_EQ(Font("", 30).widthOfString("Maximum"), 2 * w);
    EXPECT_GT(Font("", 15).widthOfString("WWW"), Font("", 15).widthOfString("iii"));
    Font missing("Helvetica Neue Bold", 15);  // whatever fontconfig substitutes
    EXPECT_GT(missing.widthOfString("Max"), 0);
    EXPECT_GE(missing.widthOfString("Maximum"), w);  // bold is no narrower
    EXPECT_DOUBLE_EQ(regular.widthOfString(""), 0);
    EXPECT_GT(regular.widthOfString("\xff\xfe"), 0);  // invalid bytes still measure
}
