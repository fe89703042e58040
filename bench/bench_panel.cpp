// The panel's life in the tool's print dialog, loaded from the product bundle
// as a print dialog loads it: creating the panel, restoring it from print
// settings, showing it and saving, each in CPU milliseconds and as a ratio to
// the floor a print dialog pays anyway, opening the printer's PPD with libcups
// and marking its defaults (measured in the same run). Then one option
// change in the shown panel with every pane registered. Aims: the whole life
// under 50 ms, one change under 1 ms.
#include <benchmark/benchmark.h>
#include <time.h>

#include <memory>
#include <string>

#include "engine/panes/PanePlugInMgr.h"
#include "host/HostCallback.h"
#include "host/OptionControls.h"
#include "host/PlugInHost.h"
#include "host/PrintDialog.h"
#include "platform/foundation/Log.h"
#include "platform/printing/MemoryPrinter.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>

namespace {

namespace kzp = ComTORVALEKZ2R4_Plugin;

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

kzpde::PlugInHost& plugIn() {
    static kzpde::PlugInHost* host = [] {
        kz::Log::setSyslogEnabled(false);
        auto* h = new kzpde::PlugInHost();
        std::string error;
        if (!h->load(KZ_BUNDLE_DIR, &error)) std::abort();
        return h;
    }();
    return *host;
}

const std::string& ppdPath() {
    static const std::string path = plugIn().bundle()->pathForResource("KZPrintServer", "ppd");
    return path;
}

// ppdOpenFile + ppdMarkDefaults of the product PPD, in CPU seconds.
double floorSeconds() {
    static const double seconds = [] {
        constexpr int kRounds = 50;
        const double start = cpuSeconds();
        for (int i = 0; i < kRounds; ++i) {
            ppd_file_t* ppd = ppdOpenFile(ppdPath().c_str());
            ppdMarkDefaults(ppd);
            benchmark::DoNotOptimize(ppd);
            ppdClose(ppd);
        }
        return (cpuSeconds() - start) / kRounds;
    }();
    return seconds;
}

void report(benchmark::State& state, double seconds) {
    const double each = seconds / static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = each * 1e3;
    state.counters["x_floor"] = each / floorSeconds();
}

// One dialog: the host's objects and, once made, the panel.
struct Dialog {
    std::shared_ptr<kzpde::MarkingHostCallback> host;
    std::unique_ptr<kzpde::PrintDialog> window;
    std::shared_ptr<kz::PDEPanel> panel;

    Dialog() {
        auto printer = kz::MemoryPrinter::sample(*plugIn().bundle());
        std::string error;
        host = std::make_shared<kzpde::MarkingHostCallback>(printer, kzpde::HostPpd::open(ppdPath(), &error));
        window = std::make_unique<kzpde::PrintDialog>(host->settings());
    }
    void create() { panel = plugIn().panelFor(host, nullptr); }
    void show() {
        window->setPanelView(panel->panelView());
        panel->willShow();
    }
    ~Dialog() {
        if (panel) panel->shouldHide();
        window.reset();
        panel.reset();
    }
};

void LibcupsOpenAndMarkDefaults(benchmark::State& state) {
    double seconds = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        ppd_file_t* ppd = ppdOpenFile(ppdPath().c_str());
        ppdMarkDefaults(ppd);
        benchmark::DoNotOptimize(ppd);
        ppdClose(ppd);
        seconds += cpuSeconds() - start;
    }
    report(state, seconds);
}
BENCHMARK(LibcupsOpenAndMarkDefaults)->Unit(benchmark::kMillisecond);

// The first panel of a process: the pane manager loads every pane.
void PanelCreateFirst(benchmark::State& state) {
    double seconds = 0;
    for (auto _ : state) {
        kzp::PanePlugInMgr::destroySharedInstance();
        Dialog dialog;
        const double start = cpuSeconds();
        dialog.create();
        seconds += cpuSeconds() - start;
    }
    report(state, seconds);
}
BENCHMARK(PanelCreateFirst)->Unit(benchmark::kMillisecond);

// A later panel meets the panes already loaded.
void PanelCreate(benchmark::State& state) {
    double seconds = 0;
    for (auto _ : state) {
        Dialog dialog;
        const double start = cpuSeconds();
        dialog.create();
        seconds += cpuSeconds() - start;
    }
    report(state, seconds);
}
BENCHMARK(PanelCreate)->Unit(benchmark::kMillisecond);

enum class Step { Restore, WillShow, Save, Lifecycle };

void PanelStep(benchmark::State& state, Step step) {
    double seconds = 0;
    for (auto _ : state) {
        Dialog dialog;
        double start = cpuSeconds();
        if (step != Step::Lifecycle) {
            dialog.create();
            if (step != Step::Restore) dialog.panel->restoreValuesAndReturnError(nullptr);
            if (step == Step::Save) dialog.show();
            start = cpuSeconds();
        } else {
            dialog.create();
        }
        switch (step) {
            case Step::Restore: dialog.panel->restoreValuesAndReturnError(nullptr); break;
            case Step::WillShow: dialog.show(); break;
            case Step::Save: dialog.panel->saveValuesAndReturnError(nullptr); break;
            case Step::Lifecycle:
                dialog.panel->restoreValuesAndReturnError(nullptr);
                dialog.show();
                dialog.panel->saveValuesAndReturnError(nullptr);
                break;
        }
        seconds += cpuSeconds() - start;
    }
    report(state, seconds);
}
BENCHMARK_CAPTURE(PanelStep, Restore, Step::Restore)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PanelStep, WillShow, Step::WillShow)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PanelStep, Save, Step::Save)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PanelStep, CreateRestoreShowSave, Step::Lifecycle)->Unit(benchmark::kMillisecond);

// One user change in the shown panel, every pane's controls registered:
// the staple position back and forth, each a full run of the rules.
void OneOptionChange(benchmark::State& state) {
    Dialog dialog;
    dialog.create();
    dialog.panel->restoreValuesAndReturnError(nullptr);
    dialog.show();
    kzp::QuillUI* control = kzpde::OptionControls::find({&dialog.window->window().contentView()}, "StapleMode");
    if (!control) {
        state.SkipWithError("the panel has no StapleMode control");
        return;
    }
    const char* values[] = {"TopLeftCorner", "None"};
    std::size_t i = 0;
    double seconds = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        kzpde::OptionControls::setAsUser(*control, values[i++ % 2], nullptr);
        seconds += cpuSeconds() - start;
    }
    report(state, seconds);
}
BENCHMARK(OneOptionChange)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
