// Commands stalled on a silent server, with the default time limits of 60 s: a cancel reaches the
// stalled step at once, and neither the next Start nor the end of the request waits for a stalled
// worker. Every wait below is a bounded loop of looks far shorter than the limits, so a cancel that did
// not reach the step, or a call that waited for the worker, fails the test instead of passing slowly.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include "http/raw_server.h"
#include "request_runner.h"
#include "support/temp_folder.h"

namespace {

using http_testing::ConnectionScript;
using http_testing::RawServer;
using namespace transfer_testing;
using namespace std::chrono_literals;

// Far below the 60 s limits: a command still waiting after this many one-second looks was not stopped.
constexpr int kLooks = 20;

RequestState awaitWithinLooks(const ServerRequest& request) {
    for (int look = 0; look < kLooks; ++look) {
        if (const RequestState state = request.AwaitFinal(1s); isFinal(state))
            return state;
    }
    return request.State();
}

// A server that reads the whole request, sends the first line of a reply and then says nothing more.
ConnectionScript silentAfterTheRequest() {
    ConnectionScript script = http_testing::replyWith("HTTP/1.1 200 OK\r\n");
    script.action = ConnectionScript::Action::ReplyAndHold;
    return script;
}

// Until the server holds the whole body of a request that ends with `tail`.
bool awaitWholeRequest(RawServer& server, std::size_t index, const std::string& tail) {
    return server.waitFor(index, [&tail](const std::string& bytes) {
        return bytes.size() >= tail.size() &&
               bytes.compare(bytes.size() - tail.size(), tail.size(), tail) == 0;
    });
}

// Holds a worker in its first step until the test lets it go, and tells whether it was let go or gave
// up after its own bound (which only a call that waited for the worker would make it do).
class HeldStep {
  public:
    std::function<void()> observer() {
        return [shared = shared_] {
            if (shared->entered.exchange(true))
                return;
            shared->reached.set_value();
            if (shared->released.wait_for(10s) != std::future_status::ready)
                shared->gaveUp.store(true);
        };
    }
    void awaitReached() { reached_.wait(); }
    void release() { shared_->release.set_value(); }
    bool gaveUp() const { return shared_->gaveUp.load(); }

  private:
    // Shared with the worker's copy of the observer, which may outlive the test's object.
    struct Shared {
        std::atomic<bool> entered{false};
        std::atomic<bool> gaveUp{false};
        std::promise<void> reached;
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
    };
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    std::future<void> reached_ = shared_->reached.get_future();
};

class StalledCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_.write("photo.jpg", std::string(200 * 1024, 'p'));
        request_ = std::make_unique<ServerRequest>();
        request_->SetCredentials("demo", "secret");
        request_->SetTimeLimits(Tarvo::TimeLimits{});  // the default 60 s for connecting and for a stall
    }

    testing_support::TempFolder folder_;
    testing_support::CurrentFolderScope inFolder_{folder_.path()};
    std::unique_ptr<ServerRequest> request_;
};

TEST_F(StalledCommand, CancelEndsAnUploadWhoseServerStoppedAnsweringAtOnce) {
    RawServer server({silentAfterTheRequest(), ConnectionScript{}});
    request_->SetServerUrl(server.url(""));
    ASSERT_EQ(request_->Prepare("photo.jpg", "001_1_photo.jpg", "obj1"), 0);
    request_->Start(ServerCommand::SendFile);
    // The whole photograph is on the server; the worker now waits inside its last step for a reply
    // that does not come.
    ASSERT_TRUE(awaitWholeRequest(server, 0, "--\r\n"));
    EXPECT_EQ(request_->State(), RequestState::Running);

    request_->RequestCancel();
    EXPECT_EQ(awaitWithinLooks(*request_), RequestState::Cancelled);
    EXPECT_TRUE(server.awaitEnd(0));  // the worker closed its connection

    // The request is ready for the next command at once.
    request_->Reset();
    EXPECT_EQ(run(*request_, ServerCommand::SendFile, "photo.jpg", "001_1_photo.jpg", "obj1"),
              RequestState::Ok);
}

TEST_F(StalledCommand, CancelEndsAnUploadTheServerStoppedReading) {
    folder_.write("big.jpg", std::string(16 * 1024 * 1024, 'b'));
    RawServer server({http_testing::readThenHold(64 * 1024)}, 4096);
    request_->SetServerUrl(server.url(""));
    ASSERT_EQ(request_->Prepare("big.jpg", "001_1_big.jpg", "obj1"), 0);
    request_->Start(ServerCommand::SendFile);
    ASSERT_TRUE(server.waitFor(0, [](const std::string& bytes) { return bytes.size() >= 64 * 1024; }));

    // Whether the flag meets the worker between two steps or inside the write that the full buffers
    // hold up, the upload ends Cancelled.
    request_->RequestCancel();
    EXPECT_EQ(awaitWithinLooks(*request_), RequestState::Cancelled);
    EXPECT_LT(request_->Posted(), request_->Total());
}

