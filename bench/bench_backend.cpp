// The product's backend against CUPS's own ipp backend, each sending the same
// 50 MB document to the same stand-in print server (a private cupsd on
// 127.0.0.1), and `kzpde print` against `lp` for the same small job on a
// private client scheduler. Wall time is the manual time; "cpu" is the
// child's user+system seconds per run. Compare Kzps with Ipp (aim: both
// ratios at most 1.2) and KzpdePrint with Lp (KzpdePrint under 60 ms).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../tests/support/CupsTestDaemon.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::string& bigDocument() {
    static const std::string path = [] {
        std::string file = (fs::temp_directory_path() / "kz-bench-50mb.bin").string();
        std::ofstream out(file, std::ios::binary);
        std::string block(1 << 20, '\0');
        for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>((i * 2654435761u) >> 13);
        for (int i = 0; i < 50; ++i) out << block;
        return file;
    }();
    return path;
}

CupsTestDaemon& standIn() {
    static std::unique_ptr<CupsTestDaemon> daemon = [] {
        CupsTestDaemon::Setup setup;
        setup.tcpPort = CupsTestDaemon::freePort();
        setup.pointProcess = false;
        setup.keepJobs = false;
        auto made = std::make_unique<CupsTestDaemon>(setup);
        if (made->start()) made->addRawQueue("KZPrintServer");
        return made;
    }();
    return *daemon;
}

// Runs ARGS with EXTRA added to the environment; wall seconds, and the
// child's CPU seconds in *cpu.
double runChild(const std::vector<std::string>& args, const std::vector<std::string>& extra, double* cpu) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.insert(env.end(), extra.begin(), extra.end());
    std::vector<char*> argv, envp;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) waitpid(pid, &status, 0);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    getrusage(RUSAGE_CHILDREN, &after);
    posix_spawn_file_actions_destroy(&actions);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    *cpu = seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_stime);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? wall : -1;
}

void sendWith(benchmark::State& state, const std::string& backend, const std::string& uri) {
    if (!standIn().running()) {
        state.SkipWithError(("no stand-in: " + standIn().error()).c_str());
        return;
    }
    double cpu = 0, total = 0;
    for (auto _ : state) {
        double wall = runChild({backend, "1", "bench", "doc", "1", "", bigDocument()}, {"DEVICE_URI=" + uri}, &cpu);
        if (wall < 0) {
            state.SkipWithError("the backend failed");
            return;
        }
        state.SetIterationTime(wall);
        total += cpu;
    }
    state.counters["cpu"] = benchmark::Counter(total, benchmark::Counter::kAvgIterations);
}

std::string standInAddress() { return "127.0.0.1:" + std::to_string(standIn().setup().tcpPort); }

void Kzps(benchmark::State& state) {
    sendWith(state, KZ_KZPS_BACKEND, "kzps://" + standInAddress() + "/printers/KZPrintServer");
}
BENCHMARK(Kzps)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// Without waiting for the job to finish or the printer to be idle, as kzps
// does not: the same work of sending one document.
void Ipp(benchmark::State& state) {
    sendWith(state, "/usr/lib/cups/backend/ipp",
             "ipp://" + standInAddress() + "/printers/KZPrintServer?waitjob=false&waitprinter=false");
}
BENCHMARK(Ipp)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

CupsTestDaemon& client() {
    static std::unique_ptr<CupsTestDaemon> daemon = [] {
        CupsTestDaemon::Setup setup;
        setup.keepJobs = false;
        auto made = std::make_unique<CupsTestDaemon>(setup);
        if (made->start())
            made->addQueue("KZBench", std::string(KZ_SOURCE_DIR) + "/resources/bundle/Contents/Resources/KZPrintServer.ppd");
        return made;
    }();
    return *daemon;
}

const std::string& smallDocument() {
    static const std::string path = [] {
        std::string file = (fs::temp_directory_path() / "kz-bench-small.txt").string();
        std::ofstream(file) << "a page\n";
        return file;
    }();
    return path;
}

void submitWith(benchmark::State& state, const std::vector<std::string>& args) {
    if (!client().running()) {
        state.SkipWithError(("no scheduler: " + client().error()).c_str());
        return;
    }
    double cpu = 0;
    for (auto _ : state) {
        double wall = runChild(args, {}, &cpu);
        if (wall < 0) {
            state.SkipWithError("the job was not taken");
            return;
        }
        state.SetIterationTime(wall);
    }
}

void KzpdePrint(benchmark::State& state) {
    submitWith(state, {KZ_KZPDE, "print", smallDocument(), "--printer", "KZBench", "--set", "StapleMode=TopLeftCorner"});
}
BENCHMARK(KzpdePrint)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

void Lp(benchmark::State& state) {
    submitWith(state, {"/usr/bin/lp", "-d", "KZBench", "-o", "StapleMode=TopLeftCorner", smallDocument()});
}
BENCHMARK(Lp)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
