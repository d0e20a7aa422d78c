// What reaches the server: request lines, headers and bodies, byte for byte, against bytes written
// down by hand.
#include <gtest/gtest.h>

#include <algorithm>

#include "http/client_steps.h"
#include "http/error_codes.h"
#include "http/form_client.h"
#include "http/raw_server.h"
#include "support/temp_folder.h"

namespace {

using namespace Tarvo;
using namespace http_testing;

// The fixed boundary, spelled out.
const std::string B = "----TARVO-FB3B405B7EAE495aB0C0295C54D4E096-";

// Posts the client's parameters and returns what the server received; checks on the way that the
// Content-Length sent with the headers equals the body that followed.
std::string post(httpformclientA& client, RawServer& server, std::size_t connection, bool multipart,
                 std::string_view path = "/", std::vector<postprogressA>* steps = nullptr,
                 std::uint32_t chunkSize = 1024) {
    const std::string url = server.url(path);
    multipart ? client.BeginMultipartPost(url, false) : client.BeginFormPost(url, false);
    auto reply = proceedToReply(client, steps, chunkSize);
    EXPECT_TRUE(reply);
    const std::string request = server.received(connection);
    const std::string body = bodyOf(request);
    EXPECT_NE(std::find(headerLines(request).begin(), headerLines(request).end(),
                        "Content-Length: " + std::to_string(body.size())),
              headerLines(request).end())
        << request;
    return request;
}

std::vector<std::string> sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(Wire, RequestLineCarriesTheObjectNameAsWritten) {
    RawServer server;
    const std::string authority = "127.0.0.1:" + std::to_string(server.port());
    struct Row {
        const char* name;
        std::string url;
        std::string requestLine;
    };
    const Row rows[] = {
        {"path", "http://" + authority + "/snapord2/standalone.php",
         "POST /snapord2/standalone.php HTTP/1.1"},
        {"no path", "http://" + authority, "POST / HTTP/1.1"},
        {"query without path", "http://" + authority + "?x=1", "POST /?x=1 HTTP/1.1"},
        {"no scheme, query and fragment", authority + "/a?b=1#c", "POST /a?b=1#c HTTP/1.1"},
        {"upper-case scheme", "HTTP://" + authority + "/x%20y", "POST /x%20y HTTP/1.1"},
        {"cp1250 byte in the path", "http://" + authority + "/ko\xE8ka", "POST /ko\xE8ka HTTP/1.1"},
    };
    std::size_t connection = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        httpformclientA client;
        client.BeginFormPost(row.url, false);
        ASSERT_TRUE(proceedToReply(client));
        const auto lines = headerLines(server.received(connection++));
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], row.requestLine);
        EXPECT_NE(std::find(lines.begin(), lines.end(), "Host: " + authority), lines.end());
    }
}

TEST(Wire, FormPostSendsEncodedBodyWithExactlyTheNamedHeaders) {
    RawServer server;
    const std::string host = "Host: 127.0.0.1:" + std::to_string(server.port());

    httpformclientA client;
    client.AddParam("a b", "x&y");
    client.AddParam("c", std::nullopt);
    const std::string request = post(client, server, 0, false, "/form");
    EXPECT_EQ(bodyOf(request), "a+b=x%26y&c=");
    const auto lines = headerLines(request);
    EXPECT_EQ(lines[0], "POST /form HTTP/1.1");
    EXPECT_EQ(sorted({lines.begin() + 1, lines.end()}),
              sorted({host, "User-Agent: Tarvo HTTP Client Class", "Accept: */*", "Cache-Control: no-cache",
                      "Content-Type: application/x-www-form-urlencoded", "Content-Length: 12"}));

    // With the cache allowed there is no Cache-Control; the agent is the session's.
    client.SetSessionOptions("Snapord ver.2.0.24.3", kAccessPreconfig, std::nullopt, std::nullopt, 0);
    client.BeginFormPost(server.url("/form"), true);
    ASSERT_TRUE(proceedToReply(client));
    const auto cached = headerLines(server.received(1));
    EXPECT_EQ(sorted({cached.begin() + 1, cached.end()}),
              sorted({host, "User-Agent: Snapord ver.2.0.24.3", "Accept: */*",
                      "Content-Type: application/x-www-form-urlencoded", "Content-Length: 12"}));
}

