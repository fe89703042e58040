// Construction and layout of option controls: frames, heights, children,
// texts from the "UI" table, icons and the child description file.
#include <gtest/gtest.h>

#include <functional>

#include "QuillUITestSupport.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Font.h"
#include "platform/kit/ViewLoader.h"

using namespace quilltest;

namespace {

kz::Dictionary with(const std::string& name, std::initializer_list<kz::Dictionary::Entry> changes) {
    kz::Dictionary d = descriptions().get(name).dictionary();
    for (const auto& [key, value] : changes) d.set(key, value);
    return d;
}

std::shared_ptr<kzp::QuillUI> buildFrom(const kz::Dictionary& d, double width = 300, double height = 200) {
    auto c = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, width, height));
    c->setChildDescriptions(std::make_shared<const kz::Dictionary>(descriptions()));
    c->createControls(d);
    return c;
}

}  // namespace

TEST(QuillUILayout, PopupWithHeadColumnAndLabel) {
    auto c = build("Tray", 400, 120);
    EXPECT_EQ(c->popupButton()->frame(), kz::Rect(60, 120 - 48, 400 - 60, 24));
    EXPECT_EQ(c->labelText()->frame(), kz::Rect(60, 96, 340, 20));
    EXPECT_EQ(c->headText()->frame(), kz::Rect(24, 72, 36, 20));
    EXPECT_EQ(c->getControlHeight(), 48);
    // A paragraph indents by 18; a group title takes the top row.
    auto p = buildFrom(with("Tray", {{"isParagraph", true}, {"groupTitle", "Paper"}, {"head_text_width", 50}}), 400, 120);
    EXPECT_EQ(p->groupTitleText()->frame(), kz::Rect(24, 96, 376, 20));
    EXPECT_EQ(p->popupButton()->frame(), kz::Rect(42 + 50, 120 - 24 - 48, 400 - 42 - 50, 24));
    // An empty label gives up its row.
    auto e = buildFrom(with("Tray", {{"text", ""}}), 400, 120);
    EXPECT_EQ(e->popupButton()->frame().minY(), 120 - 24);
    EXPECT_EQ(e->labelText(), nullptr);
    EXPECT_EQ(e->getControlHeight(), 24);
}

TEST(QuillUILayout, HeightsByType) {
    EXPECT_EQ(build("Inverted")->getControlHeight(), 48);  // two-line label
    EXPECT_EQ(build("Inverted")->checkBox()->frame().size.height, 48);
    EXPECT_EQ(build("Duplex")->getControlHeight(), 104);
    EXPECT_EQ(buildFrom(with("Duplex", {{"text", ""}}))->getControlHeight(), 80);
    EXPECT_EQ(build("Hold")->getControlHeight(), 203);
    EXPECT_EQ(build("Later")->getControlHeight(), 179);
    EXPECT_EQ(build("JobName")->getControlHeight(), 48);
    EXPECT_EQ(build("Level")->getControlHeight(), 24);
    EXPECT_EQ(buildFrom(with("Tray", {{"blank_line_count", 2}}))->getControlHeight(), 96);
    EXPECT_EQ(buildFrom(with("Title", {{"blank_line_count", 2}}))->getControlHeight(), 0);
    EXPECT_EQ(buildFrom(with("Staple", {{"isGroupMain", false}, {"groupTitle", "G"}}))->getControlHeight(), 48);
    EXPECT_EQ(build("Orientation")->getControlHeight(), 40);
}

TEST(QuillUILayout, RadioColumnCheckBoxAndTextField) {
    auto radio = build("Duplex", 300, 200);
    EXPECT_EQ(radio->radioButtonMatrix()->frame(), kz::Rect(24, 200 - 24 - 96, 276, 96));
    EXPECT_EQ(radio->radioButtonMatrix()->cellSize(), (kz::Size{276, 24}));
    EXPECT_EQ(radio->radioButtonMatrix()->cellAtRow(3, 0)->title(), "Booklet");
    auto box = build("Staple", 300, 200);
    EXPECT_EQ(box->checkBox()->frame(), kz::Rect(24, 176, 276, 24));
    EXPECT_EQ(box->checkBox()->title(), "Staple");
    EXPECT_EQ(box->checkBox()->bezelStyle(), kz::BezelStyle::ThickSquare);
    auto text = build("JobName", 300, 200);
    EXPECT_EQ(text->textField()->frame(), kz::Rect(24, 152, 300 - 24 - 15 - 104, 24));
    EXPECT_EQ(text->pushButton()->frame(), kz::Rect(185, 152, 100, 24));
    EXPECT_EQ(text->textField()->formatter(), nullptr);
    EXPECT_NE(buildFrom(with("JobName", {{"max_byte", 63}}))->textField()->formatter(), nullptr);
    EXPECT_EQ(buildFrom(with("JobName", {{"max_byte", -1}}))->textField()->formatter(), nullptr);
}

