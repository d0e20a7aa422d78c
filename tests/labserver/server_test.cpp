// The lab server as tests and the demo run use it: starting and stopping, ports, limits, broken
// uploads, the log and the pages.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>

#include "lab_fixture.h"

namespace {

namespace fs = std::filesystem;
using labtest::Answer;
using labtest::LabFixture;
using labtest::ServerOrder;

class Server : public LabFixture {
  protected:
    Answer get(const std::string& target) {
        httplib::Client client("127.0.0.1", server_->port());
        const auto result = client.Get(target);
        return result ? Answer{result->status, result->body} : Answer{};
    }

    // Sends `bytes` on a connection of its own and closes it without waiting for a reply.
    void sendAndHangUp(const std::string& bytes) {
        const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
        ASSERT_GE(sock, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(server_->port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(::send(sock, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
        ::close(sock);
    }
};

TEST_F(Server, ListensOnAFreePortThatASecondServerCannotTake) {
    ASSERT_GT(server_->port(), 0);
    EXPECT_TRUE(server_->running());
    EXPECT_EQ(server_->url(), "http://127.0.0.1:" + std::to_string(server_->port()));
    EXPECT_FALSE(server_->start(0)) << "a running server does not start twice";

    labserver::LabServerOptions options;
    options.dataFolder = data_;
    labserver::LabServer second(options);
    EXPECT_FALSE(second.start(server_->port())) << "the port is in use";
    EXPECT_EQ(second.port(), 0);
    ASSERT_TRUE(second.start(0));
    EXPECT_NE(second.port(), server_->port());
    httplib::Client client("127.0.0.1", second.port());
    EXPECT_TRUE(client.Get("/"));
}

TEST_F(Server, StopsAndStartsAgainWithoutWaiting) {
    const int port = server_->port();
    server_->stop();
    server_->stop();
    EXPECT_FALSE(server_->running());
    EXPECT_EQ(server_->port(), 0);
    EXPECT_EQ(post("/snapord2/standalone.php", "getfile=params").status, 0) << "nobody listens any more";
    // The port is free again at once.
    ASSERT_TRUE(server_->start(port));
    EXPECT_EQ(openOrder().customer, "1001");

    labserver::LabServerOptions options;
    options.dataFolder = data_;
    labserver::LabServer neverStarted(options);
    neverStarted.stop();
    // Started and stopped at once, before its accept loop could run.
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(neverStarted.start(0));
        neverStarted.stop();
    }
}

TEST_F(Server, LogsOneLinePerRequestWithWhatItDid) {
    const ServerOrder order = openOrder();
    get("/cenik.php");
    post("/snapord2/standalone.php", "getfile=..%2Fusers.txt&login=demo&pass=demo");
    post("/snapord2/standalone.php", "getfile=x&login=demo%0Afake+line&pass=demo");
    server_->stop();  // every reply and its log line are done
    // A line is written once its reply has gone out, so lines of quick requests may swap places.
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 4u);
    const auto count = [&](const std::string& fragment) {
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(fragment) != std::string::npos;
        });
    };
    EXPECT_EQ(
        count(" 127.0.0.1 POST /snapord2/standalone.php 200 getfile params [demo]: opened order " + order.id),
        1);
    EXPECT_EQ(count(" 127.0.0.1 GET /cenik.php 200"), 1);
    EXPECT_EQ(count("getfile ../users.txt [demo]: refused path"), 1);
    EXPECT_EQ(count("getfile x [demo?fake line]: login refused"), 1)
        << "a line break cannot start a line of its own";
    for (const std::string& line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
}

TEST_F(Server, AnUploadBrokenOffLeavesNoFile) {
    const ServerOrder order = openOrder();
    const std::string boundary(labtest::kBoundary);
    const std::string start =
        "--" + boundary + "\r\nContent-Disposition: form-data; name=\"login\"\r\n\r\ndemo\r\n--" + boundary +
        "\r\nContent-Disposition: form-data; name=\"pass\"\r\n\r\ndemo\r\n--" + boundary +
        "\r\nContent-Disposition: form-data; name=\"sendfile\"; filename=\"C:\\a.jpg\"\r\n"
        "Content-Type: image/jpeg\r\n\r\n" +
        std::string(200'000, 'j');
    sendAndHangUp(
        "POST /snapord2/standalone.php HTTP/1.1\r\nHost: 127.0.0.1\r\n"
        "Content-Type: multipart/form-data; boundary=" +
        boundary + "\r\nContent-Length: 5000000\r\n\r\n" + start);
    // Connections are accepted in order: once this one is answered, the broken one was taken too,
    // and stopping waits until its request has ended.
    EXPECT_EQ(openOrder().customer, "1001");
    server_->stop();
    EXPECT_TRUE(fs::is_empty(data_ / "incoming"));
    EXPECT_EQ(std::distance(fs::directory_iterator(orderFolder(order)), fs::directory_iterator()), 1)
        << "only the order's record";
    const auto lines = logLines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("could not be read") != std::string::npos;
    }));
}

TEST_F(Server, ARequestOverTheLimitIsRefusedBeforeItIsStored) {
    restartWithLimit(10'000);
    const ServerOrder order = openOrder();
    const std::string target = "001_velka.jpg";
    EXPECT_EQ(upload("demo", "demo", std::string(9'000, 'p'), order.folder, target).body, "OK");
    const Answer refused = upload("demo", "demo", std::string(10'000, 'p'), order.folder, target);
    EXPECT_EQ(refused.status, 413);
    EXPECT_NE(refused.body, "OK");
    EXPECT_EQ(fs::file_size(orderFolder(order) / target), 9'000u) << "the earlier upload stays";
    EXPECT_TRUE(fs::is_empty(data_ / "incoming"));
}

TEST_F(Server, PagesAnswerAndEscapeWhatTheRequestCarries) {
    const ServerOrder order = openOrder();
    for (const std::string target :
         {"/", "/extranet.php", "/cenik.php", "/onlineplatba.php?obj=1&type=online"}) {
        const Answer page = get(target);
        EXPECT_EQ(page.status, 200) << target;
        EXPECT_TRUE(page.body.starts_with("<!DOCTYPE html>")) << target;
    }
    EXPECT_NE(get("/extranet.php").body.find("<td>" + order.id + "</td>"), std::string::npos);
    // The price list names the catalogue's formats with their prices.
    EXPECT_NE(get("/cenik.php").body.find("<td>10 x 15 cm</td><td class=\"num\">5,90&nbsp;Kč</td>"),
              std::string::npos);
    const std::string payment = get("/onlineplatba.php?obj=" + order.id + "&type=%3Cscript%3Ex").body;
    EXPECT_EQ(payment.find("<script>"), std::string::npos);
    EXPECT_NE(payment.find("&lt;script&gt;x"), std::string::npos);
    EXPECT_NE(payment.find(order.id), std::string::npos);
    EXPECT_EQ(get("/nic.php").status, 404);
}

}  // namespace
