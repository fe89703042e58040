#include <gtest/gtest.h>

#include <string>
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
