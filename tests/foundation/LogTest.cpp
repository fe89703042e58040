#include "platform/foundation/Log.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Each test leaves the sinks as the process had them.
struct LogTest : testing::Test {
    void SetUp() override { kz::Log::setSyslogEnabled(false); }
    void TearDown() override {
        kz::Log::setStderrEnabled(false);
        kz::Log::setFilter({});
        kz::Log::setSyslogEnabled(true);
    }
};

}  // namespace

TEST_F(LogTest, StandardErrorGetsLinesOnlyWhenAskedAndThroughTheFilter) {
    kz::LogCapture capture;
    testing::internal::CaptureStderr();
    kz::Log::line("### quiet");
    kz::Log::setStderrEnabled(true);
    kz::Log::setFilter([](std::string line) {
        for (auto at = line.find("secret"); at != std::string::npos; at = line.find("secret")) line.replace(at, 6, "***");
        return line;
    });
    kz::Log::format("### ## told %s", "secret");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "### ## told ***\n");
    // The capture is the process's own: it keeps the line as written.
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"### quiet", "### ## told secret"}));
}

TEST_F(LogTest, LinesFromOtherThreadsReachTheCaptureWhole) {
    kz::LogCapture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 500; ++i) kz::Log::format("### %d.%d", t, i);
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(capture.lines().size(), 2000u);
}
