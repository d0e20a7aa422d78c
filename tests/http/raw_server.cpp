#include "http/raw_server.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace http_testing {

namespace {

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
using IoSize = int;
constexpr int kSendFlags = 0;
void closeSocket(Socket fd) {
    closesocket(fd);
}
int pollSockets(pollfd* fds, unsigned long count) {
    return WSAPoll(fds, count, -1);
}
// Winsock is started once for the process and stays started.
void startSockets() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
        throw std::runtime_error("WSAStartup");
}
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
using IoSize = ssize_t;
constexpr int kSendFlags = MSG_NOSIGNAL;
void closeSocket(Socket fd) {
    close(fd);
}
int pollSockets(pollfd* fds, nfds_t count) {
    return poll(fds, count, -1);
}
void startSockets() {}
#endif

// Waits of the tests end when the awaited bytes are there; this only keeps a broken test from hanging.
constexpr auto kSafetyLimit = std::chrono::seconds(30);

sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::uint16_t boundPort(Socket fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

}  // namespace

ConnectionScript replyWith(std::string reply) {
    ConnectionScript script;
    script.reply = std::move(reply);
    return script;
}

ConnectionScript closeAfter(std::uint64_t bytes) {
    ConnectionScript script;
    script.action = ConnectionScript::Action::CloseAfter;
    script.closeAfter = bytes;
    return script;
}

ConnectionScript holdWithoutReading() {
    ConnectionScript script;
    script.action = ConnectionScript::Action::HoldWithoutReading;
    return script;
}

ConnectionScript readThenHold(std::uint64_t bytes) {
    ConnectionScript script;
    script.action = ConnectionScript::Action::ReadThenHold;
    script.closeAfter = bytes;
    return script;
}

struct Connection {
    std::string bytes;
    std::uint64_t count = 0;
    bool ended = false;
};

struct RawServer::State {
    std::vector<ConnectionScript> scripts;
    Socket listenFd = kNoSocket;
#ifdef _WIN32
    // Stopping is told twice: by a datagram to a socket of its own, which the waits for readiness
    // watch beside the connection, and by an event, which the wait for a connection's end watches.
    Socket stopSocket = kNoSocket;
    WSAEVENT stopEvent = WSA_INVALID_EVENT;
#else
    int stopPipe[2] = {-1, -1};
#endif
    std::thread thread;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Connection> connections;

