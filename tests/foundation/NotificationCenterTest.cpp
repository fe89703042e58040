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

TEST(NotificationCenter, NamedAndEveryNameObserversKeepTheOrderAdded) {
    NotificationCenter nc;
    int a = 0, b = 0;
    std::vector<std::string> seen;
    auto record = [&](std::string tag) { return [&seen, tag](const Note&) { seen.push_back(tag); }; };
    nc.addObserver(&a, "X", nullptr, record("x1"));
    nc.addObserver(&b, "", nullptr, record("all1"));
    nc.addObserver(&a, "Y", nullptr, record("y"));
    const auto x2 = nc.addObserver(&b, "X", nullptr, record("x2"));
    nc.addObserver(&a, "", nullptr, record("all2"));
    nc.addObserver(&b, "X", nullptr, record("x3"));
    nc.post("X");
    EXPECT_EQ(seen, (std::vector<std::string>{"x1", "all1", "x2", "all2", "x3"}));

    // An empty name is no name: only the observers of every name hear it.
    seen.clear();
    nc.post("");
    EXPECT_EQ(seen, (std::vector<std::string>{"all1", "all2"}));

    seen.clear();
    nc.removeObserverWithId(x2);
    nc.removeObserver(&a, "");
    nc.post("X");
    EXPECT_EQ(seen, (std::vector<std::string>{"x1", "all1", "x3"}));
    EXPECT_EQ(nc.observerCount(), 4u);
    nc.removeObserver(&a);
    nc.removeObserver(&b);
    EXPECT_EQ(nc.observerCount(), 0u);
    seen.clear();
    nc.post("X");
    EXPECT_TRUE(seen.empty());
    // Removing what is not there is harmless.
    nc.removeObserver(&a);
    nc.removeObserverWithId(x2);
}
