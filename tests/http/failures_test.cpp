// Failures of a post: each failing step raises its own code, abandons the post and leaves the client
// usable. Stalls use short time limits; no test waits longer than a fraction of a second.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "http/client_steps.h"
#include "http/error_codes.h"
#include "http/form_client.h"
#include "http/raw_server.h"
#include "support/temp_folder.h"

namespace {

using namespace Tarvo;
using namespace http_testing;
using namespace std::chrono_literals;

constexpr TimeLimits kShortLimits{200ms, 200ms};
constexpr std::uint32_t kCurlTimedOut = 28;

// A value large enough that the loopback connection's buffers cannot hold it.
std::string bigValue() {
    return std::string(12 * 1024 * 1024, 'v');
}

TEST(Failures, BadUrlFailsTheBeginWithoutConnecting) {
    httpformclientA client;
    EXPECT_EQ(codeRaisedBy([&] { client.BeginFormPost("http://:80/", false); }), kErrInvalidUrl);
    EXPECT_EQ(codeRaisedBy([&] { client.BeginFormPost("http://server:70000/", false); }), kErrInvalidPort);
    EXPECT_EQ(codeRaisedBy([&] { client.ProceedPost(1024); }), kErrPostNotStarted);
}

TEST(Failures, RefusedConnectionFailsTheBeginAndTheClientStaysUsable) {
    httpformclientA client;
    client.AddParam("a", "b");
    try {
        client.BeginFormPost("http://127.0.0.1:" + std::to_string(unusedPort()) + "/", false);
        FAIL() << "the begin succeeded";
    } catch (const httpclientexceptionA& e) {
        EXPECT_EQ(e.ErrorCode(), kErrSendRequestEx);
        EXPECT_STREQ(e.what(), "::HttpSendRequestEx failed.");
        EXPECT_EQ(e.Win32Error(), 7u);  // the network library's "could not connect"
        EXPECT_FALSE(e.Diagnostic().empty());
    }
    EXPECT_EQ(codeRaisedBy([&] { client.ProceedPost(1024); }), kErrPostNotStarted);

    RawServer server;
    client.BeginFormPost(server.url(), false);
    ASSERT_TRUE(proceedToReply(client));
    EXPECT_EQ(bodyOf(server.received()), "a=b");
}

TEST(Failures, ConnectionThatCannotBeSetUpInTimeFailsTheBegin) {
    // The server accepts but never answers the secure handshake.
    RawServer server({holdWithoutReading()});
    httpformclientA client;
    client.SetTimeLimits(kShortLimits);
    try {
        client.BeginFormPost("https://127.0.0.1:" + std::to_string(server.port()) + "/", false);
        FAIL() << "the begin succeeded";
    } catch (const httpclientexceptionA& e) {
        EXPECT_EQ(e.ErrorCode(), kErrSendRequestEx);
        EXPECT_EQ(e.Win32Error(), kCurlTimedOut);
    }
}

TEST(Failures, BrokenConnectionWhileWritingRaises408AndAbandonsThePost) {
    RawServer server({closeAfter(100 * 1024)});
    httpformclientA client;
    client.AddParam("v", bigValue());
    client.BeginFormPost(server.url(), false);
    EXPECT_EQ(codeRaisedBy([&] { proceedToReply(client, nullptr, 64 * 1024); }), kErrWriteFile);
    postprogressA progress;
    client.QueryProgress(progress);
    EXPECT_EQ(progress, postprogressA{});
    EXPECT_EQ(codeRaisedBy([&] { client.ProceedPost(1024); }), kErrPostNotStarted);
}

TEST(Failures, ServerThatStopsReadingFailsTheWritingStep) {
    RawServer server({holdWithoutReading()}, 4096);
    httpformclientA client;
    client.SetTimeLimits(kShortLimits);
    client.AddParam("v", bigValue());
    client.BeginFormPost(server.url(), false);
    try {
        proceedToReply(client, nullptr, 1024 * 1024);
        FAIL() << "the post completed";
    } catch (const httpclientexceptionA& e) {
        EXPECT_EQ(e.ErrorCode(), kErrWriteFile);
        EXPECT_EQ(e.Win32Error(), kCurlTimedOut);
    }
}

TEST(Failures, ServerThatNeverAnswersFailsTheEnd) {
    RawServer server({[] {
        ConnectionScript silent = replyWith("");
        silent.action = ConnectionScript::Action::ReplyAndHold;
        return silent;
    }()});
    httpformclientA client;
    client.SetTimeLimits(kShortLimits);
    client.AddParam("a", "b");
    client.BeginFormPost(server.url(), false);
    EXPECT_EQ(codeRaisedBy([&] { proceedToReply(client); }), kErrEndRequest);
}

TEST(Failures, ServerThatClosesWithoutAnswerFailsTheEnd) {
    RawServer server({replyWith("")});
    httpformclientA client;
    client.BeginFormPost(server.url(), false);
    EXPECT_EQ(codeRaisedBy([&] { proceedToReply(client); }), kErrEndRequest);
}

TEST(Failures, ReplyThatBreaksOrStallsFailsTheReadAfterItsBytes) {
    ConnectionScript stalled = replyWith("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789");
    stalled.action = ConnectionScript::Action::ReplyAndHold;
    const ConnectionScript cut = replyWith("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789");
    RawServer server({stalled, cut});
    for (const char* name : {"stalled", "cut"}) {
        SCOPED_TRACE(name);
        httpformclientA client;
        client.SetTimeLimits(kShortLimits);
        client.BeginFormPost(server.url(), false);
        auto reply = proceedToReply(client);
        ASSERT_TRUE(reply);
        char buffer[100];
        ASSERT_EQ(reply->ReadContent(buffer, sizeof buffer), 10u)
            << "the bytes that came are delivered first";
        EXPECT_EQ(std::string(buffer, 10), "0123456789");
        EXPECT_EQ(codeRaisedBy([&] { reply->ReadContent(buffer, sizeof buffer); }), kErrReadFile);
    }
}

TEST(Failures, CancelAbandonsThePostAndTheNextStepRaises104) {
    RawServer server;
    httpformclientA client;
    EXPECT_FALSE(client.CancelPost());
    client.AddParam("v", std::string(10000, 'x'));
    client.BeginFormPost(server.url(), false);
    for (int i = 0; i < 3; ++i)
        ASSERT_FALSE(client.ProceedPost(1024));
    EXPECT_TRUE(client.CancelPost());
    EXPECT_FALSE(client.CancelPost());
    EXPECT_EQ(codeRaisedBy([&] { client.ProceedPost(1024); }), kErrPostNotStarted);
    // The server saw the headers and then the connection end without the full body.
    const std::string request = server.received();
    EXPECT_LT(bodyOf(request).size(), 10002u);
}

TEST(Failures, FileThatChangesAfterTheBeginFailsItsPartWith105) {
    testing_support::TempFolder folder;
    RawServer server;
    struct Row {
        const char* name;
        std::size_t newSize;
    };
    for (const Row& row : {Row{"shrunk", 1000}, Row{"grown", 5000}}) {
        SCOPED_TRACE(row.name);
        folder.write("photo.txt", std::string(3000, 'p'));
        httpformclientA client;
        client.AddParam("f", folder.file("photo.txt"), ParamFile);
        client.BeginMultipartPost(server.url(), false);
        std::filesystem::resize_file(folder.file("photo.txt"), row.newSize);
        EXPECT_EQ(codeRaisedBy([&] { proceedToReply(client); }), kErrFileShortRead);
        EXPECT_EQ(codeRaisedBy([&] { client.ProceedPost(1024); }), kErrPostNotStarted);
    }
}

TEST(Failures, FileThatShrinksWhileBeingSentFailsWith105) {
    testing_support::TempFolder folder;
    folder.write("photo.txt", std::string(200000, 'p'));
    RawServer server;
    httpformclientA client;
    client.AddParam("f", folder.file("photo.txt"), ParamFile);
    client.BeginMultipartPost(server.url(), false);
    ASSERT_FALSE(client.ProceedPost(1024));  // the part's header
    ASSERT_FALSE(client.ProceedPost(1024));  // the first content, read ahead in one piece
    std::filesystem::resize_file(folder.file("photo.txt"), 70000);
    EXPECT_EQ(codeRaisedBy([&] { proceedToReply(client); }), kErrFileShortRead);
}

TEST(Failures, BodyThatDoesNotFit32BitsRaises112) {
    testing_support::TempFolder folder;
    { std::ofstream sparse(folder.file("huge.bin"), std::ios::binary); }
    std::filesystem::resize_file(folder.file("huge.bin"), (std::uint64_t{1} << 32) - 100);  // holes, no data
    httpformclientA client;
    client.AddParam("f", folder.file("huge.bin"), ParamFile);
    EXPECT_EQ(codeRaisedBy([&] { client.BeginMultipartPost("http://127.0.0.1:9/", false); }),
              kErrArithmeticOverflow);
    std::filesystem::resize_file(folder.file("huge.bin"), std::uint64_t{5} << 30);
    EXPECT_EQ(codeRaisedBy([&] { client.BeginMultipartPost("http://127.0.0.1:9/", false); }),
              kErrArithmeticOverflow);
}

}  // namespace