TEST(QuillUILayout, NumberFieldTakesDecimalsAndWidthFromItsLimits) {
    auto c = build("Copies", 300, 100);
    // "99.99" is five characters: 7 * 5 + 14. Without an icon the field starts
    // where other controls' widgets do.
    EXPECT_EQ(c->textField()->frame(), kz::Rect(24, 52, 49, 24));
    EXPECT_EQ(c->stepper()->frame(), kz::Rect(73, 52, 24, 24));
    EXPECT_DOUBLE_EQ(c->stepper()->increment(), 0.01);
    EXPECT_EQ(c->descriptionText()->stringValue(), "(0.5 to 99.99)");
    EXPECT_EQ(c->descriptionText()->frame(), kz::Rect(97, 52, 203, 24));
    EXPECT_EQ(c->labelText()->frame().minX(), 24);
    auto whole = build("Count");
    EXPECT_DOUBLE_EQ(whole->stepper()->increment(), 1);
    EXPECT_EQ(whole->textField()->frame().size.width, 35);
    auto noMax = kz::Dictionary(descriptions().get("Count").dictionary());
    noMax.remove("max");
    EXPECT_EQ(buildFrom(noMax)->textField()->frame().size.width, 100);
}

TEST(QuillUILayout, UnitAndRangeTextFitsAHalfWidthControl) {
    // A size field in one of two columns: the unit and range after the
    // stepper is read whole, not cut after its first digits.
    auto size = buildFrom(with("Copies", {{"min", "100.00"}, {"max", "320.00"}, {"desc_text", "mm (%@ - %@)"}}), 250, 100);
    const std::string shown = size->descriptionText()->stringValue();
    EXPECT_EQ(shown, "mm (100.00 - 320.00)");
    EXPECT_GE(size->descriptionText()->frame().size.width, kz::Font::systemFontOfSize(13).widthOfString(shown));
    EXPECT_LE(size->descriptionText()->frame().maxX(), 250);
}

TEST(QuillUILayout, SliderTicksAndEndTexts) {
    auto c = build("Density", 300, 100);
    EXPECT_EQ(c->slider()->frame(), kz::Rect(48, 50, 208, 30));
    EXPECT_EQ(c->slider()->numberOfTickMarks(), 3);
    ASSERT_EQ(c->sliderTickLabels().size(), 3u);
    // (208 - 13) / 2 cut to 97.
    EXPECT_EQ(c->sliderTickLabels()[1]->frame(), kz::Rect(48 + 97, 100 - 67.19999999999999, 40, 20));
    EXPECT_EQ(c->sliderTickLabels()[0]->stringValue(), " L");
    auto single = buildFrom(with("Density", {{"choices", kz::Array{kz::Value(kz::Dictionary{{"choice", "x"}, {"text", "Only"}})}}}));
    EXPECT_EQ(single->sliderTickLabels()[0]->frame().minX(), 48);
    auto level = build("Level");
    EXPECT_EQ(level->slider()->maxValue(), 9);
    EXPECT_EQ(level->slider()->numberOfTickMarks(), 10);
}

TEST(QuillUILayout, DatePickersAtTheirPlaces) {
    auto c = build("Hold", 400, 203);
    const auto& p = c->getDatePickers();
    EXPECT_EQ(p[0]->frame(), kz::Rect(46, 155, 110, 24));
    EXPECT_EQ(p[1]->frame(), kz::Rect(196, 155, 95, 24));
    EXPECT_EQ(p[2]->frame(), kz::Rect(24, 0, 155, 155));
    EXPECT_EQ(p[3]->frame(), kz::Rect(179, 25, 130, 130));
    EXPECT_EQ(p[2]->datePickerStyle(), kz::DatePickerStyle::ClockAndCalendar);
}

TEST(QuillUILayout, ChildrenInRowsAndColumns) {
    auto parent = build("Parent", 300, 400);
    const auto& kids = parent->childControls();
    ASSERT_EQ(kids.size(), 3u);
    // A fills its row below the parent (72 + the parent's 48), B sits in the
    // right half of A's row, C starts a new row below.
    EXPECT_EQ(kids[0]->frame(), kz::Rect(0, 400 - 120, 300, 72));
    EXPECT_EQ(kids[1]->frame(), kz::Rect(150, 400 - 120, 300, 72));
    EXPECT_EQ(kids[2]->frame(), kz::Rect(0, 400 - 144, 300, 72));
    EXPECT_EQ(kids[0]->superview(), parent.get());
}