TEST(Wire, FormParametersGoOutByNameIgnoringCaseKeepingTheOrderOfEqualNames) {
    RawServer server;
    httpformclientA client;
    client.AddParam("pass", "p");
    client.AddParam("Login", "1");
    client.AddParam("login", "2");
    client.AddParam("n%41me", "v%41", ParamNameEncoded | ParamValueEncoded);
    client.AddParam("LOGIN", "3");
    EXPECT_EQ(bodyOf(post(client, server, 0, false)), "Login=1&login=2&LOGIN=3&n%41me=v%41&pass=p");
}

TEST(Wire, EmptyFormPostEndsOnTheFirstStep) {
    RawServer server;
    httpformclientA client;
    client.BeginFormPost(server.url(), false);
    EXPECT_TRUE(client.ProceedPost(1024));
    EXPECT_EQ(bodyOf(server.received()), "");
    EXPECT_EQ(codeRaisedBy([&] { client.ProceedPost(1024); }), kErrPostNotStarted);
}

TEST(Wire, HeadersAreOutWhenTheBeginReturns) {
    RawServer server;
    httpformclientA client;
    client.AddParam("a", "b");
    client.BeginFormPost(server.url("/begin"), false);
    EXPECT_TRUE(server.waitFor(
        0, [](const std::string& bytes) { return bytes.find("\r\n\r\n") != std::string::npos; }));
    ASSERT_TRUE(proceedToReply(client));
    EXPECT_EQ(bodyOf(server.received()), "a=b");
}

TEST(Wire, LargeBodyGoesOutWithoutExpectContinue) {
    RawServer server;
    httpformclientA client;
    client.AddParam("v", std::string(3 * 1024 * 1024, 'x'));
    const std::string request = post(client, server, 0, false, "/", nullptr, 256 * 1024);
    for (const std::string& line : headerLines(request))
        EXPECT_EQ(line.rfind("Expect", 0), std::string::npos) << line;
    EXPECT_EQ(bodyOf(request), "v=" + std::string(3 * 1024 * 1024, 'x'));
}

TEST(Wire, SecondBeginAbandonsTheFirstPost) {
    RawServer server;
    httpformclientA client;
    client.AddParam("a", std::string(5000, 'x'));
    client.BeginFormPost(server.url("/first"), false);
    ASSERT_FALSE(client.ProceedPost(1024));
    client.BeginFormPost(server.url("/second"), false);
    ASSERT_TRUE(proceedToReply(client));
    EXPECT_EQ(headerLines(server.received(0))[0], "POST /first HTTP/1.1");
    EXPECT_LT(bodyOf(server.received(0)).size(), 5002u);
    EXPECT_EQ(headerLines(server.received(1))[0], "POST /second HTTP/1.1");
    EXPECT_EQ(bodyOf(server.received(1)).size(), 5002u);
}

TEST(Wire, MultipartPlainParameterIs144Bytes) {
    RawServer server;
    httpformclientA client(BoundaryChoice::Fixed);
    client.AddParam("a", "xy");
    const std::string request = post(client, server, 0, true);
    EXPECT_EQ(bodyOf(request),
              "--" + B + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nxy\r\n--" + B + "--\r\n");
    EXPECT_EQ(bodyOf(request).size(), 144u);
    const auto lines = headerLines(request);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Content-Type: multipart/form-data; boundary=" + B),
              lines.end());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("Content-Type:", 0) == 0; }),
              1);
}

TEST(Wire, EmptyMultipartListIs51BytesAndEndsOnTheSecondStep) {
    RawServer server;
    httpformclientA client(BoundaryChoice::Fixed);
    client.BeginMultipartPost(server.url(), false);
    EXPECT_FALSE(client.ProceedPost(1024));
    EXPECT_TRUE(client.ProceedPost(1024));
    EXPECT_EQ(bodyOf(server.received()), "\r\n--" + B + "--\r\n");
    EXPECT_EQ(bodyOf(server.received()).size(), 51u);
}

