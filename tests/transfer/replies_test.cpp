// How each command reads its reply, including replies the lab server never gives (line breaks after a
// reply word, error statuses, error pages): one raw loopback server per row answers the given bytes.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <optional>

#include "http/raw_server.h"
#include "request_runner.h"
#include "support/full_device.h"
#include "support/temp_folder.h"

namespace {

using http_testing::RawServer;
using namespace transfer_testing;

constexpr std::string_view kDownload = "download.bin";

struct ReplyCase {
    const char* name;
    ServerCommand command;
    std::string reply;  // the whole HTTP reply
    RequestState state;
    // getfile: the local file afterwards (none: no file); getprice: the price; getvalidity: the message.
    std::optional<std::string> result = std::nullopt;
};

const std::string kLongFile = std::string(20000, 'x') + "notfound";

const ReplyCase kReplyCases[] = {
    {"sendfile OK", ServerCommand::SendFile, httpReply("OK"), RequestState::Ok},
    {"sendfile OK and CR LF", ServerCommand::SendFile, httpReply("OK\r\n"), RequestState::Failed},
    {"sendfile OK and LF", ServerCommand::SendFile, httpReply("OK\n"), RequestState::Failed},
    {"sendfile badlogin", ServerCommand::SendFile, httpReply("badlogin"), RequestState::BadLogin},
    {"sendfile nologin", ServerCommand::SendFile, httpReply("nologin"), RequestState::BadLogin},
    {"sendfile empty body", ServerCommand::SendFile, httpReply(""), RequestState::Failed},
    {"sendfile error page", ServerCommand::SendFile, httpReply("<html><body>OK</body></html>"),
     RequestState::Failed},
    {"sendfile OK with an error status", ServerCommand::SendFile,
     httpReply("OK", "500 Internal Server Error"), RequestState::Failed},
    {"onlycopy OK", ServerCommand::OnlyCopy, httpReply("OK"), RequestState::Ok},
    {"onlycopy nologin", ServerCommand::OnlyCopy, httpReply("nologin"), RequestState::BadLogin},
    {"transend OK", ServerCommand::TransEnd, httpReply("OK"), RequestState::Ok},
    {"transend refusal", ServerCommand::TransEnd, httpReply("error: the order is closed"),
     RequestState::Failed},
    {"getfile notfound", ServerCommand::GetFile, httpReply("notfound"), RequestState::NotFound},
    {"getfile badlogin", ServerCommand::GetFile, httpReply("badlogin"), RequestState::BadLogin},
    {"getfile nologin is content", ServerCommand::GetFile, httpReply("nologin"), RequestState::Ok, "nologin"},
    {"getfile notfound and LF is content", ServerCommand::GetFile, httpReply("notfound\n"), RequestState::Ok,
     "notfound\n"},
    {"getfile short reply", ServerCommand::GetFile, httpReply("now obj1 1001 1"), RequestState::Ok,
     "now obj1 1001 1"},
    {"getfile empty reply", ServerCommand::GetFile, httpReply(""), RequestState::Ok, ""},
    {"getfile long file ending in notfound", ServerCommand::GetFile, httpReply(kLongFile), RequestState::Ok,
     kLongFile},
    {"getfile error page of a proxy", ServerCommand::GetFile,
     httpReply("<html>Bad Gateway</html>", "502 Bad Gateway"), RequestState::Failed},
    {"getfile missing page", ServerCommand::GetFile, httpReply("notfound", "404 Not Found"),
     RequestState::Failed},
    {"getprice amount and currency", ServerCommand::GetPrice, httpReply("52,60&nbsp;K\xE8"), RequestState::Ok,
     "52,60"},
    {"getprice without nbsp", ServerCommand::GetPrice, httpReply("52,60 K\xE8"), RequestState::Ok,
     "52,60 K\xE8"},
    {"getprice cut to 259", ServerCommand::GetPrice, httpReply(std::string(300, '9')), RequestState::Ok,
     std::string(259, '9')},
    {"getprice badlogin", ServerCommand::GetPrice, httpReply("badlogin"), RequestState::BadLogin, ""},
    {"getprice nologin", ServerCommand::GetPrice, httpReply("nologin"), RequestState::BadLogin, ""},
    {"getprice error status", ServerCommand::GetPrice, httpReply("<html>", "503 Service Unavailable"),
     RequestState::Failed, ""},
    {"getvalidity OK", ServerCommand::GetValidity, httpReply("OK"), RequestState::Ok, ""},
    {"getvalidity OK and CR LF", ServerCommand::GetValidity, httpReply("OK\r\n"), RequestState::Ok, ""},
    {"getvalidity warning", ServerCommand::GetValidity, httpReply("warning\nchyb\xED 2 z 5:\na.jpg"),
     RequestState::Warning, "chyb\xED 2 z 5:\na.jpg"},
    {"getvalidity warning alone", ServerCommand::GetValidity, httpReply("warning"), RequestState::Warning,
     ""},
    {"getvalidity error", ServerCommand::GetValidity, httpReply("error\nno order"), RequestState::Failed,
     "no order"},
    {"getvalidity other first line", ServerCommand::GetValidity, httpReply("maybe\nlater"),
     RequestState::Failed, ""},
};

TEST(CommandReplies, EachReplyGivesItsStateAndResult) {
    testing_support::TempFolder folder;
    testing_support::CurrentFolderScope inFolder(folder.path());
    folder.write("photo.jpg", "\xFF\xD8\xFF photograph");
    for (const ReplyCase& row : kReplyCases) {
        SCOPED_TRACE(row.name);
        folder.write(kDownload, "an earlier download");
        RawServer server({http_testing::replyWith(row.reply)});
        ServerRequest request;
        setUp(request, server.url(""));
        EXPECT_EQ(run(request, row.command, row.command == ServerCommand::GetFile ? kDownload : "photo.jpg",
                      "b", "c"),
                  row.state);
        switch (row.command) {
            case ServerCommand::GetFile:
                EXPECT_EQ(folder.exists(kDownload), row.result.has_value());
                if (row.result) {
                    EXPECT_EQ(folder.read(kDownload), *row.result);
                }
                break;
            case ServerCommand::GetPrice:
                EXPECT_EQ(request.Price(), *row.result);
                break;
            case ServerCommand::GetValidity:
                EXPECT_EQ(request.Message(), *row.result);
                EXPECT_EQ(folder.read("validity.txt"), http_testing::bodyOf(row.reply));
                break;
            default:
                break;
        }
    }
}

TEST(CommandReplies, AnUnreachableServerFailsEveryCommandAndLeavesNoStaleDownload) {
    testing_support::TempFolder folder;
    testing_support::CurrentFolderScope inFolder(folder.path());
    folder.write("photo.jpg", "photograph");
    folder.write(kDownload, "an earlier download");
    ServerRequest request;
    setUp(request, "http://127.0.0.1:" + std::to_string(http_testing::unusedPort()));
    for (const ServerCommand command :
         {ServerCommand::SendFile, ServerCommand::OnlyCopy, ServerCommand::TransEnd, ServerCommand::GetFile,
          ServerCommand::GetPrice, ServerCommand::GetValidity}) {
        SCOPED_TRACE(static_cast<int>(command));
        EXPECT_EQ(
            run(request, command, command == ServerCommand::GetFile ? kDownload : "photo.jpg", "b", "c"),
            RequestState::Failed);
    }
    EXPECT_FALSE(folder.exists(kDownload));
    EXPECT_FALSE(folder.exists("validity.txt"));
}

#ifndef _WIN32
// Limits the size of files this process writes, as a full disk would, until the scope ends.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit then fails with EFBIG
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit previous_{};
    sighandler_t previousHandler_ = nullptr;
};
#endif

