#include "support/fault_proxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace testing_support {

namespace {

using Clock = std::chrono::steady_clock;

// Unforwarded bytes a direction holds before the proxy stops reading its sender.
constexpr std::size_t kHeldLimit = 256 * 1024;
// A header block longer than this is taken as a stream of that length when resolving a share.
constexpr std::size_t kHeaderLimit = 64 * 1024;
constexpr std::size_t kReadPiece = 64 * 1024;

// splitmix64: mixes a number into one that looks random, the same on every machine.
std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Evenly drawn numbers from 0 to below 1, from one connection's own sequence.
class Draws {
  public:
    Draws(std::uint64_t seed, std::size_t connection) : state_(mix(seed) ^ mix(connection + 1)) {}
    double next() {
        state_ = mix(state_);
        return static_cast<double>(state_ >> 11) * 0x1.0p-53;
    }

  private:
    std::uint64_t state_;
};

Fault make(FaultKind kind, Stream stream, std::uint64_t bytes) {
    Fault fault;
    fault.kind = kind;
    fault.stream = stream;
    fault.afterBytes = bytes;
    return fault;
}

void closeSocket(int& fd, bool reset) {
    if (fd < 0)
        return;
    if (reset) {
        const linger abort{1, 0};  // closing then sends RST instead of FIN
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    } else {
        ::shutdown(fd, SHUT_WR);
    }
    ::close(fd);
    fd = -1;
}

void makeNonBlocking(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// The length of a message whose first bytes are `head`: its header block and Content-Length body;
// none while the header block is not complete.
std::optional<std::uint64_t> messageLength(std::string_view head) {
    const std::size_t end = head.find("\r\n\r\n");
    if (end == std::string_view::npos)
        return std::nullopt;
    std::uint64_t body = 0;
    std::string lower(head.substr(0, end));
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    const std::string_view name = "\r\ncontent-length:";
    if (const std::size_t at = lower.find(name); at != std::string::npos) {
        std::size_t i = at + name.size();
        while (i < lower.size() && lower[i] == ' ')
            ++i;
        while (i < lower.size() && lower[i] >= '0' && lower[i] <= '9')
            body = body * 10 + static_cast<std::uint64_t>(lower[i++] - '0');
    }
    return end + 4 + body;
}

}  // namespace

Fault passes() {
    return {};
}
Fault cutAfter(Stream stream, std::uint64_t bytes) {
    return make(FaultKind::Cut, stream, bytes);
}
Fault resetAfter(Stream stream, std::uint64_t bytes) {
    return make(FaultKind::Reset, stream, bytes);
}
Fault stallAfter(Stream stream, std::uint64_t bytes) {
    return make(FaultKind::Stall, stream, bytes);
}
Fault delayAfter(Stream stream, std::uint64_t bytes, std::chrono::milliseconds delay) {
    Fault fault = make(FaultKind::Delay, stream, bytes);
    fault.delay = delay;
    return fault;
}
Fault atShare(Fault fault, double share) {
    fault.share = std::clamp(share, 0.0, std::nextafter(1.0, 0.0));
    return fault;
}

FaultPlan FaultPlan::random(std::uint64_t seed, FaultOdds odds) {
    FaultPlan plan;
    plan.seed_ = seed;
    plan.odds_ = odds;
    return plan;
}

FaultPlan FaultPlan::scripted(std::map<std::size_t, Fault> faults) {
    FaultPlan plan;
    plan.scripted_ = std::move(faults);
    return plan;
}

FaultPlan& FaultPlan::set(std::size_t connection, Fault fault) {
    scripted_[connection] = fault;
    return *this;
}

Fault FaultPlan::faultFor(std::size_t connection) const {
    if (const auto found = scripted_.find(connection); found != scripted_.end())
        return found->second;
    if (!seed_)
        return passes();
    // Always the same number of draws, so that each one means the same whatever the fault.
    Draws draws(*seed_, connection);
    const double which = draws.next();
    const Stream either = draws.next() < 0.5 ? Stream::Request : Stream::Reply;
    const double share = draws.next();
    const auto delay = std::chrono::milliseconds(
        1 + static_cast<std::int64_t>(draws.next() * static_cast<double>(std::max<std::int64_t>(
                                                         0, odds_.longestDelay.count() - 1))));
    double bound = 0;
    const auto below = [&](double odds) { return which < (bound += odds); };
    if (below(odds_.cutRequest))
        return atShare(cutAfter(Stream::Request, 0), share);
    if (below(odds_.cutReply))
        return atShare(cutAfter(Stream::Reply, 0), share);
    if (below(odds_.reset))
        return atShare(resetAfter(either, 0), share);
    if (below(odds_.stall))
        return atShare(stallAfter(either, 0), share);
    if (below(odds_.delay))
        return atShare(delayAfter(either, 0, delay), share);
    return passes();
}

std::string describe(const Fault& fault) {
    static constexpr const char* kKinds[] = {"pass", "cut", "reset", "stall", "delay"};
    std::string text = kKinds[static_cast<int>(fault.kind)];
    if (fault.kind == FaultKind::Pass)
        return text;
    text += fault.stream == Stream::Request ? " request" : " reply";
    if (fault.share)
        text += " at " + std::to_string(static_cast<int>(*fault.share * 100)) + "%";
    else
        text += " after " + std::to_string(fault.afterBytes) + " bytes";
    if (fault.kind == FaultKind::Delay)
        text += " for " + std::to_string(fault.delay.count()) + " ms";
    return text;
}

struct FaultProxy::State {
    FaultPlan plan;
    std::uint16_t targetPort = 0;
    int listening = -1;
    int wake = -1;  // readable once the proxy stops; every thread polls it