    void openStopSignal() {
#ifdef _WIN32
        stopEvent = WSACreateEvent();
        stopSocket = socket(AF_INET, SOCK_DGRAM, 0);
        const sockaddr_in address = loopback(0);
        if (stopEvent == WSA_INVALID_EVENT || stopSocket == kNoSocket ||
            bind(stopSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
            throw std::runtime_error("stop signal");
#else
        if (pipe(stopPipe) != 0)
            throw std::runtime_error("pipe");
#endif
    }

    void signalStop() {
        const char stop = 's';
#ifdef _WIN32
        const sockaddr_in address = loopback(boundPort(stopSocket));
        sendto(stopSocket, &stop, 1, 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        WSASetEvent(stopEvent);
#else
        [[maybe_unused]] const ssize_t written = write(stopPipe[1], &stop, 1);
#endif
    }

    void closeStopSignal() {
#ifdef _WIN32
        closeSocket(stopSocket);
        WSACloseEvent(stopEvent);
#else
        close(stopPipe[0]);
        close(stopPipe[1]);
#endif
    }

    // Waits until `fd` is ready for `events`; false when the server is stopping.
    bool await(Socket fd, short events) {
#ifdef _WIN32
        const Socket stopFd = stopSocket;
#else
        const int stopFd = stopPipe[0];
#endif
        pollfd fds[2] = {{fd, events, 0}, {stopFd, POLLIN, 0}};
        while (pollSockets(fds, 2) < 0) {
        }
        return (fds[1].revents & POLLIN) == 0;
    }

    // Waits, without reading, until the client closes or resets the connection, or the server stops.
    void awaitClientEnd(Socket fd) {
#ifdef _WIN32
        // Unread bytes would make the socket readable at once: only the end of the connection counts.
        WSAEVENT closed = WSACreateEvent();
        if (closed != WSA_INVALID_EVENT && WSAEventSelect(fd, closed, FD_CLOSE) == 0) {
            const WSAEVENT events[2] = {closed, stopEvent};
            WSAWaitForMultipleEvents(2, events, FALSE, WSA_INFINITE, FALSE);
        }
        if (closed != WSA_INVALID_EVENT)
            WSACloseEvent(closed);
#else
        await(fd, POLLRDHUP);
#endif
    }

    void record(std::size_t index, const char* data, std::size_t size, bool keep) {
        std::lock_guard lock(mutex);
        Connection& connection = connections[index];
        if (keep || connection.bytes.size() < 64 * 1024)
            connection.bytes.append(data, size);
        connection.count += size;
        changed.notify_all();
    }

    // Reads one request: headers, then as many body bytes as its Content-Length says.
    void readRequest(Socket fd, std::size_t index, const ConnectionScript& script) {
        std::vector<char> buffer(256 * 1024);
        std::string head;
        std::uint64_t bodyWanted = 0;
        std::uint64_t bodyGot = 0;
        bool headersDone = false;
        while (!headersDone || bodyGot < bodyWanted) {
            if (!await(fd, POLLIN))
                return;
            const IoSize n = recv(fd, buffer.data(), static_cast<int>(buffer.size()), 0);
            if (n <= 0)
                return;
            record(index, buffer.data(), static_cast<std::size_t>(n), script.keepBytes);
            if (headersDone) {
                bodyGot += static_cast<std::uint64_t>(n);
                continue;
            }
            head.append(buffer.data(), static_cast<std::size_t>(n));
            const auto end = head.find("\r\n\r\n");
            if (end == std::string::npos)
                continue;
            headersDone = true;
            bodyGot = head.size() - (end + 4);
            const std::string headers = lowered(head.substr(0, end + 2));
            if (const auto at = headers.find("\r\ncontent-length:"); at != std::string::npos)
                bodyWanted = std::stoull(headers.substr(at + 17));
            if (script.answerExpect && headers.find("\r\nexpect: 100-continue") != std::string::npos)
                sendAll(fd, "HTTP/1.1 100 Continue\r\n\r\n");
        }
    }

    bool sendAll(Socket fd, std::string_view bytes) {
        while (!bytes.empty()) {
            if (!await(fd, POLLOUT))
                return false;
            const IoSize n = send(fd, bytes.data(), static_cast<int>(bytes.size()), kSendFlags);
            if (n <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    void sendReply(Socket fd, const ConnectionScript& script) {
        if (!sendAll(fd, script.reply))
            return;
        std::string piece(64 * 1024, '\0');
        for (std::size_t i = 0; i < piece.size(); ++i)
            piece[i] = static_cast<char>('a' + i % 26);
        for (std::uint64_t left = script.generatedBody; left > 0;) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left, piece.size()));
            if (!sendAll(fd, std::string_view(piece).substr(0, n)))
                return;
            left -= n;
        }
    }

    void serve(Socket fd, std::size_t index, const ConnectionScript& script) {
        using Action = ConnectionScript::Action;
        switch (script.action) {
            case Action::Reply:
            case Action::ReplyAndHold:
                readRequest(fd, index, script);
                sendReply(fd, script);
                if (script.action == Action::ReplyAndHold)
                    awaitClientEnd(fd);
                break;
            case Action::CloseAfter:
            case Action::ReadThenHold: {
                std::vector<char> buffer(64 * 1024);
                std::uint64_t got = 0;
                while (got < script.closeAfter && await(fd, POLLIN)) {
                    const auto wanted = static_cast<std::size_t>(
                        std::min<std::uint64_t>(buffer.size(), script.closeAfter - got));
                    const IoSize n = recv(fd, buffer.data(), static_cast<int>(wanted), 0);
                    if (n <= 0)
                        break;
                    record(index, buffer.data(), static_cast<std::size_t>(n), script.keepBytes);
                    got += static_cast<std::uint64_t>(n);
                }
                if (script.action == Action::ReadThenHold) {
                    awaitClientEnd(fd);  // until the client gives up
                    break;
                }
                linger reset{1, 0};  // a reset, as a broken connection gives
                setsockopt(fd, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset), sizeof reset);
                break;
            }
            case Action::HoldWithoutReading:
                awaitClientEnd(fd);  // until the client gives up
                break;
        }
    }

    void run() {
        for (std::size_t index = 0;; ++index) {
            if (!await(listenFd, POLLIN))
                return;
            const Socket fd = accept(listenFd, nullptr, nullptr);
            if (fd == kNoSocket)
                return;
            {
                std::lock_guard lock(mutex);
                connections.emplace_back();
            }
            serve(fd, index, scripts[std::min(index, scripts.size() - 1)]);
            closeSocket(fd);
            std::lock_guard lock(mutex);
            connections[index].ended = true;
            changed.notify_all();
        }
    }

    template <class Ready>
    bool waitUntil(Ready ready) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, kSafetyLimit, ready);
    }
};

