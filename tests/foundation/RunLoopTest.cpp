#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/RunLoop.h"

using kz::RunLoop;

TEST(RunLoop, RunsDuePerformsOfTheModeByOrder) {
    RunLoop loop;
    loop.useManualClock();
    std::vector<std::string> ran;
    const std::vector<std::string> modal{RunLoop::kModalPanelMode};
    loop.perform([&] { ran.push_back("late order"); }, 0, modal, 5);
    loop.perform([&] { ran.push_back("early order"); }, 0, modal, 1);
    loop.perform([&] { ran.push_back("default only"); }, 0, {RunLoop::kDefaultMode});
    loop.perform([&] { ran.push_back("same order, second"); }, 0, modal, 5);

    loop.runMode(RunLoop::kModalPanelMode);
    EXPECT_EQ(ran, (std::vector<std::string>{"early order", "late order", "same order, second"}));
    EXPECT_EQ(loop.pendingCount(), 1u);
    loop.runMode(RunLoop::kDefaultMode);
    EXPECT_EQ(ran.back(), "default only");
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST(RunLoop, DelaysWaitForTheClock) {
    RunLoop loop;
    int runs = 0;
    loop.perform([&] { ++runs; }, 0.5, {RunLoop::kDefaultMode, RunLoop::kModalPanelMode});
    loop.advanceClock(0.25);
    loop.runMode(RunLoop::kDefaultMode);
    EXPECT_EQ(runs, 0);
    loop.advanceClock(0.25);
    loop.runMode(RunLoop::kModalPanelMode);
    EXPECT_EQ(runs, 1);
    loop.runMode(RunLoop::kDefaultMode);
    EXPECT_EQ(runs, 1);
}

TEST(RunLoop, WorkScheduledWhileRunningRunsInTheSameRunAndSeesItsMode) {
    RunLoop loop;
    loop.useManualClock();
    std::vector<std::string> ran;
    loop.perform(
        [&] {
            ran.push_back("outer in " + loop.currentMode());
            loop.perform([&] { ran.push_back("follow-up"); }, 0, {RunLoop::kModalPanelMode});
            loop.perform([&] { ran.push_back("delayed"); }, 1, {RunLoop::kModalPanelMode});
        },
        0, {RunLoop::kModalPanelMode});
    loop.runMode(RunLoop::kModalPanelMode);
    EXPECT_EQ(ran, (std::vector<std::string>{std::string("outer in ") + RunLoop::kModalPanelMode, "follow-up"}));
    EXPECT_EQ(loop.currentMode(), "");
    EXPECT_EQ(loop.pendingCount(), 1u);
}

TEST(RunLoop, WorkPostedFromAnotherThreadRunsOnTheLoopsThreadInItsModes) {
    auto loop = std::make_unique<RunLoop>();
    const RunLoop::Inbox inbox = loop->inbox();
    std::vector<std::string> ran;
    std::thread::id ranOn;
    std::thread poster([&] {
        inbox.post([&] { ran.push_back("first"); }, {RunLoop::kDefaultMode});
        inbox.post([&] { ran.push_back("modal"); }, {RunLoop::kModalPanelMode});
        inbox.post([&] {
            ran.push_back("second");
            ranOn = std::this_thread::get_id();
        }, {RunLoop::kDefaultMode});
    });
    poster.join();
    EXPECT_TRUE(loop->waitForWork(0));
    EXPECT_TRUE(ran.empty());  // nothing runs until the loop does
    EXPECT_EQ(loop->pendingCount(), 3u);
    loop->runMode(RunLoop::kDefaultMode);
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_EQ(loop->pendingCount(), 1u);
    EXPECT_TRUE(loop->waitForWork(0));  // the modal one is due
    loop->runMode(RunLoop::kModalPanelMode);
    loop->useManualClock();
    loop->perform([] {}, 1, {RunLoop::kDefaultMode});
    EXPECT_FALSE(loop->waitForWork(0));
    loop->advanceClock(1);
    EXPECT_TRUE(loop->waitForWork(0));

    // A handle outliving its loop drops what is posted through it.
    loop.reset();
    bool ranAfter = false;
    inbox.post([&] { ranAfter = true; }, {RunLoop::kDefaultMode});
    EXPECT_FALSE(ranAfter);
}
