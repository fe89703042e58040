// Arbitrary bytes as a PPD file: open it with PpdFileExt and ask every
// question the panel asks of every option and choice, plus a few keywords
// that are too long, not ASCII or hold a NUL.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/ppd/PpdFile.h"
#include "platform/foundation/Log.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

std::string tempPath() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/fuzz-ppd-XXXXXX";
        int fd = mkstemp(pattern.data());
        if (fd >= 0) close(fd);
        return pattern;
    }();
    return path;
}

void ask(kzp::PpdFile& ppd, const std::string& main) {
    ppd.isExists(main);
    ppd.mainAlias(main);
    ppd.uiType(main);
    ppd.defaultOptionChoice(main);
    ppd.findMarkedChoice(main);
    ppd.optionAliases(main);
    if (auto keywords = ppd.optionKeywords(main)) {
        int n = 0;
        for (const std::string& choice : *keywords) {
            if (++n > 32) break;
            ppd.isExists(main, choice);
            ppd.optionAlias(main, choice);
            ppd.markOption(main, choice);
            ppd.findMarkedChoice(main);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (kz::Log::setSyslogEnabled(false), true);
    (void)quiet;
    const std::string path = tempPath();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    std::unique_ptr<kzp::PpdFile> ppd = kzp::PpdFileExt::initWithContentsOfFile(path);
    if (!ppd) return 0;
    ppd->product();
    ppd->stringEncoding();
    ppd->defaultValueDictionary();
    int n = 0;
    for (const std::string& main : ppd->mainKeywords()) {
        if (++n > 128) break;
        ask(*ppd, main);
    }
    for (const std::string& odd : {std::string(41, 'A'), std::string("Dupl\xC3\xA9x"), std::string("Du\0plex", 7),
                                   std::string()}) {
        ask(*ppd, odd);
        ppd->markOption("PageSize", odd);
    }
    return 0;
}
