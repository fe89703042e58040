// kzpde password scramble|unscramble|selftest: the field scrambling of secure
// fields and a self-test of the password transport library.
#include <ostream>

#include "support/BundleLocation.h"
#include "cli/Command.h"
#include <CLI/CLI.hpp>
#include "Common/Security/EncDec.h"
#include "Common/Security/EncryptUtil.h"
#include "platform/foundation/Log.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

bool isAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

int scramble(kzpde::Invocation& inv, bool forward, const std::string& key, const std::string& text) {
    if (key.empty() || !isAscii(key)) {
        inv.err << "kzpde password: the key must be a non-empty ASCII text\n";
        return kzpde::kFailure;
    }
    if (!isAscii(text)) inv.err << "kzpde password: the text is not ASCII and is taken as empty\n";
    auto result = forward ? kzp::encryptString(key, text) : kzp::decryptString(key, text);
    if (!result) {
        inv.err << "kzpde password: the unscrambled bytes are not ASCII\n";
        return kzpde::kFailure;
    }
    inv.out << *result << "\n";
    return kzpde::kOk;
}

int selftest(kzpde::Invocation& inv, const std::string& given) {
    std::string resources = given.empty() ? kzpde::BundleLocation::path() + "/Contents/Resources" : given;
    std::string libraryPath;
    int result;
    {
        kz::LogCapture capture;
        result = kzp::checkEncDec("kzpde self-test 0123456789", resources, &libraryPath);
        inv.out << "library: " << libraryPath << "\n";
        for (const std::string& line : capture.lines()) inv.out << line << "\n";
    }
    return result == 0 ? kzpde::kOk : kzpde::kFailure;
}

// KEY and TEXT: a text may start with '-' (a password may), so after the
// first word every word is taken as it stands.
kzpde::Runner keyAndText(CLI::App& app, bool forward) {
    auto words = std::make_shared<std::pair<std::string, std::string>>();
    app.positionals_at_end();
    app.add_option("KEY", words->first, "the key")->required();
    app.add_option("TEXT", words->second, forward ? "the password" : "the scrambled text")->required();
    return [words, forward](kzpde::Invocation& inv) { return scramble(inv, forward, words->first, words->second); };
}

const kzpde::Command::Registration scrambleCommand{{
    "password scramble",
    "scramble a password as a secure field stores it",
    "Prints the scrambled hexadecimal text of TEXT under KEY (the panel uses the key\n"
    "\"paramoxide=qxlr_data\"). The seed comes from the current second, so two runs in\n"
    "different seconds print different texts that both unscramble to TEXT.\n",
    [](CLI::App& app) { return keyAndText(app, true); },
}};

const kzpde::Command::Registration unscrambleCommand{{
    "password unscramble",
    "unscramble a secure field's stored text",
    "Prints the password that TEXT holds under KEY.\n",
    [](CLI::App& app) { return keyAndText(app, false); },
}};

const kzpde::Command::Registration selftestCommand{{
    "password selftest",
    "round-trip a probe text through the password library",
    "Loads the password transport library from RESOURCE_DIR (default: the bundle's\n"
    "Contents/Resources), encodes and decodes a probe text and prints the trace,\n"
    "ending with checkEncDec:OK (exit 0) or an error line (exit 1).\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto dir = std::make_shared<std::string>();
        app.add_option("RESOURCE_DIR", *dir, "where the library is (the bundle's resources by default)");
        return [dir](kzpde::Invocation& inv) { return selftest(inv, *dir); };
    },
}};

}  // namespace