TEST(Wire, UploadFieldsGoOutInNameOrder) {
    testing_support::TempFolder folder;
    folder.write("photo.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + "JFIF");
    RawServer server;
    httpformclientA client;
    client.AddParam("login", "jan");
    client.AddParam("pass", "heslo");
    client.AddParam("targetfile", "001_photo.jpg");
    client.AddParam("targetdir", "2024/17");
    client.AddParam("sendfile", folder.file("photo.jpg"), ParamFile);
    const std::string body = bodyOf(post(client, server, 0, true));

    std::vector<std::string> names;
    for (auto at = body.find(" name=\""); at != std::string::npos; at = body.find(" name=\"", at + 1)) {
        const auto start = at + 7;
        names.push_back(body.substr(start, body.find('"', start) - start));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"login", "pass", "sendfile", "targetdir", "targetfile"}));
    EXPECT_NE(body.find("filename=\"" + folder.file("photo.jpg") + "\"\r\nContent-Type: image/jpeg\r\n\r\n"),
              std::string::npos);
    // A random boundary: "----TARVO-", 32 hexadecimal digits, "-".
    const std::string& boundary = client.Boundary();
    ASSERT_EQ(boundary.size(), 43u);
    EXPECT_EQ(boundary.substr(0, 10), "----TARVO-");
    EXPECT_EQ(boundary.find_first_not_of("0123456789abcdef", 10), 42u);
    EXPECT_EQ(boundary.back(), '-');
    EXPECT_NE(boundary, httpformclientA().Boundary());
    EXPECT_EQ(body.substr(0, 2 + 43), "--" + client.Boundary());
}

TEST(Wire, FileOf3000BytesTakesOneHeaderStepAndThreeContentSteps) {
    testing_support::TempFolder folder;
    std::string content(3000, 'x');
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>('a' + i % 26);
    folder.write("letter.txt", content);
    const std::string path = folder.file("letter.txt");

    RawServer server;
    httpformclientA client(BoundaryChoice::Fixed);
    client.AddParam("f", path, ParamFile);
    std::vector<postprogressA> steps;
    const std::string request = post(client, server, 0, true, "/", &steps);

    const std::string opening = "--" + B + "\r\nContent-Disposition: form-data; name=\"f\"; filename=\"" +
                                path + "\"\r\nContent-Type: text/plain\r\n\r\n";
    const std::string closing = "--" + B + "--\r\n";
    EXPECT_EQ(bodyOf(request), opening + content + "\r\n" + closing);

    ASSERT_EQ(steps.size(), 5u);  // header, three pieces of content, closing boundary
    const std::uint32_t posted[] = {
        static_cast<std::uint32_t>(opening.size()), static_cast<std::uint32_t>(opening.size() + 1024),
        static_cast<std::uint32_t>(opening.size() + 2048), static_cast<std::uint32_t>(opening.size() + 3002),
        static_cast<std::uint32_t>(opening.size() + 3002 + closing.size())};
    const std::uint32_t currentPosted[] = {0, 1024, 2048, 3000, 3000};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(steps[i].postedBytes, posted[i]);
        EXPECT_EQ(steps[i].currentPosted, currentPosted[i]);
        EXPECT_EQ(steps[i].currentFile, path);
        EXPECT_EQ(steps[i].filesBegun, 1u);
    }
    EXPECT_EQ(steps.back().totalBytes, steps.back().postedBytes);
    EXPECT_EQ(steps.back().postedContentBytes, 3000u);
}

TEST(Wire, MissingFileIsSentAsAnEmptyOctetStreamPart) {
    RawServer server;
    httpformclientA client(BoundaryChoice::Fixed);
    client.AddParam("f", "/no/such/folder/photo.jpg", ParamFile);
    client.AddParam("g", std::nullopt, ParamFile);
    EXPECT_EQ(bodyOf(post(client, server, 0, true)),
              "--" + B +
                  "\r\nContent-Disposition: form-data; name=\"f\"; filename=\"/no/such/folder/photo.jpg\"" +
                  "\r\nContent-Type: application/octet-stream\r\n\r\n\r\n" + "--" + B +
                  "\r\nContent-Disposition: form-data; name=\"g\"; filename=\"\"" +
                  "\r\nContent-Type: application/octet-stream\r\n\r\n\r\n" + "--" + B + "--\r\n");
}

