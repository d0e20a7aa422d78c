#include "transfer/command_wait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <utility>

#include "http/raw_server.h"
#include "request_runner.h"
#include "support/temp_folder.h"

namespace {

using namespace std::chrono_literals;
using namespace transfer_testing;

// Holds the command's worker before its first step until the waiting caller has looked once, so that
// the look between two waits certainly happens however fast the loopback server answers.
class HeldUntilLooked {
  public:
    explicit HeldUntilLooked(ServerRequest& request) {
        request.SetStepObserver([released = released_] { released.wait_for(10s); });
    }
    void looked() {
        if (!std::exchange(looked_, true))
            release_.set_value();
    }

  private:
    std::promise<void> release_;
    std::shared_future<void> released_ = release_.get_future().share();
    bool looked_ = false;
};

TEST(CommandWait, RunsTheCommandToItsEndWithTheDisplayUpdatedBetweenLooks) {
    testing_support::TempFolder folder;
    testing_support::CurrentFolderScope inFolder(folder.path());
    http_testing::RawServer server({http_testing::replyWith(httpReply("OK"))});
    ServerRequest request;
    setUp(request, server.url());
    HeldUntilLooked held(request);
    BusyFlag busy;
    int looks = 0;
    bool busyMeanwhile = false;
    const RequestState state =
        runCommand(request, busy, {ServerCommand::TransEnd, "order.sno", "0815", "orders/1"}, 20ms, [&] {
            ++looks;
            busyMeanwhile = busy.isSet();
            held.looked();
        });
    EXPECT_EQ(state, RequestState::Ok);
    EXPECT_GE(looks, 1);
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_FALSE(busy.isSet());
    EXPECT_EQ(request.State(), RequestState::Idle);
}

TEST(CommandWait, ARoutineEnteredAgainFromItsOwnWaitFailsAtOnceAndTheFirstCallGoesOn) {
    testing_support::TempFolder folder;
    testing_support::CurrentFolderScope inFolder(folder.path());
    http_testing::RawServer server({http_testing::replyWith(httpReply("OK"))});
    ServerRequest request;
    setUp(request, server.url());
    HeldUntilLooked held(request);
    BusyFlag busy;
    RequestState nested = RequestState::Idle;
    const CommandCall call{ServerCommand::TransEnd, "order.sno", "0815", "orders/1"};
    const RequestState first = runCommand(request, busy, call, 20ms, [&] {
        if (nested == RequestState::Idle)
            nested = runCommand(request, busy, call, 20ms, {});
        held.looked();
    });
    EXPECT_EQ(nested, RequestState::Failed);
    EXPECT_EQ(first, RequestState::Ok);
    EXPECT_EQ(server.connectionCount(), 1u);
}

}  // namespace
