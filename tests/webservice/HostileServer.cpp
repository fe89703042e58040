#include "HostileServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace kztest {

namespace {

int listenOn(int* port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (fd >= 0) ::close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

bool sendAll(int fd, const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

HostileServer::HostileServer(Kind kind) : _kind(kind) {
    _listener = listenOn(&_port);
    if (_listener >= 0) _acceptor = std::thread([this] { acceptLoop(); });
}

HostileServer::~HostileServer() {
    _stop = true;
    if (_acceptor.joinable()) _acceptor.join();
    std::lock_guard lock(_lock);
    for (auto& t : _threads) t.join();
    if (_listener >= 0) ::close(_listener);
}

int HostileServer::closedPort() {
    int port = -1;
    const int fd = listenOn(&port);
    if (fd >= 0) ::close(fd);
    return port;
}

void HostileServer::acceptLoop() {
    while (!_stop) {
        pollfd p{_listener, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const int fd = ::accept4(_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        ++_connections;
        std::lock_guard lock(_lock);
        _threads.emplace_back([this, fd] {
            serve(fd);
            ::close(fd);
        });
    }
}

void HostileServer::serve(int fd) {
    // The request first, headers and body, as a server reads it.
    std::string request;
    char buffer[4096];
    std::size_t wanted = std::string::npos;
    while (!_stop && request.size() < wanted) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        request.append(buffer, static_cast<std::size_t>(n));
        const std::size_t end = request.find("\r\n\r\n");
        if (end != std::string::npos && wanted == std::string::npos) {
            const std::size_t at = request.find("Content-Length: ");
            wanted = end + 4 + (at < end ? std::stoul(request.substr(at + 16)) : 0);
        }
    }
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\n";
    auto pause = [this](int ms) {
        for (int waited = 0; waited < ms && !_stop; waited += 50)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    };
    switch (_kind) {
        case Kind::Garbage: {
            const std::string body = "\x01\x02 this is no reply {]]>";
            sendAll(fd, head + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
            break;
        }
        case Kind::Reset: {
            sendAll(fd, head + "Content-Length: 100000\r\n\r\n<soap:Envelope><soap:Body>");
            pause(100);
            // Closing with unread data and a zero linger sends a reset.
            linger hard{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            break;
        }
        case Kind::Endless: {
            const std::string chunk(64 * 1024, 'x');
            if (!sendAll(fd, head + "Connection: close\r\n\r\n<soap:Envelope><soap:Body>")) break;
            while (!_stop && sendAll(fd, chunk)) {
            }
            break;
        }
        case Kind::Trickle: {
            const std::string reply = head + "Content-Length: 1000\r\n\r\n<soap:Envelope>";
            for (std::size_t i = 0; i < reply.size() && !_stop; ++i) {
                if (!sendAll(fd, reply.substr(i, 1))) break;
                pause(1000);
            }
            break;
        }
        case Kind::Silent:
            while (!_stop) {
                pollfd p{fd, POLLIN, 0};
                // The client gave up when the connection reads as closed.
                if (::poll(&p, 1, 50) > 0 && ::recv(fd, buffer, sizeof buffer, 0) <= 0) break;
            }
            break;
    }
}

}  // namespace kztest
