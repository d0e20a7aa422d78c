// The abort check: a stop asked for while a post waits on a silent server ends the waiting step with
// its own code and the library's "aborted" number, long before the time limits (the default 60 s
// here), and the client stays usable.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "http/client_steps.h"
#include "http/error_codes.h"
#include "http/form_client.h"
#include "http/raw_server.h"

namespace {

using namespace Tarvo;
using namespace http_testing;

constexpr std::uint32_t kCurlAborted = 42;

struct Raised {
    std::uint32_t code = 0;
    std::uint32_t platformError = 0;
};

template <class Action>
Raised raisedBy(Action action) {
    try {
        action();
    } catch (const httpclientexceptionA& e) {
        return {e.ErrorCode(), e.Win32Error()};
    }
    return {};
}

ConnectionScript replyThenSilence(std::string reply) {
    ConnectionScript script = replyWith(std::move(reply));
    script.action = ConnectionScript::Action::ReplyAndHold;
    return script;
}

TEST(AbortCheck, StopsAWaitForTheReplyThatTheServerNeverFinishes) {
    RawServer server({replyThenSilence("HTTP/1.1 200 OK\r\n"), ConnectionScript{}});
    std::atomic<bool> stop{false};
    httpformclientA client;
    client.SetAbortCheck([&stop] { return stop.load(); });
    client.AddParam("a", "b");
    client.BeginFormPost(server.url(), false);
    // Raised from another thread once the server holds the whole request, while the client waits.
    std::thread stopper([&] {
        server.waitFor(0, [](const std::string& bytes) { return bodyOf(bytes) == "a=b"; });
        stop = true;
    });
    const Raised raised = raisedBy([&] { proceedToReply(client); });
    stopper.join();
    EXPECT_EQ(raised.code, kErrEndRequest);
    EXPECT_EQ(raised.platformError, kCurlAborted);
    EXPECT_TRUE(server.awaitEnd(0));  // the abandoned post closed its connection

    stop = false;
    client.BeginFormPost(server.url(), false);
    const auto reply = proceedToReply(client);
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(readAll(*reply), "OK");
}

TEST(AbortCheck, TheReplyKeepsItAndStopsAReadThatStalls) {
    RawServer server({replyThenSilence("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nab")});
    bool stop = false;  // this thread drives the post and raises the stop itself
    httpformclientA client;
    client.SetAbortCheck([&stop] { return stop; });
    client.BeginFormPost(server.url(), false);
    const auto reply = proceedToReply(client);
    ASSERT_NE(reply, nullptr);
    char buffer[16];
    ASSERT_EQ(reply->ReadContent(buffer, sizeof buffer), 2u);
    stop = true;
    const Raised raised = raisedBy([&] { reply->ReadContent(buffer, sizeof buffer); });
    EXPECT_EQ(raised.code, kErrReadFile);
    EXPECT_EQ(raised.platformError, kCurlAborted);
}

TEST(AbortCheck, StopsABeginThatCannotConnect) {
    // The server accepts but never answers the secure handshake.
    RawServer server({holdWithoutReading()});
    httpformclientA client;
    client.SetAbortCheck([] { return true; });
    const Raised raised = raisedBy(
        [&] { client.BeginFormPost("https://127.0.0.1:" + std::to_string(server.port()) + "/", false); });
    EXPECT_EQ(raised.code, kErrSendRequestEx);
    EXPECT_EQ(raised.platformError, kCurlAborted);
    EXPECT_EQ(codeRaisedBy([&] { client.ProceedPost(1024); }), kErrPostNotStarted);
}

}  // namespace
