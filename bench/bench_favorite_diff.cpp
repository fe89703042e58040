// One option change in the shown panel while a saved favorite is chosen,
// against the same change with the default favorite (nothing to compare
// with), measured in the same run: after every change the panel asks
// whether the values still are the favorite's. The favorite holds every
// option, as one saved from the panel does. Aim: at most 1.2 times the
// change without a favorite. Also shown: reading and converting the
// favorite file once, which the panel no longer pays per change, and
// changes that come back to the favorite's values every second time (the
// whole favorite compared, nothing left to apply).
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/conversion/ConvertTable.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "engine/favorites/FavoriteFile.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/favorites/FavoriteFolder.h"
#include "engine/preferences/AppPreference.h"
#include "host/FavoritesMenu.h"
#include "host/HostCallback.h"
#include "host/OptionControls.h"
#include "host/PlugInHost.h"
#include "host/PrintDialog.h"
#include "platform/foundation/Log.h"
#include "platform/printing/MemoryPrinter.h"

namespace {

namespace kzp = ComTORVALEKZ2R4_Plugin;
namespace fs = std::filesystem;

constexpr const char* kFavorite = "Everything";
constexpr int kRounds = 100;  // changes per dialog

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Favorites live below the home folder: one of the benchmark's own.
const fs::path& home() {
    static const fs::path path = [] {
        fs::path p = fs::temp_directory_path() / ("kz-bench-favorite-" + std::to_string(::getpid()));
        fs::create_directories(p);
        ::setenv("HOME", p.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        std::atexit([] { fs::remove_all(home()); });
        return p;
    }();
    return path;
}

kzpde::PlugInHost& plugIn() {
    static kzpde::PlugInHost* host = [] {
        home();
        kz::Log::setSyslogEnabled(false);
        auto* h = new kzpde::PlugInHost();
        std::string error;
        if (!h->load(KZ_BUNDLE_DIR, &error)) std::abort();
        return h;
    }();
    return *host;
}

struct Dialog {
    std::shared_ptr<kzpde::MarkingHostCallback> host;
    std::unique_ptr<kzpde::PrintDialog> window;
    std::shared_ptr<kz::PDEPanel> panel;

    Dialog() {
        auto printer = kz::MemoryPrinter::sample(*plugIn().bundle());
        std::string error;
        const std::string ppd = plugIn().bundle()->pathForResource("KZPrintServer", "ppd");
        host = std::make_shared<kzpde::MarkingHostCallback>(printer, kzpde::HostPpd::open(ppd, &error));
        window = std::make_unique<kzpde::PrintDialog>(host->settings());
        panel = plugIn().panelFor(host, nullptr);
        panel->restoreValuesAndReturnError(nullptr);
        window->setPanelView(panel->panelView());
        panel->willShow();
    }
    ~Dialog() {
        panel->shouldHide();
        window.reset();
        panel.reset();
    }
    kz::View& view() { return *panel->panelView(); }
};

// A favorite of every option at its default, the staple position set to
// TOPRIGHT so that the changes measured keep the values apart from it.
const std::string& favoritePath() {
    static const std::string path = [] {
        Dialog first;  // the panel gives the preferences their bundle
        kz::Dictionary values = kzp::PanePlugInMgr::sharedInstance().defaultSettings();
        values.set("StapleMode", "TopRightCorner");
        kzp::PrintOptionConverter::convertToCanonicalPpdKeyword(values, true);
        kz::Dictionary tags = kzp::PrintOptionConverter::sharedInstance().toInputMgrFormat(values);
        auto written = kzp::FavoriteFolder::saveFavoriteOnFavoriteDirectory(kFavorite, std::nullopt, tags);
        if (!written) std::abort();
        return *written;
    }();
    return path;
}

// CPU seconds of `rounds` changes of the staple position in a shown panel,
// with the favorite chosen or not; the values alternate between two
// positions, neither of them the favorite's (or, with BACK, one of them the
// favorite's, so that every second change comes back to it).
double changes(bool chooseFavorite, bool back, int rounds, bool thenDefault = false) {
    favoritePath();
    Dialog dialog;
    if (chooseFavorite && !kzpde::FavoritesMenu(dialog.view()).choose(kFavorite)) std::abort();
    if (thenDefault) {
        kzpde::FavoritesMenu menu(dialog.view());
        if (!menu.choose(menu.report().dictionary().get("items").array().front().string())) std::abort();
    }
    kzp::QuillUI* control = kzpde::OptionControls::find({&dialog.window->window().contentView()}, "StapleMode");
    if (!control) std::abort();
    const char* values[] = {"TopLeftCorner", back ? "TopRightCorner" : "None"};
    // The first change of a dialog meets what is made once (the changing
    // item, the icon); the changes after it are the ones measured.
    kzpde::OptionControls::setAsUser(*control, values[1], nullptr);
    const double start = cpuSeconds();
    for (int i = 0; i < rounds; ++i) kzpde::OptionControls::setAsUser(*control, values[i % 2], nullptr);
    return (cpuSeconds() - start) / rounds;
}

double noFavoriteSeconds() {
    static const double seconds = changes(false, false, 10 * kRounds);
    return seconds;
}

void report(benchmark::State& state, double seconds) {
    const double each = seconds / static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = each * 1e3;
    state.counters["x_none_chosen"] = each / noFavoriteSeconds();
}

void OneChangeNoFavorite(benchmark::State& state) {
    double seconds = 0;
    for (auto _ : state) seconds += changes(false, false, kRounds) * kRounds;
    report(state, seconds / kRounds);
}
BENCHMARK(OneChangeNoFavorite)->Unit(benchmark::kMillisecond)->Iterations(20);

void OneChangeSavedFavorite(benchmark::State& state) {
    double seconds = 0;
    for (auto _ : state) seconds += changes(true, false, kRounds) * kRounds;
    report(state, seconds / kRounds);
}
BENCHMARK(OneChangeSavedFavorite)->Unit(benchmark::kMillisecond)->Iterations(20);

// The favorite applied and the default chosen again: the same values as
// with the favorite, nothing to compare with (what the rules cost there).
void OneChangeAfterTheFavoriteThenDefault(benchmark::State& state) {
    double seconds = 0;
    for (auto _ : state) seconds += changes(true, false, kRounds, true) * kRounds;
    report(state, seconds / kRounds);
}
BENCHMARK(OneChangeAfterTheFavoriteThenDefault)->Unit(benchmark::kMillisecond)->Iterations(20);

// Every second change returns to the favorite's values: the changing item
// goes, and since the values already are the favorite's, nothing is applied.
void OneChangeToAndFromTheFavorite(benchmark::State& state) {
    double seconds = 0;
    for (auto _ : state) seconds += changes(true, true, kRounds) * kRounds;
    report(state, seconds / kRounds);
}
BENCHMARK(OneChangeToAndFromTheFavorite)->Unit(benchmark::kMillisecond)->Iterations(20);

// What each change used to cost on top: the favorite file read and parsed
// and the convert table read, the options converted to the internal form.
void ReadAndConvertTheFavorite(benchmark::State& state) {
    favoritePath();
    double seconds = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        kzp::FavoriteFile favorite(favoritePath());
        auto table = kzp::PrintOptionConverter::sharedInstance().convertTable();
        kz::Dictionary values = kzp::PrintOptionConverter::toPpdKeywordFormat(*favorite.options(), *table);
        kzp::PrintOptionConverter::convertToInternalPpdKeyword(values);
        benchmark::DoNotOptimize(values);
        seconds += cpuSeconds() - start;
    }
    report(state, seconds);
}
BENCHMARK(ReadAndConvertTheFavorite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
