// Opening a large PPD through PpdFile and reading every option's keywords,
// aliases and default, against libcups' own ppdOpenFile of the same file
// (which is the floor: PpdFile opens through it). Compare PpdFileReadAll with
// LibcupsOpenOnly; the target is a ratio of at most 1.5.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/ppd/PpdFile.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>

namespace {

const std::string& largePpd() {
    static const std::string path = [] {
        std::string file = (std::filesystem::temp_directory_path() / "kz-bench-large.ppd").string();
        std::ofstream out(file, std::ios::binary);
        out << "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*LanguageEncoding: JIS83-RKSJ\n"
               "*LanguageVersion: Japanese\n*Product: \"(KZ Bench)\"\n*ModelName: \"KZ\"\n*NickName: \"KZ\"\n";
        const char* tray = "\x8b\x8b\x8e\x86";  // Shift-JIS text for the translations
        for (int g = 0; g < 10; ++g) {
            out << "*OpenGroup: G" << g << "/Group " << g << "\n";
            for (int o = 0; o < 35; ++o) {
                std::string name = "KzOption" + std::to_string(g) + "x" + std::to_string(o);
                out << "*OpenUI *" << name << "/" << tray << " " << o << ": PickOne\n*Default" << name << ": C0\n";
                for (int c = 0; c < 8; ++c) out << "*" << name << " C" << c << "/" << tray << " " << c << ": \"\"\n";
                out << "*CloseUI: *" << name << "\n";
            }
            out << "*CloseGroup: G" << g << "\n";
        }
        return file;
    }();
    return path;
}

void LibcupsOpenOnly(benchmark::State& state) {
    for (auto _ : state) {
        ppd_file_t* ppd = ppdOpenFile(largePpd().c_str());
        benchmark::DoNotOptimize(ppd);
        ppdClose(ppd);
    }
}
BENCHMARK(LibcupsOpenOnly)->Unit(benchmark::kMillisecond);

void PpdFileReadAll(benchmark::State& state) {
    namespace kzp = ComTORVALEKZ2R4_Plugin;
    for (auto _ : state) {
        auto ppd = kzp::PpdFileExt::initWithContentsOfFile(largePpd());
        std::size_t total = 0;
        for (const std::string& keyword : ppd->mainKeywords()) {
            total += ppd->optionKeywords(keyword)->size() + ppd->optionAliases(keyword)->size();
            total += ppd->mainAlias(keyword).value_or("").size();
            benchmark::DoNotOptimize(ppd->defaultOptionChoice(keyword));
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(PpdFileReadAll)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