TEST(Wire, FileNamesAreMappedForOpeningButSentAsGiven) {
    testing_support::TempFolder folder;
    folder.write("real.txt", "hello");
    RawServer server;
    httpformclientA client(BoundaryChoice::Fixed);
    client.SetFileNameMapper([&](std::string_view path) -> std::optional<std::string> {
        return path == "C:\\fotky\\ko\xE8ka.txt" ? std::optional(folder.file("real.txt")) : std::nullopt;
    });
    client.AddParam("f", "C:\\fotky\\ko\xE8ka.txt", ParamFile);
    EXPECT_EQ(bodyOf(post(client, server, 0, true)),
              "--" + B +
                  "\r\nContent-Disposition: form-data; name=\"f\"; filename=\"C:\\fotky\\ko\xE8ka.txt\"" +
                  "\r\nContent-Type: text/plain\r\n\r\nhello\r\n--" + B + "--\r\n");
}

TEST(Wire, ProgressStartsWithThePreviewOfTheFirstParameter) {
    RawServer server;
    httpformclientA client(BoundaryChoice::Fixed);
    client.AddParam("b", "12345");
    client.AddParam("a", "xy");
    postprogressA progress;
    client.QueryProgress(progress);
    EXPECT_EQ(progress, postprogressA{});

    client.BeginMultipartPost(server.url(), false);
    client.QueryProgress(progress);
    EXPECT_EQ(progress.active, 1u);
    EXPECT_EQ(progress.postedBytes, 0u);
    EXPECT_EQ(progress.totalBytes, 144u + 47 + 44 + 5 + 2);
    EXPECT_EQ(progress.totalContentBytes, 7u);
    EXPECT_EQ(progress.paramCount, 2u);
    EXPECT_EQ(progress.paramsBegun, 1u);
    EXPECT_EQ(progress.currentName, "a");
    EXPECT_EQ(progress.currentLength, 2u);
    EXPECT_FALSE(progress.currentFile);

    ASSERT_TRUE(proceedToReply(client));
    client.QueryProgress(progress);
    EXPECT_EQ(progress, postprogressA{});
}

TEST(Wire, ReplyGivesStatusLengthAndBody) {
    RawServer server(
        {replyWith("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK"),
         replyWith("HTTP/1.1 404 Not Found\r\nConnection: close\r\n\r\nnotfound"),
         replyWith("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n")});
    struct Row {
        const char* name;
        std::uint32_t status;
        bool hasLength;
        std::string body;
    };
    const Row rows[] = {{"with length", 200, true, "OK"},
                        {"without length, ended by close", 404, false, "notfound"},
                        {"chunked", 200, false, "abcde"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        httpformclientA client;
        client.AddParam("getfile", "params");
        client.BeginFormPost(server.url("/snapord2/standfile.php"), false);
        auto reply = proceedToReply(client);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->StatusCode(), row.status);
        std::uint32_t length = 12345;
        EXPECT_EQ(reply->GetContentLength(length), row.hasLength);
        if (row.hasLength) {
            EXPECT_EQ(length, row.body.size());
        }
        EXPECT_EQ(readAll(*reply, 3), row.body);
        char byte;
        EXPECT_EQ(reply->ReadContent(&byte, 1), 0u);
    }
}

TEST(Wire, ReplyOutlivesItsClient) {
    RawServer server({replyWith("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello")});
    std::unique_ptr<httpreplyA> reply;
    {
        httpformclientA client;
        client.BeginFormPost(server.url(), false);
        reply = proceedToReply(client);
    }
    ASSERT_TRUE(reply);
    EXPECT_EQ(readAll(*reply), "hello");
}

}  // namespace