    std::thread acceptor;
    mutable std::mutex mutex;  // guards what follows
    struct Relay {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Relay> relays;
    std::size_t connections = 0;
    std::vector<StruckFault> struck;

    void accept();
    void relay(int client, Fault fault, std::size_t connection);
    void record(std::size_t connection, Fault fault) {
        std::lock_guard lock(mutex);
        struck.push_back({connection, fault});
    }
};

// One direction of a relayed connection.
struct Direction {
    int* from = nullptr;
    int* to = nullptr;
    std::string held;  // read from `from`, not yet written to `to`
    std::size_t heldAt = 0;
    std::uint64_t forwarded = 0;
    bool fromEnded = false;
    bool toShut = false;

    std::size_t waiting() const { return held.size() - heldAt; }
};

void FaultProxy::State::relay(int client, Fault fault, std::size_t connection) {
    int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(targetPort);
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (server < 0 || ::connect(server, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        closeSocket(server, false);
        closeSocket(client, true);
        return;
    }
    makeNonBlocking(client);
    makeNonBlocking(server);

    Direction directions[2];
    directions[0].from = &client;
    directions[0].to = &server;
    directions[1].from = &server;
    directions[1].to = &client;
    Direction& faulted = directions[fault.stream == Stream::Request ? 0 : 1];
    // The point of the fault, once known; none for a pass or a fault that struck already.
    std::optional<std::uint64_t> point;
    if (fault.kind != FaultKind::Pass && !fault.share)
        point = fault.afterBytes;
    bool pending = fault.kind != FaultKind::Pass;
    std::optional<Clock::time_point> heldUntil;
    bool stalled = false;

    const auto finish = [&](bool reset) {
        closeSocket(client, reset);
        closeSocket(server, reset);
    };

    for (;;) {
        // A share of the stream is resolved once its length is known.
        if (pending && !point) {
            const std::string_view head(faulted.held);
            std::optional<std::uint64_t> length = messageLength(head);
            if (!length && (faulted.fromEnded || head.size() >= kHeaderLimit))
                length = head.size();
            if (length)
                point = static_cast<std::uint64_t>(std::floor(*fault.share * static_cast<double>(*length)));
        }
        // The fault strikes when its stream has reached the point and has a byte beyond it.
        if (pending && point && faulted.forwarded == *point && faulted.waiting() > 0) {
            pending = false;
            Fault resolved = fault;
            resolved.afterBytes = *point;
            resolved.share.reset();
            record(connection, resolved);
            switch (fault.kind) {
                case FaultKind::Cut:
                    return finish(false);
                case FaultKind::Reset:
                    return finish(true);
                case FaultKind::Stall:
                    stalled = true;
                    break;
                case FaultKind::Delay:
                    heldUntil = Clock::now() + fault.delay;
                    break;
                case FaultKind::Pass:
                    break;
            }
        }
        if (heldUntil && Clock::now() >= *heldUntil)
            heldUntil.reset();
        const bool holding = stalled || heldUntil.has_value();

        // While stalled, the client's bytes are read and dropped: its system could not deliver the end
        // of a connection it gives up on behind unread bytes. While delayed, only its end is watched for.
        const short clientWatch = stalled ? POLLIN | POLLRDHUP : holding ? POLLRDHUP : 0;
        pollfd fds[3] = {{wake, POLLIN, 0}, {client, clientWatch, 0}, {server, 0, 0}};
        for (int d = 0; d < 2 && !holding; ++d) {
            Direction& direction = directions[d];
            pollfd& from = fds[1 + d];
            pollfd& to = fds[2 - d];
            if (!direction.fromEnded && direction.waiting() < kHeldLimit)
                from.events |= POLLIN;
            const bool capped =
                &direction == &faulted && pending && (!point || direction.forwarded == *point);
            if (direction.waiting() > 0 && !capped)
                to.events |= POLLOUT;
        }
        int timeout = -1;
        if (heldUntil) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*heldUntil - Clock::now());
            timeout = static_cast<int>(std::max<std::int64_t>(0, left.count()));
        }
        if (::poll(fds, 3, timeout) < 0 && errno != EINTR)
            return finish(true);
        if (fds[0].revents != 0)
            return finish(true);  // the proxy stops
        if (stalled && (fds[1].revents & POLLIN) != 0) {
            char dropped[kReadPiece];
            const ssize_t got = ::recv(client, dropped, sizeof dropped, 0);
            if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
                return finish(false);
            continue;
        }
        // A client that gives up on a held connection ends it on both sides.
        if (holding && (fds[1].revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0)
            return finish(false);
        if (holding)
            continue;
        // A connection that broke takes the other one with it.
        if (((fds[1].revents | fds[2].revents) & POLLERR) != 0)
            return finish(true);

        for (int d = 0; d < 2; ++d) {
            Direction& direction = directions[d];
            const short fromEvents = fds[1 + d].revents;
            if ((fromEvents & (POLLIN | POLLHUP | POLLERR)) != 0 && !direction.fromEnded &&
                direction.waiting() < kHeldLimit) {
                char buffer[kReadPiece];
                const ssize_t got = ::recv(*direction.from, buffer, sizeof buffer, 0);
                if (got > 0) {
                    if (direction.heldAt == direction.held.size()) {
                        direction.held.clear();
                        direction.heldAt = 0;
                    }
                    direction.held.append(buffer, static_cast<std::size_t>(got));
                } else if (got == 0) {
                    direction.fromEnded = true;
                } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                    return finish(true);
                }
            }
            const short toEvents = fds[2 - d].revents;
            if ((toEvents & POLLOUT) != 0 && direction.waiting() > 0) {
                std::size_t size = direction.waiting();
                if (&direction == &faulted && pending && point)
                    size = std::min<std::uint64_t>(size, *point - direction.forwarded);
                const ssize_t sent =
                    ::send(*direction.to, direction.held.data() + direction.heldAt, size, MSG_NOSIGNAL);
                if (sent > 0) {
                    direction.heldAt += static_cast<std::size_t>(sent);
                    direction.forwarded += static_cast<std::uint64_t>(sent);
                } else if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                    return finish(true);
                }
            } else if ((toEvents & (POLLERR | POLLHUP)) != 0 && direction.waiting() > 0) {
                return finish(true);
            }
        }
        for (Direction& direction : directions) {
            if (direction.fromEnded && direction.waiting() == 0 && !direction.toShut) {
                ::shutdown(*direction.to, SHUT_WR);
                direction.toShut = true;
            }
        }
        if (directions[0].toShut && directions[1].toShut)
            return finish(false);
    }
}

