#include <gtest/gtest.h>

#include <cmath>

#include "platform/kit/Matrix.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/Slider.h"
#include "platform/kit/TabView.h"
#include "platform/kit/TextField.h"
#include "platform/kit/ViewClass.h"
#include "platform/kit/ViewDump.h"
#include "platform/kit/ViewLoader.h"

using namespace kz;

namespace {

std::shared_ptr<View> load(Dictionary view) {
    std::string error;
    auto result = ViewLoader::load(Value(Dictionary{{"view", Value(std::move(view))}}), nullptr, &error);
    EXPECT_TRUE(result) << error;
    return result ? result->view : nullptr;
}

// A subclass that names itself but adds no property of its own.
struct NamedField : TextField {
    std::string className() const override { return "NamedField"; }
};

std::shared_ptr<View> labelled(const std::string& label, std::shared_ptr<View> content) {
    auto item = std::make_shared<TabViewItem>(Value(label));
    item->setLabel(label);
    item->setView(std::move(content));
    auto tabs = std::make_shared<TabView>(Rect(0, 0, 100, 100));
    tabs->addTabViewItem(item);
    return tabs;
}

}  // namespace

// The loader sets every class's properties from View down, in the order each
// class declares them: a slider's value comes after its range, so it is not
// clamped into the default range first; keys of the wrong type are passed over.
TEST(ViewClass, LoadingFollowsTheClassChainAndTheDeclaredOrder) {
    auto v = load(Dictionary{{"class", Value("Slider")},
                             {"frame", Value(Array{Value(0), Value(0), Value(100), Value(20)})},
                             {"value", Value(40)},
                             {"minValue", Value(10)},
                             {"maxValue", Value(50)},
                             {"numberOfTickMarks", Value("five")},
                             {"enabled", Value(false)},
                             {"toolTip", Value("speed")}});
    auto* s = dynamic_cast<Slider*>(v.get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->doubleValue(), 40);
    EXPECT_EQ(s->numberOfTickMarks(), 0);
    EXPECT_FALSE(s->isEnabled());
    EXPECT_EQ(ViewDump::details(*s), "value=40 range=10..50 ticks=0 disabled toolTip=\"speed\"");

    // A non-finite number is a fault named after the key, not a crash.
    std::string error;
    EXPECT_FALSE(ViewLoader::load(
        Value(Dictionary{{"view", Value(Dictionary{{"class", Value("Slider")}, {"maxValue", Value(std::nan(""))}})}}),
        nullptr, &error));
    EXPECT_EQ(error, "maxValue: not a finite number");
}

// A pop-up shows its items instead of a button's title and state, but keeps
// the control's and the view's words after its own; a class without a table
// of its own dumps as its base under its own name.
TEST(ViewClass, ShownPropertiesInheritAndHide) {
    PopUpButton p;
    p.addItemsWithTitles({"A", "B"});
    p.itemAtIndex(1)->setEnabled(false);
    p.menu().setAutoenablesItems(false);
    p.selectItemAtIndex(0);
    p.setEnabled(false);
    p.setHidden(true);
    EXPECT_EQ(ViewDump::details(p), "selected=\"A\" items=[\"A\", \"B\" (disabled)] disabled hidden");
    std::vector<std::string> reported = p.viewClass().reported();
    EXPECT_EQ(reported, (std::vector<std::string>{"items", "value", "enabled", "hidden"}));

    NamedField f;
    f.setStringValue("x");
    f.setEditable(false);
    EXPECT_EQ(ViewDump::dump(f), "NamedField [0 0 0 0] value=\"x\" read-only\n");
    EXPECT_EQ(&f.viewClass(), &TextField::described());
}

