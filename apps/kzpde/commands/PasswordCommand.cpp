// kzpde password scramble|unscramble|selftest: the field scrambling of secure
// fields and a self-test of the password transport library.
#include <ostream>

#include "BundleLocation.h"
#include "Command.h"
#include "Common/Util/EncDec.h"
#include "Common/Util/EncryptUtil.h"
#include "platform/foundation/Log.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

bool isAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

int scramble(kzpde::Invocation& inv, bool forward) {
    if (inv.args.size() != 2) {
        inv.err << "usage: kzpde password " << (forward ? "scramble" : "unscramble") << " KEY TEXT\n";
        return kzpde::kUsage;
    }
    const std::string& key = inv.args[0];
    const std::string& text = inv.args[1];
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

int selftest(kzpde::Invocation& inv) {
    if (inv.args.size() > 1) {
        inv.err << "usage: kzpde password selftest [RESOURCE_DIR]\n";
        return kzpde::kUsage;
    }
    std::string resources = inv.args.empty() ? kzpde::BundleLocation::path() + "/Contents/Resources" : inv.args[0];
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

const kzpde::Command::Registration scrambleCommand{{
    "password scramble",
    "scramble a password as a secure field stores it",
    "usage: kzpde password scramble KEY TEXT\n\n"
    "Prints the scrambled hexadecimal text of TEXT under KEY (the panel uses the key\n"
    "\"paramoxide=qxlr_data\"). The seed comes from the current second, so two runs in\n"
    "different seconds print different texts that both unscramble to TEXT.\n",
    [](kzpde::Invocation& inv) { return scramble(inv, true); },
}};

const kzpde::Command::Registration unscrambleCommand{{
    "password unscramble",
    "unscramble a secure field's stored text",
    "usage: kzpde password unscramble KEY TEXT\n\nPrints the password that TEXT holds under KEY.\n",
    [](kzpde::Invocation& inv) { return scramble(inv, false); },
}};

const kzpde::Command::Registration selftestCommand{{
    "password selftest",
    "round-trip a probe text through the password library",
    "usage: kzpde password selftest [RESOURCE_DIR]\n\n"
    "Loads the password transport library from RESOURCE_DIR (default: the bundle's\n"
    "Contents/Resources), encodes and decodes a probe text and prints the trace,\n"
    "ending with checkEncDec:OK (exit 0) or an error line (exit 1).\n",
    selftest,
}};

}  // namespace