void FaultProxy::State::accept() {
    for (;;) {
        pollfd fds[2] = {{wake, POLLIN, 0}, {listening, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[0].revents != 0)
            return;
        if ((fds[1].revents & POLLIN) == 0)
            continue;
        const int client = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        std::lock_guard lock(mutex);
        // Relays that ended are joined here, so that a long run does not keep their threads.
        std::erase_if(relays, [](Relay& relay) {
            if (!relay.done->load())
                return false;
            relay.thread.join();
            return true;
        });
        const std::size_t number = connections++;
        auto done = std::make_shared<std::atomic<bool>>(false);
        relays.push_back({std::thread([this, client, fault = plan.faultFor(number), number, done] {
                              relay(client, fault, number);
                              done->store(true);
                          }),
                          done});
    }
}

FaultProxy::FaultProxy(std::uint16_t targetPort, FaultPlan plan) : state_(std::make_shared<State>()) {
    State& state = *state_;
    state.plan = std::move(plan);
    state.targetPort = targetPort;
    state.wake = ::eventfd(0, EFD_CLOEXEC);
    state.listening = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (state.wake < 0 || state.listening < 0 ||
        ::bind(state.listening, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(state.listening, 64) != 0) {
        throw std::runtime_error("the fault proxy cannot listen");
    }
    state.acceptor = std::thread([&state] { state.accept(); });
}

FaultProxy::~FaultProxy() {
    State& state = *state_;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t woken = ::write(state.wake, &one, sizeof one);
    state.acceptor.join();
    for (State::Relay& relay : state.relays)
        relay.thread.join();
    ::close(state.listening);
    ::close(state.wake);
}

std::uint16_t FaultProxy::port() const {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    ::getsockname(state_->listening, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

std::string FaultProxy::url(std::string_view scheme) const {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port());
}

std::size_t FaultProxy::connections() const {
    std::lock_guard lock(state_->mutex);
    return state_->connections;
}

std::size_t FaultProxy::injected() const {
    std::lock_guard lock(state_->mutex);
    return state_->struck.size();
}

std::size_t FaultProxy::injected(FaultKind kind) const {
    std::lock_guard lock(state_->mutex);
    return static_cast<std::size_t>(
        std::count_if(state_->struck.begin(), state_->struck.end(),
                      [kind](const StruckFault& s) { return s.fault.kind == kind; }));
}

std::vector<StruckFault> FaultProxy::struck() const {
    std::lock_guard lock(state_->mutex);
    return state_->struck;
}

}  // namespace testing_support
