#pragma once

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace kztest {

// A server on 127.0.0.1 that misbehaves as a broken or hostile print
// service would, on every connection, for the client's and the tool's tests.
class HostileServer {
public:
    enum class Kind {
        Garbage,  // a whole HTTP reply whose body is no XML
        Reset,    // announces a long body, sends part of it, resets
        Endless,  // sends without end
        Trickle,  // one byte a second
        Silent,   // accepts, reads the request and never answers
    };

    explicit HostileServer(Kind kind);
    ~HostileServer();
    HostileServer(const HostileServer&) = delete;
    HostileServer& operator=(const HostileServer&) = delete;

    int port() const { return _port; }
    // Connections accepted so far.
    int connections() const { return _connections; }

    // A port on 127.0.0.1 that nobody listens on (now).
    static int closedPort();

private:
    void acceptLoop();
    void serve(int fd);

    Kind _kind;
    int _listener = -1;
    int _port = -1;
    std::atomic<bool> _stop{false};
    std::atomic<int> _connections{0};
    std::mutex _lock;
    std::vector<std::thread> _threads;
    std::thread _acceptor;
};

}  // namespace kztest
