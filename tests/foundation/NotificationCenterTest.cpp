#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"

using kz::NotificationCenter;
using Note = NotificationCenter::Notification;

TEST(NotificationCenter, DeliversByNameAndSenderWithUserInfo) {
    NotificationCenter nc;
    int a = 0, b = 0;
    std::vector<std::string> seen;
    const int senderA = 0, senderB = 0;
    nc.addObserver(&a, "Duplex", nullptr, [&](const Note& n) { seen.push_back("any:" + n.userInfo["v"].string()); });
    nc.addObserver(&a, "Duplex", &senderA, [&](const Note&) { seen.push_back("fromA"); });
    nc.addObserver(&b, "", nullptr, [&](const Note& n) { seen.push_back("all:" + n.name); });
    nc.post("Duplex", &senderB, kz::Dictionary{{"v", "on"}});
    nc.post("Other");
    nc.post("Duplex", &senderA);
    EXPECT_EQ(seen, (std::vector<std::string>{"any:on", "all:Duplex", "all:Other", "any:", "fromA", "all:Duplex"}));

    seen.clear();
    nc.removeObserver(&a, "Duplex");
    nc.post("Duplex");
    EXPECT_EQ(seen, (std::vector<std::string>{"all:Duplex"}));
    nc.removeObserver(&b);
    EXPECT_EQ(nc.observerCount(), 0u);
}

TEST(NotificationCenter, ObserversChangedDuringDeliveryAreSafe) {
    NotificationCenter nc;
    int first = 0, second = 0, late = 0;
    std::vector<std::string> seen;
    nc.addObserver(&first, "X", nullptr, [&](const Note&) {
        seen.push_back("first");
        nc.removeObserver(&second);
        nc.removeObserver(&first);  // removing itself while running
        nc.addObserver(&late, "X", nullptr, [&](const Note&) { seen.push_back("late"); });
    });
    nc.addObserver(&second, "X", nullptr, [&](const Note&) { seen.push_back("second"); });
    nc.post("X");
    EXPECT_EQ(seen, (std::vector<std::string>{"first"}));
    nc.post("X");
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "late"}));
}

TEST(NotificationCenter, NestedPostsAreDeliveredDepthFirst) {
    NotificationCenter nc;
    int o = 0;
    std::vector<std::string> seen;
    nc.addObserver(&o, "A", nullptr, [&](const Note&) {
        seen.push_back("A1");
        nc.post("B");
        seen.push_back("A1 done");
    });
    nc.addObserver(&o, "A", nullptr, [&](const Note&) { seen.push_back("A2"); });
    nc.addObserver(&o, "B", nullptr, [&](const Note&) { seen.push_back("B"); });
    nc.post("A");
    EXPECT_EQ(seen, (std::vector<std::string>{"A1", "B", "A1 done", "A2"}));
}

TEST(NotificationCenter, EndlessMutualPostsStopAtTheDepthLimit) {
    NotificationCenter nc;
    int o = 0, calls = 0;
    nc.addObserver(&o, "Loop", nullptr, [&](const Note&) {
        ++calls;
        nc.post("Loop");
    });
    kz::LogCapture log;
    nc.post("Loop");
    EXPECT_EQ(calls, NotificationCenter::kMaxDepth);
    EXPECT_TRUE(log.contains("dropped"));
}