TEST(CommandReplies, ADownloadThatCannotBeWrittenCompletelyFailsAndLeavesNoFile) {
    testing_support::TempFolder folder;
    testing_support::CurrentFolderScope inFolder(folder.path());
    const std::string catalogue(200000, 'c');
    RawServer server({http_testing::replyWith(httpReply(catalogue))});
    ServerRequest request;
    setUp(request, server.url(""));

    // A local file that cannot be created at all.
    EXPECT_EQ(run(request, ServerCommand::GetFile, "no-such-folder/x.bin", "2.0.24.3/snapord2.ini", ""),
              RequestState::Failed);

#ifdef _WIN32
    GTEST_SKIP() << "Windows has no limit on the size of the files a process writes, which stands in for a "
                    "full disk here";
#else
    {
        FileSizeLimit fullDisk(4096);
        EXPECT_EQ(run(request, ServerCommand::GetFile, kDownload, "2.0.24.3/snapord2.ini", ""),
                  RequestState::Failed);
    }
    EXPECT_FALSE(folder.exists(kDownload));
#endif
}

// A download onto a full disk whose bytes all wait in the stream's buffer shows the failure only when
// the stream is flushed: it must not be reported as complete.
TEST(CommandReplies, ADownloadOntoAFullDiskFails) {
    const auto full = testing_support::fullDevice();
    if (!full)
        GTEST_SKIP() << "this system has no device that is always full";
    testing_support::TempFolder folder;
    testing_support::CurrentFolderScope inFolder(folder.path());
    RawServer server({http_testing::replyWith(httpReply("a small catalogue"))});
    ServerRequest request;
    setUp(request, server.url(""));
    EXPECT_EQ(run(request, ServerCommand::GetFile, *full, "2.0.24.3/snapord2.ini", ""), RequestState::Failed);
}

// "ř" is in no Western code page: a Windows build that opened the photograph by its narrow name found
// nothing there and sent the lab an empty file.
TEST(CommandReplies, APhotographWithCzechLettersInItsNameGoesOutWhole) {
    testing_support::TempFolder folder;
    testing_support::CurrentFolderScope inFolder(folder.path());
    const std::string photo(70000, '\x5A');
    folder.write(
        "Dovolen\xC3\xA1 u mo\xC5\x99"
        "e.jpg",
        photo);  // UTF-8, as the file system names it
    RawServer server({http_testing::replyWith(httpReply("OK"))});
    ServerRequest request;
    setUp(request, server.url(""));
    EXPECT_EQ(run(request, ServerCommand::SendFile,
                  "Dovolen\xE1 u mo\xF8"
                  "e.jpg",
                  "001_1_a.jpg", "obj1"),
              RequestState::Ok);
    EXPECT_NE(http_testing::bodyOf(server.received()).find(photo), std::string::npos);
}

TEST(CommandReplies, APhotographThatCannotBeReadIsNotSentAsAnEmptyFile) {
    testing_support::TempFolder folder;
    testing_support::CurrentFolderScope inFolder(folder.path());
    RawServer server;
    ServerRequest request;
    setUp(request, server.url(""));
    EXPECT_EQ(run(request, ServerCommand::SendFile, "deleted.jpg", "001_1_deleted.jpg", "obj1"),
              RequestState::Failed);
    EXPECT_EQ(server.connectionCount(), 0u);
}

}  // namespace
