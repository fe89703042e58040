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

// ARGS is appended to the tool's path as shell words; standard error is
// dropped, or with WITH_ERRORS read after standard output's lines as they come.
inline ToolRun runKzpde(const std::string& args, bool withErrors = false) {
    std::string command = std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde " + args + (withErrors ? " 2>&1" : " 2>/dev/null");
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, ""};
    std::string out;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

// The same with only standard error read (standard output dropped); ENV, as
// shell words "NAME=VALUE ...", goes before the tool.
inline ToolRun runKzpdeErrors(const std::string& args, const std::string& env = "") {
    std::string command = env + " " + std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde " + args + " 2>&1 >/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, ""};
    std::string err;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) err.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, err};
}