RawServer::RawServer(std::vector<ConnectionScript> scripts, int receiveBuffer)
    : state_(std::make_shared<State>()) {
    startSockets();
    state_->scripts = std::move(scripts);
    if (state_->scripts.empty())
        state_->scripts.emplace_back();
    state_->openStopSignal();
    state_->listenFd = socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    setsockopt(state_->listenFd, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
    if (receiveBuffer > 0)
        setsockopt(state_->listenFd, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer),
                   sizeof receiveBuffer);
    const sockaddr_in address = loopback(0);
    if (bind(state_->listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(state_->listenFd, 16) != 0)
        throw std::runtime_error("listen");
    port_ = boundPort(state_->listenFd);
    state_->thread = std::thread([state = state_] { state->run(); });
}

RawServer::~RawServer() {
    state_->signalStop();
    state_->thread.join();
    closeSocket(state_->listenFd);
    state_->closeStopSignal();
}

std::string RawServer::url(std::string_view rest) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(rest);
}

std::string RawServer::received(std::size_t index) {
    state_->waitUntil([&] { return index < state_->connections.size() && state_->connections[index].ended; });
    std::lock_guard lock(state_->mutex);
    return index < state_->connections.size() ? state_->connections[index].bytes : std::string();
}

bool RawServer::waitFor(std::size_t index, const std::function<bool(const std::string&)>& ready) {
    return state_->waitUntil(
        [&] { return index < state_->connections.size() && ready(state_->connections[index].bytes); });
}

std::uint64_t RawServer::receivedCount(std::size_t index) {
    state_->waitUntil([&] { return index < state_->connections.size() && state_->connections[index].ended; });
    std::lock_guard lock(state_->mutex);
    return index < state_->connections.size() ? state_->connections[index].count : 0;
}

bool RawServer::awaitEnd(std::size_t index) {
    return state_->waitUntil(
        [&] { return index < state_->connections.size() && state_->connections[index].ended; });
}

std::size_t RawServer::connectionCount() {
    std::lock_guard lock(state_->mutex);
    return state_->connections.size();
}

std::uint16_t unusedPort() {
    startSockets();
    const Socket fd = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(0);
    bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    const std::uint16_t port = boundPort(fd);
    closeSocket(fd);
    return port;
}

std::vector<std::string> headerLines(std::string_view request) {
    std::vector<std::string> lines;
    const auto end = request.find("\r\n\r\n");
    std::string_view head = request.substr(0, end == std::string_view::npos ? request.size() : end);
    while (!head.empty()) {
        const auto at = head.find("\r\n");
        lines.emplace_back(head.substr(0, at));
        head = at == std::string_view::npos ? std::string_view{} : head.substr(at + 2);
    }
    return lines;
}

std::string bodyOf(std::string_view request) {
    const auto end = request.find("\r\n\r\n");
    return end == std::string_view::npos ? std::string() : std::string(request.substr(end + 4));
}

}  // namespace http_testing
