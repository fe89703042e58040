// print_service_simulator: the tests' print service as a program, for scripts
// that show the tool against a server.
//   print_service_simulator PRINTER.plist [--host H] [--port P] [--fault]
//       [--broken-xml] [--delay SECONDS] [--auth USER:PASSWORD] [--cookie NAME=VALUE]...
// Prints the service's URL on a line of its own once it listens, then serves
// until SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include <pthread.h>

#include "PrintServiceSimulator.h"

namespace {

int usage() {
    std::cerr << "usage: print_service_simulator PRINTER.plist [--host H] [--port P] [--fault] [--broken-xml]\n"
                 "       [--delay SECONDS] [--auth USER:PASSWORD] [--cookie NAME=VALUE]...\n";
    return 2;
}

bool number(const std::string& text, double& out) {
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0' && out >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::string error;
    kz::Dictionary printer = kztest::PrintServiceSimulator::readPrinter(argv[1], &error);
    if (!error.empty()) {
        std::cerr << "print_service_simulator: " << argv[1] << ": " << error << "\n";
        return 1;
    }
    std::string host = "127.0.0.1";
    double port = 0, delay = 0;
    bool fault = false, broken = false;
    std::string user, password;
    std::vector<std::pair<std::string, std::string>> cookies;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--fault") {
            fault = true;
        } else if (a == "--broken-xml") {
            broken = true;
        } else if (a == "--host" && hasValue) {
            host = argv[++i];
        } else if (a == "--port" && hasValue) {
            if (!number(argv[++i], port) || port > 65535 || port != static_cast<int>(port)) return usage();
        } else if (a == "--delay" && hasValue) {
            if (!number(argv[++i], delay)) return usage();
        } else if (a == "--auth" && hasValue) {
            const std::string pair = argv[++i];
            const auto colon = pair.find(':');
            if (colon == std::string::npos || colon == 0) return usage();
            user = pair.substr(0, colon);
            password = pair.substr(colon + 1);
        } else if (a == "--cookie" && hasValue) {
            const std::string pair = argv[++i];
            const auto eq = pair.find('=');
            if (eq == std::string::npos || eq == 0) return usage();
            cookies.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
        } else {
            return usage();
        }
    }

    // The server's threads inherit this mask, so the signals reach sigwait.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    kztest::PrintServiceSimulator server(std::move(printer), host, static_cast<int>(port));
    if (server.port() <= 0) {
        std::cerr << "print_service_simulator: cannot listen on " << host << "\n";
        return 1;
    }
    server.fault = fault;
    server.brokenXml = broken;
    server.delaySeconds = delay;
    server.authUser = user;
    server.authPassword = password;
    server.setCookies = cookies;
    std::cout << server.endpoint() << std::endl;
    int signal = 0;
    sigwait(&stop, &signal);
    return 0;
}