// A mirror hands the values it read by name and gets the kit's line: the
// same state written through both paths reads the same.
TEST(ViewClass, DetailsFromValuesMatchTheKitsLine) {
    Matrix m(Rect(0, 0, 100, 40), MatrixMode::Radio, std::make_unique<ButtonCell>(""), 2, 1);
    m.cellAtRow(0, 0)->setTitle("One");
    m.cellAtRow(1, 0)->setTitle("Two \"2\"");
    m.cellAtRow(1, 0)->setEnabled(false);
    m.selectCellAtRow(0, 0);
    Dictionary read{{"selection", Value(Array{Value(0), Value(0)})},
                    {"items", Value(Array{Value(Dictionary{{"title", Value("One")}, {"state", Value("on")}, {"enabled", Value(true)}}),
                                          Value(Dictionary{{"title", Value("Two \"2\"")}, {"state", Value("off")}, {"enabled", Value(false)}})})},
                    {"enabled", Value(true)},
                    {"hidden", Value(false)},
                    {"toolTip", Value("")}};
    std::string mirrored = ViewDump::details(Matrix::described(), [&](std::string_view name) -> std::optional<Value> {
        if (const Value* v = read.find(name)) return *v;
        return std::nullopt;
    });
    EXPECT_EQ(mirrored, ViewDump::details(m));
    EXPECT_EQ(mirrored, "selected=0,0 cells=[\"One\" on, \"Two \\\"2\\\"\" off (disabled)]");

    // The JSON tree carries the same text, and "enabled" for controls only.
    Value tree = ViewDump::toValue(m);
    EXPECT_EQ(tree.dictionary().get("details").string(), mirrored);
    EXPECT_TRUE(tree.dictionary().contains("enabled"));
    EXPECT_FALSE(ViewDump::toValue(View()).dictionary().contains("enabled"));
}

// Walks: depth first in subview order with depths; a walk may skip a
// subtree or stop; over all tabs it sees the tabs not in front, in tab order,
// and the outermost tab holding a view is the one to bring forward.
TEST(ViewClass, WalksVisitSkipStopAndSeeEveryTab) {
    auto root = std::make_shared<View>();
    auto a = std::make_shared<View>();
    auto b = std::make_shared<TextField>();
    auto c = std::make_shared<View>();
    root->addSubview(a);
    a->addSubview(b);
    root->addSubview(c);
    std::vector<std::pair<View*, int>> seen;
    root->forEachDescendant([&](View& v, int depth) { seen.emplace_back(&v, depth); });
    EXPECT_EQ(seen, (std::vector<std::pair<View*, int>>{{a.get(), 1}, {b.get(), 2}, {c.get(), 1}}));
    int visited = 0;
    root->forEachDescendant([&](View& v) {
        ++visited;
        return &v == a.get() ? View::Walk::SkipChildren : View::Walk::Continue;
    });
    EXPECT_EQ(visited, 2);
    EXPECT_FALSE(root->forEachDescendant([](View&) { return View::Walk::Stop; }));
    EXPECT_EQ(root->findDescendant<TextField>([](TextField&) { return true; }), b.get());

    // Outer tabs "One" (in front) and "Two"; "Two" holds inner tabs whose
    // only tab holds the field.
    auto field = std::make_shared<TextField>();
    auto inner = labelled("Inner", field);
    auto outer = std::static_pointer_cast<TabView>(labelled("One", std::make_shared<View>()));
    auto two = std::make_shared<TabViewItem>(Value("Two"));
    two->setView(inner);
    outer->addTabViewItem(two);
    auto window = std::make_shared<View>();
    window->addSubview(outer);
    EXPECT_EQ(window->findDescendant<TextField>([](TextField&) { return true; }), nullptr);
    EXPECT_EQ(window->findDescendant<TextField>([](TextField&) { return true; }, View::WalkScope::AllTabs), field.get());
    auto [tabs, tab] = TabView::outermostTabHolding(*window, *field);
    EXPECT_EQ(tabs, outer.get());
    EXPECT_EQ(tab, two.get());
    EXPECT_EQ(TabView::outermostTabHolding(*window, *outer).first, nullptr);
}
