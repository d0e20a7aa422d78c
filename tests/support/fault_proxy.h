// A fault-injecting TCP proxy on loopback, between a client and a server, for tests and benchmarks.
//
// Every connection accepted on the proxy's port is relayed to the target port of 127.0.0.1, and on its
// way the proxy may break it. A FaultPlan says what happens to the n-th connection (counted from 0 in
// the order they are accepted): it passes, or one fault strikes at a point of the request (client to
// server) or of the reply (server to client):
//
//   Cut     both connections are closed after the first bytes up to the point were forwarded; a
//           client that is still sending may see a reset instead of an orderly end
//   Reset   both connections are reset (RST) at the point
//   Stall   nothing more is forwarded in either direction from the point on, and nothing more is read,
//           until the client gives up and closes (its no-progress limit); the proxy then closes both
//   Delay   the bytes are held at the point for the fault's delay, then everything passes
//
// A fault strikes only when its stream reaches the point: when the point lies at or beyond the stream's
// end, the connection passes (and no fault is counted). A point given as a share of the stream is
// resolved against the stream's whole length, its header block and its Content-Length body, so it
// always lies inside the stream (the stream's first bytes are held until its header block is complete).
//
// The plan is a pure function of the connection number: random plans draw each connection's fault from
// the seed and the number alone, so the same seed gives the same faults to the same connections, in
// whatever timing. The proxy counts the faults that struck.
//
// Threads: the proxy accepts on a thread of its own and relays each connection on one more; every
// member may be called from any thread. The destructor closes every connection and joins the threads.
// One message per connection is assumed (the client and the lab server make one request per
// connection); later messages on a connection just pass behind the first.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

enum class FaultKind { Pass, Cut, Reset, Stall, Delay };
enum class Stream { Request, Reply };

struct Fault {
    FaultKind kind = FaultKind::Pass;
    Stream stream = Stream::Request;
    // The point: after this many bytes of the stream were forwarded ...
    std::uint64_t afterBytes = 0;
    // ... or, when set, after this share (0 to below 1) of the stream's whole length.
    std::optional<double> share;
    // Delay: how long the bytes are held.
    std::chrono::milliseconds delay{0};
};

// Faults at a byte count, and at a share of the stream.
Fault passes();
Fault cutAfter(Stream stream, std::uint64_t bytes);
Fault resetAfter(Stream stream, std::uint64_t bytes);
Fault stallAfter(Stream stream, std::uint64_t bytes);
Fault delayAfter(Stream stream, std::uint64_t bytes, std::chrono::milliseconds delay);
Fault atShare(Fault fault, double share);

// Probabilities of the faults of a random plan, each drawn for a connection; what remains passes.
struct FaultOdds {
    double cutRequest = 0;
    double cutReply = 0;
    double reset = 0;  // in the request or the reply, equally often
    double stall = 0;  // in the request or the reply, equally often
    double delay = 0;  // in the request or the reply, equally often
    // Delays are drawn evenly from 1 ms up to this.
    std::chrono::milliseconds longestDelay{200};
};

// What happens to each connection.
class FaultPlan {
  public:
    // Every connection passes.
    FaultPlan() = default;
    // Each connection's fault drawn from `seed` and its number: where it strikes is an even share of
    // its stream.
    static FaultPlan random(std::uint64_t seed, FaultOdds odds);
    // The connections named get their faults; every other one passes (or, after random(), draws).
    static FaultPlan scripted(std::map<std::size_t, Fault> faults);
    FaultPlan& set(std::size_t connection, Fault fault);

    Fault faultFor(std::size_t connection) const;

  private:
    std::optional<std::uint64_t> seed_;
    FaultOdds odds_;
    std::map<std::size_t, Fault> scripted_;
};

// One fault that struck.
struct StruckFault {
    std::size_t connection = 0;
    Fault fault;  // with the point as a byte count, also when the plan gave a share
};

class FaultProxy {
  public:
    // Listens on a free loopback port at once; relays to 127.0.0.1:`targetPort`.
    FaultProxy(std::uint16_t targetPort, FaultPlan plan = {});
    ~FaultProxy();
    FaultProxy(const FaultProxy&) = delete;
    FaultProxy& operator=(const FaultProxy&) = delete;

    std::uint16_t port() const;
    // "<scheme>://127.0.0.1:<port>", the base address to give a client instead of the server's.
    std::string url(std::string_view scheme = "http") const;

    // Connections accepted so far.
    std::size_t connections() const;
    // Faults that struck so far, in all and of one kind (a Pass never strikes).
    std::size_t injected() const;
    std::size_t injected(FaultKind kind) const;
    std::vector<StruckFault> struck() const;

  private:
    struct State;
    std::shared_ptr<State> state_;
};

// "cut", "reset", "stall", "delay" or "pass", and "request"/"reply": for messages.
std::string describe(const Fault& fault);

}  // namespace testing_support
