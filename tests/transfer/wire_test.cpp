// What each command sends: endpoint, user agent, form fields in their order, credentials cut to 31
// characters. The expected bodies are written by hand.
#include <gtest/gtest.h>

#include <algorithm>

#include "buildinfo/build_constants.h"
#include "http/raw_server.h"
#include "request_runner.h"
#include "support/temp_folder.h"

namespace {

using http_testing::RawServer;
using namespace transfer_testing;

struct WireCase {
    const char* name;
    ServerCommand command;
    std::string_view a, b, c;
    std::string_view login, password;
    bool anonymous;
    std::string_view path;
    std::string_view body;
};

const WireCase kFormCases[] = {
    {"onlycopy", ServerCommand::OnlyCopy, "001_100001_a.jpg", "002_100001_a.jpg", "obj100001", "demo",
     "secret", false, "/snapord2/standalone.php",
     "login=demo&onlycopy=001%5F100001%5Fa%2Ejpg&pass=secret&targetdir=obj100001&targetfile=002%5F100001%5Fa%"
     "2Ejpg"},
    {"transend without argA", ServerCommand::TransEnd, "order.sno", "100001", "obj100001", "demo", "secret",
     false, "/snapord2/standalone.php", "login=demo&pass=secret&targetfile=100001&transend=obj100001"},
    {"getfile", ServerCommand::GetFile, "params.sno", "params", "", "demo", "secret", false,
     "/snapord2/standalone.php", "getfile=params&login=demo&pass=secret"},
    {"getfile anonymous", ServerCommand::GetFile, "snapord2.dnl", "2.0.24.3/snapord2.ini", "", "", "", true,
     "/snapord2/standfile.php", "getfile=2%2E0%2E24%2E3%2Fsnapord2%2Eini&login=&pass="},
    {"getprice", ServerCommand::GetPrice, "2.0.24.3", "100001", "1001", "demo", "secret", false,
     "/snapord2/standalone.php", "getprice=2%2E0%2E24%2E3&login=demo&objID=100001&pass=secret&usrID=1001"},
    {"getvalidity", ServerCommand::GetValidity, "2.0.24.3", "100001", "1001", "demo", "secret", false,
     "/snapord2/standalone.php", "getvalidity=2%2E0%2E24%2E3&login=demo&objID=100001&pass=secret&usrID=1001"},
    {"login and password of 40 characters sent as their first 31", ServerCommand::TransEnd, "", "1", "obj1",
     "abcdefghijklmnopqrstuvwxyz0123456789ABCD", "Heslo s mezerami a znaky !?*-_+ X", false,
     "/snapord2/standalone.php",
     "login=abcdefghijklmnopqrstuvwxyz01234&pass=Heslo+s+mezerami+a+znaky+%21%3F%2A%2D%5F%2B&targetfile=1&"
     "transend=obj1"},
};

TEST(CommandWire, FormCommandsSendTheirFieldsInNameOrder) {
    testing_support::TempFolder folder;
    testing_support::CurrentFolderScope inFolder(folder.path());
    for (const WireCase& row : kFormCases) {
        SCOPED_TRACE(row.name);
        RawServer server;
        ServerRequest request;
        setUp(request, server.url(""));
        request.SetCredentials(row.login, row.password);
        request.SetAnonymousDownload(row.anonymous);
        EXPECT_EQ(run(request, row.command, row.a, row.b, row.c), RequestState::Ok);

        const std::string sent = server.received(0);
        const auto lines = http_testing::headerLines(sent);
        EXPECT_EQ(lines[0], "POST " + std::string(row.path) + " HTTP/1.1");
        EXPECT_NE(
            std::find(lines.begin(), lines.end(), "User-Agent: Snapord ver." + std::string(build::kVersion)),
            lines.end());
        EXPECT_NE(std::find(lines.begin(), lines.end(), "Content-Type: application/x-www-form-urlencoded"),
                  lines.end());
        EXPECT_EQ(http_testing::bodyOf(sent), row.body);
    }
}

TEST(CommandWire, SendFileIsAMultipartPostWithTheFileBetweenPassAndTargetdir) {
    testing_support::TempFolder folder;
    const std::string photo("\xFF\xD8\xFF\xE0 photograph bytes\r\n\0\x01", 24);
    folder.write("IMG 0042.JPG", photo);
    const std::string path = folder.file("IMG 0042.JPG");

    RawServer server;
    ServerRequest request;
    setUp(request, server.url(""));
    EXPECT_EQ(run(request, ServerCommand::SendFile, path, "007_A123_IMG 0042.JPG", "obj100001"),
              RequestState::Ok);

    const std::string sent = server.received(0);
    const auto lines = http_testing::headerLines(sent);
    EXPECT_EQ(lines[0], "POST /snapord2/standalone.php HTTP/1.1");
    const std::string typeLine = "Content-Type: multipart/form-data; boundary=";
    const auto type = std::find_if(lines.begin(), lines.end(),
                                   [&](const std::string& line) { return line.starts_with(typeLine); });
    ASSERT_NE(type, lines.end());
    const std::string boundary = "--" + type->substr(typeLine.size());
    const std::string part = boundary + "\r\nContent-Disposition: form-data; name=";
    EXPECT_EQ(http_testing::bodyOf(sent),
              part + "\"login\"\r\n\r\ndemo\r\n" +       //
                  part + "\"pass\"\r\n\r\nsecret\r\n" +  //
                  part + "\"sendfile\"; filename=\"" + path + "\"\r\nContent-Type: image/jpeg\r\n\r\n" +
                  photo + "\r\n" +                               //
                  part + "\"targetdir\"\r\n\r\nobj100001\r\n" +  //
                  part + "\"targetfile\"\r\n\r\n007_A123_IMG 0042.JPG\r\n" + boundary + "--\r\n");
}

}  // namespace
