#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kit/Button.h"
#include "platform/kit/View.h"
#include "platform/kit/ViewPeer.h"

using namespace kz;

namespace {
struct RecordingPeer : ViewPeer {
    std::vector<std::string> events;
    void viewChanged(View& v, std::string_view p) override { events.push_back(v.className() + "." + std::string(p)); }
    void subviewAdded(View&, View& c) override { events.push_back("+" + c.className()); }
    void subviewRemoved(View&, View& c) override { events.push_back("-" + c.className()); }
};
}  // namespace

TEST(View, PeerHearsEveryVisibleChangeBelowIt) {
    auto root = std::make_shared<View>(Rect(0, 0, 100, 100));
    auto peer = std::make_shared<RecordingPeer>();
    root->setPeer(peer);
    auto button = std::make_shared<Button>(Rect(10, 10, 80, 24));
    root->addSubview(button);
    button->setTitle("OK");
    button->setTitle("OK");  // unchanged: no event
    button->setEnabled(false);
    button->setState(OnState);
    button->setFrameOrigin({20, 10});
    button->setHidden(true);
    button->removeFromSuperview();
    EXPECT_EQ(peer->events, (std::vector<std::string>{"+Button", "Button.title", "Button.enabled", "Button.state",
                                                      "Button.frame", "Button.hidden", "-Button"}));
}

TEST(View, SubviewsBelongToOneParentAndCyclesAreRefused) {
    auto a = std::make_shared<View>();
    auto b = std::make_shared<View>();
    auto c = std::make_shared<View>();
    a->addSubview(b);
    b->addSubview(c);
    c->addSubview(a);  // would make a cycle
    EXPECT_EQ(a->superview(), nullptr);
    a->addSubview(c);  // moves c from b to a
    EXPECT_TRUE(b->subviews().empty());
    EXPECT_EQ(c->superview(), a.get());
    b->setHidden(true);
    EXPECT_FALSE(c->isHiddenOrHasHiddenAncestor());
    a->setHidden(true);
    EXPECT_TRUE(c->isHiddenOrHasHiddenAncestor());
}

TEST(Button, ClickChangesStateByTypeAndSendsTheAction) {
    Button check;
    check.setButtonType(ButtonType::Switch);
    int sent = 0;
    check.setAction({"checkboxAction:", [&](Control& c) { sent += c.tag() == 7; }});
    check.setTag(7);
    EXPECT_TRUE(check.performClick());
    EXPECT_EQ(check.state(), OnState);
    check.performClick();
    EXPECT_EQ(check.state(), OffState);
    EXPECT_EQ(sent, 2);

    Button radio;
    radio.setButtonType(ButtonType::Radio);
    radio.performClick();
    radio.performClick();
    EXPECT_EQ(radio.state(), OnState);  // a radio only turns on

    Button push;
    push.setEnabled(false);
    push.setAction({"push:", [&](Control&) { ++sent; }});
    EXPECT_FALSE(push.performClick());
    EXPECT_EQ(sent, 2);
    EXPECT_EQ(push.action().selector, "push:");
}
