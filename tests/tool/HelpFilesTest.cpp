// The manual page and the bash completion script the build writes, checked
// against the commands the tool registers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "ToolCommands.h"

namespace {

const std::string kManPage = std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde.1";
const std::string kCompletion = std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde.bash-completion";

std::string shellOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

// What bash offers for the words after "kzpde", the last one being typed:
// one candidate a line.
std::string completions(const std::string& words) {
    return shellOutput("bash -c 'source " + kCompletion +
                       "; COMP_WORDS=(kzpde " + words + "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1));"
                       " [[ \"" + words + "\" == *\" \" || -z \"" + words + "\" ]] && COMP_WORDS+=(\"\") && COMP_CWORD=$((COMP_CWORD + 1));"
                       " _kzpde; printf \"%s\\n\" \"${COMPREPLY[@]}\"'");
}

bool offers(const std::string& candidates, const std::string& word) {
    return ("\n" + candidates).find("\n" + word + "\n") != std::string::npos;
}

bool haveGroff() { return std::system("command -v groff >/dev/null 2>&1") == 0; }

}  // namespace

TEST(ManPage, RendersCleanlyAndDescribesEveryCommand) {
    std::ifstream in(kManPage);
    ASSERT_TRUE(in) << kManPage;
    if (!haveGroff()) GTEST_SKIP() << "groff is not installed";
    // Warnings (-ww) on standard output; the rendered text in a second run.
    EXPECT_EQ(shellOutput("groff -man -Tutf8 -ww -z " + kManPage + " 2>&1"), "");
    const std::string text = shellOutput("MANWIDTH=200 groff -man -Tascii -P-cbou -rLL=200n " + kManPage + " 2>/dev/null");
    for (const std::string& name : registeredCommands()) {
        EXPECT_NE(text.find("kzpde " + name + "\n"), std::string::npos) << name;
        EXPECT_NE(text.find("usage: kzpde " + name), std::string::npos) << name;
    }
}

TEST(BashCompletion, OffersEveryCommandWordByWord) {
    ASSERT_TRUE(std::ifstream(kCompletion)) << kCompletion;
    const std::vector<std::string> commands = registeredCommands();
    const std::string first = completions("");
    EXPECT_TRUE(offers(first, "--help")) << first;
    for (const std::string& name : commands) {
        SCOPED_TRACE(name);
        std::string typed;
        std::size_t start = 0;
        for (std::size_t space = name.find(' '); ; space = name.find(' ', start)) {
            const std::string word = name.substr(start, space == std::string::npos ? space : space - start);
            EXPECT_TRUE(offers(completions(typed), word)) << "after '" << typed << "'";
            if (space == std::string::npos) break;
            typed += word + " ";
            start = space + 1;
        }
        // After the command: its options, and no command words but the next
        // words of longer commands that begin with it ("panes" -> "tree").
        EXPECT_TRUE(offers(completions(name + " --"), "--help"));
        std::string longer;
        for (const std::string& other : commands)
            if (other.rfind(name + " ", 0) == 0) longer += other.substr(name.size() + 1, other.find(' ', name.size() + 1) - name.size() - 1) + "\n";
        EXPECT_EQ(completions(name + " "), longer.empty() ? "\n" : longer);
    }
    // Options come from the synopsis, partial words are narrowed.
    const std::string dump = completions("dump --");
    EXPECT_TRUE(offers(dump, "--bundle") && offers(dump, "--json")) << dump;
    EXPECT_EQ(completions("ppd in"), "info\n");
}
