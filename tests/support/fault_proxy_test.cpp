// The fault proxy: its plans are fixed by seed and connection number, and each fault reaches the HTTP
// client (and the server behind the proxy) as that fault would on a real network.
#include "support/fault_proxy.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <vector>

#include "http/client_steps.h"
#include "http/form_client.h"
#include "http/raw_server.h"

namespace {

using namespace std::chrono_literals;
using namespace testing_support;
using http_testing::RawServer;

// The network library's error numbers the faults show as.
constexpr std::uint32_t kGotNothing = 52;    // the connection ended before any reply byte
constexpr std::uint32_t kSendError = 55;     // sending failed (reset)
constexpr std::uint32_t kReceiveError = 56;  // receiving failed (reset)
constexpr std::uint32_t kPartialBody = 18;   // the body ended before its Content-Length
constexpr std::uint32_t kTimedOut = 28;

constexpr Tarvo::TimeLimits kShortLimits{2000ms, 300ms};

// A reply of 10 body bytes behind a header block of kReplyHead bytes.
constexpr std::string_view kReply =
    "HTTP/1.1 200 OK\r\nContent-Length: 10\r\nConnection: close\r\n\r\n0123456789";
constexpr std::uint64_t kReplyHead = kReply.size() - 10;

struct Outcome {
    std::uint32_t code = 0;          // the client's error code; 0 when the whole reply came
    std::uint32_t networkError = 0;  // the network library's number behind it
    std::string body;                // the reply bytes read, up to the failure
};

// A form post of the one field "v" through the proxy, driven as the server protocol drives it.
Outcome post(const FaultProxy& proxy, const std::string& value) {
    Outcome outcome;
    Tarvo::httpformclientA client;
    client.SetTimeLimits(kShortLimits);
    client.AddParam("v", value);
    try {
        client.BeginFormPost(proxy.url() + "/", false);
        auto reply = http_testing::proceedToReply(client, nullptr, 64 * 1024);
        char buffer[4];  // small pieces, so that the bytes before a failure are kept
        while (const std::uint32_t n = reply->ReadContent(buffer, sizeof buffer))
            outcome.body.append(buffer, n);
    } catch (const Tarvo::httpclientexceptionA& e) {
        outcome.code = e.ErrorCode();
        outcome.networkError = e.Win32Error();
    }
    return outcome;
}

TEST(FaultPlans, DrawEachConnectionsFaultFromTheSeedAndItsNumberAlone) {
    const FaultOdds odds{0.15, 0.15, 0.15, 0.15, 0.15, 50ms};
    const FaultPlan plan = FaultPlan::random(7, odds);
    const FaultPlan again = FaultPlan::random(7, odds);
    const FaultPlan other = FaultPlan::random(8, odds);
    // Asked in another order: the same faults.
    for (std::size_t n = 1000; n-- > 0;)
        EXPECT_EQ(describe(again.faultFor(n)), describe(plan.faultFor(n))) << n;
    std::size_t differ = 0;
    std::map<std::string, std::size_t> kinds;
    for (std::size_t n = 0; n < 20000; ++n) {
        const Fault fault = plan.faultFor(n);
        differ += describe(fault) != describe(other.faultFor(n));
        const std::string kind = describe(fault).substr(0, describe(fault).find(' '));
        ++kinds[kind == "cut" ? kind + (fault.stream == Stream::Request ? " request" : " reply") : kind];
        if (fault.kind != FaultKind::Pass) {
            ASSERT_TRUE(fault.share);
            EXPECT_GE(*fault.share, 0.0);
            EXPECT_LT(*fault.share, 1.0);
        }
        if (fault.kind == FaultKind::Delay) {
            EXPECT_GE(fault.delay, 1ms);
            EXPECT_LE(fault.delay, 50ms);
        }
    }
    EXPECT_GT(differ, 10000u) << "another seed, other faults";
    for (const char* kind : {"cut request", "cut reply", "reset", "stall", "delay"}) {
        EXPECT_GT(kinds[kind], 2700u) << kind;
        EXPECT_LT(kinds[kind], 3300u) << kind;
    }
    EXPECT_GT(kinds["pass"], 4600u);
    EXPECT_LT(kinds["pass"], 5400u);

    // Connections named by a test get their faults; the others pass, or draw from the seed.
    const FaultPlan scripted = FaultPlan::scripted({{2, cutAfter(Stream::Reply, 5)}});
    EXPECT_EQ(describe(scripted.faultFor(0)), "pass");
    EXPECT_EQ(describe(scripted.faultFor(2)), "cut reply after 5 bytes");
    FaultPlan mixed = FaultPlan::random(7, odds);
    mixed.set(3, passes()).set(4, atShare(stallAfter(Stream::Request, 0), 0.5));
    EXPECT_EQ(describe(mixed.faultFor(3)), "pass");
    EXPECT_EQ(describe(mixed.faultFor(4)), "stall request at 50%");
    EXPECT_EQ(describe(mixed.faultFor(5)), describe(plan.faultFor(5)));
}

TEST(FaultProxy, PassesEveryByteBothWays) {
    RawServer server;
    FaultProxy proxy(server.port());
    const std::string value(3 * 1024 * 1024, 'x');  // more than the proxy holds at a time
    const Outcome outcome = post(proxy, value);
    EXPECT_EQ(outcome.code, 0u);
    EXPECT_EQ(outcome.body, "OK");
    EXPECT_EQ(http_testing::bodyOf(server.received(0)), "v=" + value);
    EXPECT_EQ(proxy.connections(), 1u);
    EXPECT_EQ(proxy.injected(), 0u);
}

TEST(FaultProxy, CutsTheRequestAfterItsBytesSoTheServerGetsOnlyThose) {
    RawServer server;
    FaultProxy proxy(server.port(), FaultPlan::scripted({{1, cutAfter(Stream::Request, 100)},
                                                         {2, atShare(cutAfter(Stream::Request, 0), 0.5)},
                                                         {3, cutAfter(Stream::Request, 2'000'000)}}));
    const std::string value(1024 * 1024, 'x');
    ASSERT_EQ(post(proxy, value).code, 0u);
    const std::uint64_t length = server.receivedCount(0);

    for (std::size_t connection : {1, 2}) {
        SCOPED_TRACE(connection);
        const Outcome outcome = post(proxy, value);
        // Still sending, or already waiting for the reply: both are a connection that ended.
        EXPECT_TRUE(outcome.code == Tarvo::kErrWriteFile || outcome.code == Tarvo::kErrEndRequest)
            << outcome.code;
    }
    EXPECT_EQ(server.receivedCount(1), 100u);
    EXPECT_EQ(server.receivedCount(2), length / 2) << "the share of the whole request, headers and body";

    // A point beyond the stream's end never comes: the connection passes and counts no fault.
    EXPECT_EQ(post(proxy, value).body, "OK");
    EXPECT_EQ(server.receivedCount(3), length);
    ASSERT_EQ(proxy.injected(), 2u);
    EXPECT_EQ(proxy.injected(FaultKind::Cut), 2u);
    EXPECT_EQ(proxy.struck()[1].connection, 2u);
    EXPECT_EQ(proxy.struck()[1].fault.afterBytes, length / 2);
}

TEST(FaultProxy, CutsTheReplyAfterItsBytesOnceTheServerHasTheWholeRequest) {
    RawServer server({http_testing::replyWith(std::string(kReply))});
    FaultProxy proxy(server.port(), FaultPlan::scripted({{0, cutAfter(Stream::Reply, 0)},
                                                         {1, cutAfter(Stream::Reply, kReplyHead - 10)},
                                                         {2, cutAfter(Stream::Reply, kReplyHead + 4)}}));
    const Outcome nothing = post(proxy, "abc");
    EXPECT_EQ(nothing.code, Tarvo::kErrEndRequest);
    EXPECT_EQ(nothing.networkError, kGotNothing);
    EXPECT_EQ(http_testing::bodyOf(server.received(0)), "v=abc") << "the server had the whole request";

    EXPECT_EQ(post(proxy, "abc").code, Tarvo::kErrEndRequest) << "a header block cut short";

    const Outcome partial = post(proxy, "abc");
    EXPECT_EQ(partial.code, Tarvo::kErrReadFile);
    EXPECT_EQ(partial.networkError, kPartialBody);
    EXPECT_EQ(partial.body, "0123");
    EXPECT_EQ(proxy.injected(FaultKind::Cut), 3u);
}

TEST(FaultProxy, ResetsTheConnectionInTheRequestOrInTheReply) {
    RawServer server({http_testing::replyWith(std::string(kReply))});
    FaultProxy proxy(server.port(), FaultPlan::scripted({{0, resetAfter(Stream::Request, 0)},
                                                         {1, resetAfter(Stream::Reply, 0)},
                                                         {2, resetAfter(Stream::Reply, kReplyHead + 4)}}));
    // Still sending the headers, the body, or already waiting: all three are a connection that broke.
    const Outcome request = post(proxy, std::string(1024 * 1024, 'x'));
    EXPECT_TRUE(request.code == Tarvo::kErrSendRequestEx || request.code == Tarvo::kErrWriteFile ||
                request.code == Tarvo::kErrEndRequest)
        << request.code;
    EXPECT_TRUE(request.networkError == kSendError || request.networkError == kReceiveError)
        << request.networkError;
    EXPECT_EQ(server.receivedCount(0), 0u);

    // Unlike a cut reply, the client sees a reset, not an orderly end.
    const Outcome reply = post(proxy, "abc");
    EXPECT_EQ(reply.code, Tarvo::kErrEndRequest);
    EXPECT_EQ(reply.networkError, kReceiveError);
    const Outcome body = post(proxy, "abc");
    EXPECT_EQ(body.code, Tarvo::kErrReadFile);
    EXPECT_EQ(body.networkError, kReceiveError);
    EXPECT_EQ(proxy.injected(FaultKind::Reset), 3u);
}

TEST(FaultProxy, StallsUntilTheClientsNoProgressLimitEndsTheConnection) {
    RawServer server;
    FaultProxy proxy(server.port(), FaultPlan::scripted({{0, stallAfter(Stream::Request, 100)},
                                                         {1, stallAfter(Stream::Reply, 0)}}));
    // The client sends the rest into the void, then waits for a reply that never comes.
    const Outcome request = post(proxy, std::string(8 * 1024 * 1024, 'x'));
    EXPECT_EQ(request.code, Tarvo::kErrEndRequest);
    EXPECT_EQ(request.networkError, kTimedOut);
    // The proxy ends the server's side too once the client has given up.
    EXPECT_EQ(server.receivedCount(0), 100u);

    const Outcome reply = post(proxy, "abc");
    EXPECT_EQ(reply.code, Tarvo::kErrEndRequest);
    EXPECT_EQ(reply.networkError, kTimedOut);
    EXPECT_EQ(http_testing::bodyOf(server.received(1)), "v=abc");
    EXPECT_EQ(proxy.injected(FaultKind::Stall), 2u);
}

TEST(FaultProxy, DelaysTheBytesAndThenPassesThemAll) {
    RawServer server({http_testing::replyWith(std::string(kReply))});
    FaultProxy proxy(server.port(),
                     FaultPlan::scripted({{0, delayAfter(Stream::Request, 0, 150ms)},
                                          {1, delayAfter(Stream::Reply, kReplyHead + 4, 150ms)}}));
    for (std::size_t connection : {0, 1}) {
        SCOPED_TRACE(connection);
        const auto start = std::chrono::steady_clock::now();
        const Outcome outcome = post(proxy, "abc");
        EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
        EXPECT_EQ(outcome.code, 0u);
        EXPECT_EQ(outcome.body, "0123456789");
        EXPECT_EQ(http_testing::bodyOf(server.received(connection)), "v=abc");
    }
    EXPECT_EQ(proxy.injected(FaultKind::Delay), 2u);
    EXPECT_EQ(proxy.injected(), 2u);
}

}  // namespace