TEST(QuillUILayout, ChildrenThatNameThemselvesStopAtTheDepthLimit) {
    kz::LogCapture log;
    auto loop = build("Loop");
    int depth = 0;
    for (const kzp::QuillUI* c = loop.get(); !c->childControls().empty(); c = c->childControls()[0].get()) ++depth;
    EXPECT_EQ(depth, kzp::QuillUI::kMaxChildDepth);
    EXPECT_TRUE(log.contains("nest deeper than"));
    kz::Array many(20, kz::Value("Fan"));
    kz::Dictionary fan{{"mainKeyword", "Fan"}, {"text", "Fan"}, {"other_controls", many}};
    auto root = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 200));
    root->setChildDescriptions(std::make_shared<const kz::Dictionary>(kz::Dictionary{{"Fan", fan}}));
    root->createControls(fan);
    std::function<std::size_t(const kzp::QuillUI&)> count = [&](const kzp::QuillUI& c) {
        std::size_t n = c.childControls().size();
        for (const auto& child : c.childControls()) n += count(*child);
        return n;
    };
    EXPECT_EQ(count(*root), kzp::QuillUI::kMaxDescendants);
    root->controlRemoveAll();
    root->updateControl();  // a rebuild has the whole allowance again
    EXPECT_EQ(count(*root), kzp::QuillUI::kMaxDescendants);
    auto missing = buildFrom(with("Parent", {{"other_controls", kz::Array{kz::Value("Nowhere"), kz::Value("ChildA")}}}));
    EXPECT_EQ(missing->childControls().size(), 1u);
    EXPECT_TRUE(log.contains("no description of the child control Nowhere"));
}

TEST(QuillUILayout, RebuildStartsFromNothing) {
    auto c = build("JobName");
    const std::size_t parts = c->subviews().size();
    c->controlRemoveAll();
    EXPECT_TRUE(c->subviews().empty());
    EXPECT_EQ(c->textField(), nullptr);
    c->updateControl();
    EXPECT_EQ(c->subviews().size(), parts);
    EXPECT_EQ(c->getStringValue(), "Report");
}

TEST(QuillUIBundle, TextsIconsAndTheChildDescriptionFile) {
    auto bundle = kz::Bundle::open(dataPath("Quill.plugin"));
    ASSERT_TRUE(bundle);
    auto tray = build("Tray", 300, 200, bundle);
    EXPECT_EQ(tray->labelText()->stringValue(), "Paper tray");
    EXPECT_EQ(tray->mainKeywordText(), "Paper tray");
    EXPECT_EQ(tray->popupButton()->itemAtIndex(2)->title(), "Top");
    EXPECT_EQ(build("JobName", 300, 200, bundle)->pushButton()->title(), "Choose...");

    auto group = buildFrom(with("Tray", {{"isGroupMain", true}}));
    EXPECT_EQ(group->groupIconView(), nullptr);  // no bundle, no icon
    auto grouped = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 200));
    grouped->setControlDictionary(with("Tray", {{"isGroupMain", true}}), bundle);
    grouped->updateControl();
    ASSERT_NE(grouped->groupIconView(), nullptr);
    EXPECT_EQ(grouped->groupIconView()->frame(), kz::Rect(0, 176, 24, 24));

    auto big = kzp::QuillUI::getIconImage(dataPath("Quill.plugin/Contents/Resources/group_icon.png"));
    ASSERT_TRUE(big);
    EXPECT_EQ(big->size(), (kz::Size{16, 16}));
    EXPECT_EQ(big->pixelsWide(), 16u);  // drawn anew, not only shown smaller
    EXPECT_EQ(big->name(), "group_icon");
    EXPECT_EQ(kzp::QuillUI::getIconImage(dataPath("Quill.plugin/Contents/Resources/small.png"))->size(),
              (kz::Size{12, 10}));
    EXPECT_FALSE(kzp::QuillUI::getIconImage(dataPath("controls.plist")));

    // The VLPOD file of the enclosing plug-in, also for a pane's bundle.
    std::string expected = bundle->path() + "/Contents/Resources/Controls.plist";
    EXPECT_EQ(tray->getUIFilePath(), expected);
    auto paneControl = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 200));
    paneControl->setControlDictionary(descriptions().get("Icons").dictionary(),
                                      kz::Bundle::open(dataPath("Quill.plugin/Contents/PlugIns/Pane.bundle")));
    EXPECT_EQ(paneControl->getUIFilePath(), expected);
    paneControl->updateControl();
    ASSERT_EQ(paneControl->childControls().size(), 1u);
    EXPECT_EQ(paneControl->childControls()[0]->mainKeyword(), "ChildA");
}

TEST(QuillUILayout, PaneLabelsAndViewDescriptions) {
    auto c = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 100));
    c->setControlDictionary(with("Tray", {{"text_Finishing", "Tray for finishing"}}));
    c->updateControl("Finishing");
    EXPECT_EQ(c->labelText()->stringValue(), "Tray for finishing");
    c->controlRemoveAll();
    c->updateControl("Other");
    EXPECT_EQ(c->labelText()->stringValue(), "Tray");

    // Panes lay out empty option controls by class name, then describe them.
    kzp::QuillUI::registerViewClass();
    kz::Dictionary view{{"class", "QuillUI"}, {"frame", kz::Array{0, 0, 300, 48}}, {"toolTip", "Tray"}};
    auto loaded = kz::ViewLoader::load(kz::Value(kz::Dictionary{{"view", view}}), nullptr);
    ASSERT_TRUE(loaded);
    auto* quill = dynamic_cast<kzp::QuillUI*>(loaded->view.get());
    ASSERT_NE(quill, nullptr);
    EXPECT_EQ(quill->toolTip(), "Tray");
}
