// Runs the built kzpde tool as a user runs it, for the tests of its
// subcommands: what it printed on standard output and its exit status.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct ToolRun {
    int status;
    std::string out;
};

// A shell COMMAND's standard output and exit status (-1 when it did not end
// by itself).
inline ToolRun runShell(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, ""};
    std::string out;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

// ARGS is appended to the tool's path as shell words; standard error is
// dropped, or with WITH_ERRORS read after standard output's lines as they come.
inline ToolRun runKzpde(const std::string& args, bool withErrors = false) {
    return runShell(std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde " + args + (withErrors ? " 2>&1" : " 2>/dev/null"));
}

// The same with only standard error read (standard output dropped); ENV, as
// shell words "NAME=VALUE ...", goes before the tool.
inline ToolRun runKzpdeErrors(const std::string& args, const std::string& env = "") {
    return runShell(env + " " + std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde " + args + " 2>&1 >/dev/null");
}
