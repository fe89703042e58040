// One user change through the rule engine, with 5,000 and with 50,000
// registered options: the change fans out to 20 options per level through
// conditions, cooperation and conflict searches, five levels deep, and must
// cost the same however many options exist. Also setSettings over all of them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/rules/QuillMgr.h"
#include "platform/foundation/NotificationCenter.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr int kFanOut = 20;
constexpr int kLevels = 5;
constexpr int kClusterSize = 1 + kFanOut * kLevels;

std::string name(int option) { return "Opt" + std::to_string(option); }

kz::Dictionary popup(const std::string& keyword) {
    kz::Array choices{kz::Dictionary{{"choice", "A"}, {"text", "A"}}, kz::Dictionary{{"choice", "B"}, {"text", "B"}}};
    return kz::Dictionary{{"mainKeyword", keyword}, {"control_type", "PopupButton"}, {"text", keyword},
                          {"choices", choices}, {"default", "A"}};
}

// A hub's rules toward its 20 targets: enabled by a condition, set by
// cooperation, and searched by a conflict rule that never matches.
void addRules(kz::Dictionary& d, const std::vector<std::string>& targets) {
    kz::Dictionary condition, cooperation, conflict;
    for (const char* v : {"A", "B"}) {
        kz::Dictionary enable, set, rule;
        for (const auto& t : targets) {
            enable.set(t, true);
            set.set(t, v);
            rule.set(t, kz::Dictionary{{"Z", kz::Dictionary{{"restore", "A"}}}});
        }
        condition.set(v, enable);
        cooperation.set(v, set);
        conflict.set(v, rule);
    }
    d.set("condition", condition);
    d.set("cooperation", cooperation);
    d.set("conflict", conflict);
}

// Clusters of 101 options: a root whose change reaches 20 options, the first
// of which reaches 20 more, five levels deep; the rest of the options have no rules.
struct Registry {
    kzp::QuillMgr mgr;
    int options;
    explicit Registry(int count) : options(count) {
        for (int first = 0; first < count; first += kClusterSize) {
            for (int i = 0; i < kClusterSize && first + i < count; ++i) {
                kz::Dictionary d = popup(name(first + i));
                // Option 0 is the root, 1 + 20 * level the hub of the next level.
                bool hub = i == 0 || (i - 1) % kFanOut == 0;
                int level = i == 0 ? 0 : (i - 1) / kFanOut + 1;
                if (hub && level < kLevels && first + kClusterSize <= count) {
                    std::vector<std::string> targets;
                    for (int j = 0; j < kFanOut; ++j) targets.push_back(name(first + 1 + level * kFanOut + j));
                    addRules(d, targets);
                }
                auto c = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 40));
                c->setControlDictionary(d, nullptr);
                c->updateControl();
                mgr.addControl(c);
            }
        }
    }
};

// One registry at a time: registries share the notification centre and the
// keyword names, so two alive would both run every cascade.
Registry& registry(int count) {
    static std::unique_ptr<Registry> current;
    if (!current || current->options != count) {
        current.reset();
        current = std::make_unique<Registry>(count);
    }
    return *current;
}

void UserChange(benchmark::State& state) {
    Registry& r = registry(static_cast<int>(state.range(0)));
    bool b = false;
    auto& center = kz::NotificationCenter::defaultCenter();
    for (auto _ : state) {
        b = !b;
        center.post(name(0), nullptr, kz::Dictionary{{"Paramater", kz::Value(b ? "B" : "A")}});
    }
    if (r.mgr.getStringValue(name(1 + kFanOut * (kLevels - 1))) != (b ? "B" : "A"))
        state.SkipWithError("the change did not reach the fifth level");
}

void SetSettingsOverAll(benchmark::State& state) {
    Registry& r = registry(static_cast<int>(state.range(0)));
    kz::Dictionary a, b;
    for (int i = 0; i < r.options; ++i) {
        a.set(name(i), "A");
        b.set(name(i), "B");
    }
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        r.mgr.setSettings(flip ? b : a);
    }
}

// Prints the ratio of a change's time with 50,000 options to that with 5,000.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.benchmark_name().starts_with("UserChange/")) times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto small = times.find("UserChange/5000"), large = times.find("UserChange/50000");
        if (small != times.end() && large != times.end() && small->second > 0)
            std::printf("UserChange 50000/5000 ratio: %.3f (target <= 1.3)\n", large->second / small->second);
    }
    std::map<std::string, double> times;
};

}  // namespace

BENCHMARK(UserChange)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(SetSettingsOverAll)->Arg(5000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
