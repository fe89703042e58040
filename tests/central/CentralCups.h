// An organisation's printing as the tests run it: a central CUPS holding
// the product queues, desktops that print through it, a print server behind
// it and the print service that gives the server lists.
//
//   - central(): a private cupsd listening on its socket and on
//     127.0.0.1:centralPort(), with the product's backend and PPD as
//     `cmake --install` lays them out, its queues shared. This process
//     points at it (CUPS_SERVER is its socket), as an administrator on the
//     central machine would: adminRun() runs kzpde there.
//   - desktopRun(): kzpde as a desktop runs it, with a home and CUPS
//     configuration of its own and the central CUPS as its server over TCP
//     (CUPS_SERVER=127.0.0.1:PORT, or a client.conf ServerName).
//   - standIn(): a second cupsd on 127.0.0.1 standing in for the print
//     server; its queue KZPrintServer keeps every job's attributes and what
//     its backend was handed (recorded()).
//   - lists(): the print service simulator answering the list requests.
//
//     CentralCups& org = CentralCups::shared();
//     if (!org.ready()) GTEST_SKIP() << org.why();
//     ASSERT_TRUE(org.addQueue("Front")) << org.why();
//     ToolRun r = org.desktopRun("print doc.ps --printer Front --json");
//     int remote = org.arrived(centralJobId);
//
// Started once per process (libcups reads its environment once per thread).
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "../support/CupsTestDaemon.h"
#include "../support/ToolRun.h"
#include "PrintServiceSimulator.h"

class CentralCups {
public:
    static CentralCups& shared();
    ~CentralCups();

    bool ready() const { return _why.empty(); }
    const std::string& why() const { return _why; }

    CupsTestDaemon& central() { return *_central; }
    CupsTestDaemon& standIn() { return *_standIn; }
    kztest::PrintServiceSimulator& lists() { return *_lists; }
    int centralPort() const { return _central->tcpPort(); }
    const std::string& folder() const { return _folder; }

    // `kzpde queue add NAME` on the central CUPS for the stand-in's queue,
    // its lists from SERVICE_PORT (the simulator's unless given), shared
    // with the desktops; EXTRA (shell words) goes to `queue add` too. False
    // with the reason in why().
    bool addQueue(const std::string& name, int servicePort = 0, const std::string& extra = {});

    // kzpde with ARGS (shell words) as the administrator on the central
    // machine runs it (this process's environment).
    ToolRun adminRun(const std::string& args, bool withErrors = false) const;
    // kzpde with ARGS as a desktop runs it: CUPS_SERVER names the central
    // CUPS over TCP, or (WITH_CLIENT_CONF) no CUPS_SERVER and a client.conf
    // with ServerName in the desktop's CUPS_SERVERROOT. ENV (shell words
    // NAME=VALUE) goes before the tool.
    ToolRun desktopRun(const std::string& args, bool withErrors = false, const std::string& env = {},
                       bool withClientConf = false) const;
    // A shell COMMAND as the desktop runs it (the same environment, over
    // CUPS_SERVER); standard error after standard output.
    ToolRun desktopShell(const std::string& command) const;
    // The desktop's own home, where its favorites and lpoptions live.
    std::string desktopHome() const { return _folder + "/desktop/home"; }

    // Waits for the central job ID to end; the stand-in's job it became
    // (0 when it did not complete).
    int arrived(int centralJob);
    // What the stand-in's backend was handed for its job ID: "options" or
    // "document".
    std::string recorded(int standInJob, const std::string& what);
    // A PostScript page.
    const std::string& document() const { return _document; }

    // Polls until DONE holds, at most LIMIT (which only ends a hung test).
    static bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(60));
    static int jobState(const CupsTestDaemon& cups, int id);

private:
    CentralCups();
    bool fail(std::string why);

    std::string _folder, _why, _document;
    std::unique_ptr<CupsTestDaemon> _central, _standIn;
    std::unique_ptr<kztest::PrintServiceSimulator> _lists;
    int _standInPort = 0;
};
