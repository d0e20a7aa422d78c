// The life of one command: Prepare, the worker, the final state, Reset; and the cancel flag.
#include <gtest/gtest.h>

#include <future>

#include "http/raw_server.h"
#include "request_runner.h"
#include "support/temp_folder.h"

namespace {

using http_testing::RawServer;
using namespace transfer_testing;

// Holds the worker inside its step number `step` (1-based) until the test lets it go.
class StepGate {
  public:
    explicit StepGate(int step) : step_(step) {}
    std::function<void()> observer() {
        return [this] {
            if (++steps_ == step_) {
                reached_.set_value();
                release_.get_future().wait();
            }
        };
    }
    void awaitReached() { reached_.get_future().wait(); }
    void release() { release_.set_value(); }
    int steps() const { return steps_; }

  private:
    int step_;
    int steps_ = 0;  // touched by the worker only, read by the test after the command ended
    std::promise<void> reached_;
    std::promise<void> release_;
};

TEST(RequestLifecycle, PrepareIsRefusedWhileACommandRunsAndUntilReset) {
    testing_support::TempFolder folder;
    testing_support::CurrentFolderScope inFolder(folder.path());
    RawServer server;
    ServerRequest request;
    setUp(request, server.url(""));
    EXPECT_EQ(request.State(), RequestState::Idle);

    StepGate gate(1);
    request.SetStepObserver(gate.observer());
    ASSERT_EQ(request.Prepare("order.sno", "100001", "obj100001"), 0);
    EXPECT_EQ(request.State(), RequestState::Prepared);
    EXPECT_EQ(request.Prepare("order.sno", "999", "obj999"), 1);  // prepared, not yet running
    request.Start(ServerCommand::TransEnd);

    gate.awaitReached();
    EXPECT_EQ(request.State(), RequestState::Running);
    EXPECT_EQ(request.AwaitFinal(std::chrono::milliseconds(0)), RequestState::Running);
    EXPECT_EQ(request.Prepare("order.sno", "999", "obj999"), 1);
    EXPECT_EQ(request.State(), RequestState::Running);
    gate.release();

    EXPECT_EQ(awaitFinal(request), RequestState::Ok);
    EXPECT_EQ(request.Prepare("order.sno", "999", "obj999"), 1);
    EXPECT_EQ(request.State(), RequestState::Ok);
    EXPECT_EQ(http_testing::bodyOf(server.received(0)),
              "login=demo&pass=secret&targetfile=100001&transend=obj100001");

    request.Reset();
    EXPECT_EQ(request.State(), RequestState::Idle);
    request.SetStepObserver({});
    EXPECT_EQ(run(request, ServerCommand::TransEnd, "order.sno", "999", "obj999"), RequestState::Ok);
}

TEST(RequestLifecycle, AStartWithoutPrepareEndsNotPreparedAndSendsNothing) {
    RawServer server;
    ServerRequest request;
    setUp(request, server.url(""));
    request.Start(ServerCommand::GetPrice);
    EXPECT_EQ(awaitFinal(request), RequestState::NotPrepared);
    EXPECT_EQ(request.Prepare("2.0.24.3", "1", "1"), 1);
    request.Reset();
    EXPECT_EQ(request.Prepare("2.0.24.3", "1", "1"), 0);
    EXPECT_EQ(server.connectionCount(), 0u);
}

TEST(RequestLifecycle, CancelEndsTheUploadBeforeItsNextStep) {
    testing_support::TempFolder folder;
    testing_support::CurrentFolderScope inFolder(folder.path());
    folder.write("big.jpg", std::string(300 * 1024, 'p'));
    RawServer server({http_testing::ConnectionScript{.keepBytes = false}});
    ServerRequest request;
    setUp(request, server.url(""));

    constexpr int kCancelStep = 100;  // well inside the file's 300 steps
    StepGate gate(kCancelStep);
    request.SetStepObserver(gate.observer());
    ASSERT_EQ(request.Prepare("big.jpg", "001_1_big.jpg", "obj1"), 0);
    request.Start(ServerCommand::SendFile);
    gate.awaitReached();
    const std::uint32_t postedAtCancel = request.Posted();
    request.RequestCancel();  // from this thread, as the user's Storno does
    gate.release();

    EXPECT_EQ(awaitFinal(request), RequestState::Cancelled);
    EXPECT_EQ(gate.steps(), kCancelStep);  // no step after the one that saw the flag
    EXPECT_EQ(request.Posted(), postedAtCancel);
    EXPECT_GT(postedAtCancel, 90u * 1024);
    EXPECT_LT(postedAtCancel, request.Total());
    EXPECT_EQ(request.Percent(),
              static_cast<std::int32_t>(static_cast<double>(postedAtCancel) / request.Total() * 100.0));

    // The next command starts with the flag cleared by Prepare.
    request.Reset();
    request.SetStepObserver({});
    EXPECT_EQ(run(request, ServerCommand::SendFile, "big.jpg", "001_1_big.jpg", "obj1"), RequestState::Ok);
}

}  // namespace
