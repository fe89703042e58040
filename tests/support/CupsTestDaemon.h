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

#include <cups/ipp.h>
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

class CupsTestDaemon {
public:
    // How an instance differs from the plain one the shared() daemon is.
    struct Setup {
        // Also listen on 127.0.0.1:PORT and answer to any host name, as a
        // print server does (0: the local socket only). See freePort().
        int tcpPort = 0;
        // serverbin/backend: links to every system backend plus these
        // (name -> file, copied with mode 0755).
        std::map<std::string, std::string> backends;
        // serverbin/filter: links to every system filter besides the
        // daemon's pass-through one, for the chain real queues run.
        bool systemFilters = false;
        // Seconds before a job whose backend asked to retry runs again
        // (0: CUPS's own).
        int jobRetryInterval = 0;
        // CUPS's default job privacy instead of every attribute shown to
        // everyone.
        bool defaultPrivacy = false;
        // Set CUPS_SERVER, CUPS_SERVERROOT and HOME of this process to it.
        // One daemon of a process may; run() reaches each daemon anyway.
        bool pointProcess = true;
        // Keep every job's attributes and documents after it ends.
        bool keepJobs = true;
        std::string logLevel = "warn";
    };
    // The daemon of this process, started on the first call. Check running().
    static CupsTestDaemon* shared();

    CupsTestDaemon();
    explicit CupsTestDaemon(Setup setup);
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
    int tcpPort() const { return _setup.tcpPort; }
    const std::string& error() const { return _error; }

    // A queue NAME on file:/dev/null described by a copy of the PPD at
    // PPD_PATH that gets the daemon's own pass-through filters (documents
    // and CUPS command files are taken and dropped).
    bool addQueue(const std::string& name, const std::string& ppdPath);
    // An lpoptions instance NAME/INSTANCE with these options, written to
    // the client-side lpoptions file.
    bool addInstance(const std::string& name, const std::string& instance,
                     const std::map<std::string, std::string>& options);
    // A queue without PPD on DEVICE that keeps every job's attributes and
    // document (the spool keeps both): a print server's queue.
    bool addRawQueue(const std::string& name, const std::string& device = "file:/dev/null");
    // A queue on DEVICE made from the PPD at PPD_PATH as it is (the real
    // filter chain), with lpadmin's -o OPTIONS.
    bool addPrinter(const std::string& name, const std::string& device, const std::string& ppdPath,
                    const std::vector<std::string>& options = {});
    // Get-Job-Attributes (all of them, IPP 2.0) of job ID as USER over the
    // local socket; nullptr when the daemon has no such job. ippDelete it.
    ipp_t* jobAttributes(int id, const std::string& user = "root") const;
    // Get-Printer-Attributes of queue NAME; ippDelete it.
    ipp_t* printerAttributes(const std::string& name) const;
    // The newest job of the daemon, 0 when it has none.
    int lastJobId() const;

    // A TCP port of 127.0.0.1 that nothing listens on now.
    static int freePort();
    // Writes at PATH a backend "kzrecord" for a stand-in's raw queue: it keeps
    // each job's options and document as record/ID.options and
    // record/ID.document two folders above itself (the daemon's folder when
    // installed among its backends).
    static void writeRecordingBackend(const std::string& path);
    // The PPD the scheduler this process points at keeps for QUEUE, as
    // text (empty when it has none).
    static std::string queuePpd(const std::string& queue);

    // `lpoptions -d NAME`: the default destination.
    bool setDefault(const std::string& name);

    // Runs a client program (lpstat, lpadmin, ...) with ARGS against this
    // daemon (its socket, configuration folder and home in the program's
    // environment); its exit status, standard output and error in *output.
    int run(const std::vector<std::string>& args, std::string* output = nullptr) const;

    const std::string& folder() const { return _folder; }
    const Setup& setup() const { return _setup; }
    // The local socket, the value of CUPS_SERVER.
    std::string socketPath() const { return _folder + "/cups.sock"; }
    // The scheduler's error log, for failure messages.
    std::string errorLog() const;

private:
    bool fail(std::string reason);
    bool writeConfiguration();
    bool waitUntilRunning();
    void stop();

    Setup _setup;
    std::string _folder;
    std::string _error;
    pid_t _pid = -1;
};
