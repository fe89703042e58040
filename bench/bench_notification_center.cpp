// One post to a single observer, with 10,000 observers of other names in the
// centre and with none: a post must cost what its own observers cost. The
// target is a ratio of at most 1.5 between the two.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/foundation/NotificationCenter.h"

namespace {

void post(benchmark::State& state, int others) {
    kz::NotificationCenter center;
    int owner = 0, calls = 0;
    for (int i = 0; i < others; ++i)
        center.addObserver(&owner, "Other" + std::to_string(i), nullptr, [&](const auto&) { ++calls; });
    center.addObserver(&owner, "Duplex", nullptr, [&](const auto&) { ++calls; });
    const std::string name = "Duplex";
    for (auto _ : state) center.post(name);
    benchmark::DoNotOptimize(calls);
}

void PostAlone(benchmark::State& state) { post(state, 0); }
void PostAmong10000Others(benchmark::State& state) { post(state, 10000); }

}  // namespace

BENCHMARK(PostAlone);
BENCHMARK(PostAmong10000Others);
BENCHMARK_MAIN();
