// A private CUPS scheduler for the tests: its own configuration, spool, logs
// and local socket below a temporary folder, never the system's CUPS.
//
//     CupsTestDaemon* cups = CupsTestDaemon::shared();
//     if (!cups->running()) GTEST_SKIP() << cups->error();
//     ASSERT_TRUE(cups->addQueue("Q", ppdPath)) << cups->error();
//     ... cupsGetNamedDest(nullptr, "Q", nullptr), CupsJob::submit(...) ...
//
// Starting it points this process at the daemon: CUPS_SERVER (its socket),
// CUPS_SERVERROOT (its configuration folder, where the client-side lpoptions
// file lives too) and HOME (an empty folder, so no ~/.cups leaks in) are set
// in the environment, which child processes such as the kzpde tool inherit.
// libcups reads CUPS_SERVERROOT and HOME once per thread, so start the daemon
// before any other libcups call of the test process; shared() runs one
// daemon per process for that reason, stopped when the process exits.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

class CupsTestDaemon {
public:
    // The daemon of this process, started on the first call. Check running().
    static CupsTestDaemon* shared();

    CupsTestDaemon();
    // Stops cupsd (SIGTERM to its own process id, then waits for it) and
    // removes the folder.
    ~CupsTestDaemon();
    CupsTestDaemon(const CupsTestDaemon&) = delete;
    CupsTestDaemon& operator=(const CupsTestDaemon&) = delete;

    // Writes the configuration, starts `cupsd -f` and waits (bounded) until
    // `lpstat -r` reports it running. False with the reason in error() when
    // cupsd is missing or does not come up.
    bool start();
    bool running() const { return _pid > 0; }

    // Also listen on 127.0.0.1 at a free port, for clients that reach the
    // scheduler over TCP (CUPS_SERVER=127.0.0.1:PORT). Call before start();
    // the port, 0 when no free one was found.
    int listenOnTcp();
    int tcpPort() const { return _tcpPort; }
    const std::string& error() const { return _error; }

    // A queue NAME on file:/dev/null described by a copy of the PPD at
    // PPD_PATH that gets the daemon's own pass-through filters (documents
    // and CUPS command files are taken and dropped).
    bool addQueue(const std::string& name, const std::string& ppdPath);
    // An lpoptions instance NAME/INSTANCE with these options, written to
    // the client-side lpoptions file.
    bool addInstance(const std::string& name, const std::string& instance,
                     const std::map<std::string, std::string>& options);
    // `lpoptions -d NAME`: the default destination.
    bool setDefault(const std::string& name);

    // Runs a client program (lpstat, lpadmin, ...) with ARGS against this
    // daemon; its exit status, standard output and error in *output.
    int run(const std::vector<std::string>& args, std::string* output = nullptr) const;

    const std::string& folder() const { return _folder; }
    // The local socket, the value of CUPS_SERVER.
    std::string socketPath() const { return _folder + "/cups.sock"; }
    // The scheduler's error log, for failure messages.
    std::string errorLog() const;

private:
    bool fail(std::string reason);
    bool writeConfiguration();
    std::string tcpConfiguration() const;
    bool waitUntilRunning();
    void stop();

    std::string _folder;
    std::string _error;
    pid_t _pid = -1;
    int _tcpPort = 0;
};
