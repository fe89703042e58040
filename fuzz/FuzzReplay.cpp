// fuzz_replay TARGET [--match PATTERN]... PATH... [-- PATH...]
// Runs one fuzz target's entry point once over every file below the PATHs, as
// libFuzzer does with -runs=0: below the PATHs before "--" only files whose
// name matches one of the PATTERNs (when given); below those after it, the
// extra seeds and the inputs the fuzzers found, every file, and these folders
// need not exist yet. So the normal and the sanitizer builds replay the seed
// corpora and every finding kept so far. A crash, a sanitizer report or a leak
// ends the process with a failure; so does a seed PATH that does not exist or a
// replay that finds no input at all, which would otherwise pass without
// testing anything.
#include <fnmatch.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzTargets.h"

namespace fs = std::filesystem;

namespace {

bool matches(const fs::path& file, const std::vector<std::string>& patterns) {
    if (patterns.empty()) return true;
    const std::string name = file.filename().string();
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& p) { return fnmatch(p.c_str(), name.c_str(), 0) == 0; });
}

int usage() {
    std::fprintf(stderr, "usage: fuzz_replay TARGET [--match PATTERN]... PATH... [-- PATH...]\ntargets:");
    for (const auto& t : kzfuzz::targets()) std::fprintf(stderr, " %s", t.name);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string name = argv[1];
    const auto& all = kzfuzz::targets();
    auto target = std::find_if(all.begin(), all.end(), [&](const kzfuzz::Target& t) { return name == t.name; });
    if (target == all.end()) return usage();

    std::vector<std::string> patterns;
    std::vector<fs::path> files;
    bool whole = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--match" && i + 1 < argc && !whole) {
            patterns.push_back(argv[++i]);
            continue;
        }
        if (arg == "--") {
            whole = true;
            patterns.clear();
            continue;
        }
        std::error_code error;
        if (fs::is_regular_file(arg, error)) {
            files.emplace_back(arg);
        } else if (fs::is_directory(arg, error)) {
            for (const auto& entry : fs::recursive_directory_iterator(arg, error))
                if (entry.is_regular_file() && matches(entry.path(), patterns)) files.push_back(entry.path());
        } else if (!whole) {
            // After "--" a folder may not exist yet: nothing found there so far.
            std::fprintf(stderr, "fuzz_replay: %s: no such file or folder\n", arg.c_str());
            return 1;
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "fuzz_replay %s: no input found\n", target->name);
        return 1;
    }
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "fuzz_replay: cannot read %s\n", file.c_str());
            return 1;
        }
        std::printf("Running: %s\n", file.c_str());
        std::fflush(stdout);
        target->run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("fuzz_replay %s: %zu inputs, no finding\n", target->name, files.size());
    return 0;
}