TEST_F(StalledCommand, CancelEndsADownloadWhoseReplyStalls) {
    // The reply announces ten bytes and sends two.
    ConnectionScript script =
        http_testing::replyWith("HTTP/1.1 200 OK\r\nContent-Length: 10\r\nConnection: close\r\n\r\nab");
    script.action = ConnectionScript::Action::ReplyAndHold;
    RawServer server({script});
    request_->SetServerUrl(server.url(""));
    ASSERT_EQ(request_->Prepare("params.dnl", "params", ""), 0);
    request_->Start(ServerCommand::GetFile);
    ASSERT_TRUE(awaitWholeRequest(server, 0, "pass=secret"));

    request_->RequestCancel();
    EXPECT_EQ(awaitWithinLooks(*request_), RequestState::Cancelled);
    EXPECT_FALSE(folder_.exists("params.dnl"));  // no part of a download is left
}

TEST_F(StalledCommand, TheNextStartReturnsAtOnceAndTheOldResultNeverReachesIt) {
    RawServer server({ConnectionScript{}, ConnectionScript{}});
    request_->SetServerUrl(server.url(""));
    HeldStep held;
    request_->SetStepObserver(held.observer());
    ASSERT_EQ(request_->Prepare("order.sno", "100001", "obj100001"), 0);
    request_->Start(ServerCommand::TransEnd);
    held.awaitReached();

    // The user gives up on the held command and starts another one.
    request_->Reset();
    request_->SetStepObserver({});
    ASSERT_EQ(request_->Prepare("order.sno", "100002", "obj100002"), 0);
    request_->Start(ServerCommand::TransEnd);
    // The new command waits for the old worker to end before it sends anything.
    EXPECT_EQ(request_->State(), RequestState::Prepared);
    held.release();
    EXPECT_FALSE(held.gaveUp());  // Start did not wait for the held worker

    // The old command, stopped by the Reset, ends Cancelled in its own channel; the new one sees its
    // own reply only.
    EXPECT_EQ(awaitWithinLooks(*request_), RequestState::Ok);
    EXPECT_EQ(http_testing::bodyOf(server.received(0)), "");
    EXPECT_EQ(http_testing::bodyOf(server.received(1)),
              "login=demo&pass=secret&targetfile=100002&transend=obj100002");
}

TEST_F(StalledCommand, ANewCommandAfterAStalledOneThatWasLeftBehindRunsAtOnce) {
    RawServer server({silentAfterTheRequest(), ConnectionScript{}});
    request_->SetServerUrl(server.url(""));
    ASSERT_EQ(request_->Prepare("order.sno", "100001", "obj100001"), 0);
    request_->Start(ServerCommand::TransEnd);
    ASSERT_TRUE(awaitWholeRequest(server, 0, "transend=obj100001"));

    // Left behind without a cancel: the Reset stops it, so the next command does not wait the 60 s.
    request_->Reset();
    ASSERT_EQ(request_->Prepare("order.sno", "100002", "obj100002"), 0);
    request_->Start(ServerCommand::TransEnd);
    EXPECT_EQ(awaitWithinLooks(*request_), RequestState::Ok);
    EXPECT_TRUE(server.awaitEnd(0));
}

TEST_F(StalledCommand, DestroyingTheRequestReturnsAtOnceAndStopsTheWorker) {
    {
        RawServer server;
        request_->SetServerUrl(server.url(""));
        HeldStep held;
        request_->SetStepObserver(held.observer());
        ASSERT_EQ(request_->Prepare("order.sno", "100001", "obj100001"), 0);
        request_->Start(ServerCommand::TransEnd);
        held.awaitReached();
        request_.reset();
        held.release();
        EXPECT_FALSE(held.gaveUp());  // the destructor did not wait for the held worker
        EXPECT_TRUE(server.awaitEnd(0));
        EXPECT_EQ(http_testing::bodyOf(server.received(0)), "");  // stopped before its first step
    }
    {
        RawServer server({silentAfterTheRequest()});
        request_ = std::make_unique<ServerRequest>();
        request_->SetServerUrl(server.url(""));
        request_->SetCredentials("demo", "secret");
        ASSERT_EQ(request_->Prepare("photo.jpg", "001_1_photo.jpg", "obj1"), 0);
        request_->Start(ServerCommand::SendFile);
        ASSERT_TRUE(awaitWholeRequest(server, 0, "--\r\n"));
        request_.reset();
        EXPECT_TRUE(server.awaitEnd(0));  // the stalled worker closed its connection well before 60 s
    }
}

}  // namespace
