// Orders sent through connections that break: cut, reset, stalled and delayed at random points of the
// requests and replies. Whatever breaks, every photograph reaches the lab whole under its numbered
// name, each order is ended once, and nothing changes on the customer's computer.
#include <gtest/gtest.h>

#include <iostream>

#include "app/ui_texts.h"
#include "fault_scenario.h"
#include "in_process_lab.h"
#include "sending_window.h"
#include "standard_order.h"
#include "support/fault_proxy.h"
#include "text/cp1250.h"
#include "transfer/transfer_order.h"

namespace {

using namespace testing_support;
using transfer_testing::FaultOutcome;
using transfer_testing::FaultScenario;
using transfer_testing::InProcessLab;
using transfer_testing::SendingWindow;

TEST(BrokenConnections, TenOrdersArriveWholeAndEndedOnceWhateverBreaks) {
    FaultScenario scenario;
    scenario.orders = 10;
    scenario.firstSeed = 1700;
    scenario.odds = transfer_testing::usualFaultOdds();
    scenario.report = [](const std::string& line) { std::cout << line << "\n"; };
    const FaultOutcome outcome = transfer_testing::runFaultScenario(scenario);

    std::cout << outcome.summary() << " (" << outcome.connections << " connections, " << outcome.attempts
              << " sendings; " << outcome.faultKinds() << ")\n";
    for (const std::string& problem : outcome.problems)
        ADD_FAILURE() << problem;
    EXPECT_EQ(outcome.sent, 10);
    EXPECT_EQ(outcome.endedOnServer, 10) << "the lab ended as many orders as the client sent";
    EXPECT_EQ(outcome.lost, 0);
    EXPECT_EQ(outcome.corrupt, 0);
    EXPECT_EQ(outcome.endedTwice, 0);
    EXPECT_EQ(outcome.clientDamage, 0);
    EXPECT_EQ(outcome.leftovers, 0);
    // The seed breaks enough to prove something: more sendings than orders, and faults of the kinds
    // that are common enough to strike in every run (a stall, rarer, is scripted below).
    EXPECT_GE(outcome.faults, 20u);
    EXPECT_GT(outcome.cuts, 0u);
    EXPECT_GT(outcome.resets, 0u);
    EXPECT_GT(outcome.delays, 0u);
    EXPECT_GT(outcome.attempts, outcome.orders);
}

class LostReplies : public InProcessLab {
  protected:
    LostReplies() {
        transfer_testing::useStandardOrder(document_);
        temp_.write("photos/a.jpg", "the only photograph");
        EXPECT_EQ(document_.addEntry(temp_.path() + "/photos", "a.jpg"), AddEntryResult::Added);
        request_.SetTimeLimits({std::chrono::seconds(5), std::chrono::seconds(5)});
    }

    OrderDocument document_;
    SendingWindow window_;
};

// Connections of an order of one photograph: header picture, catalogue, params, the two documents,
// the photograph, the end.
constexpr std::size_t kEndConnection = 6;

TEST_F(LostReplies, AnEndWhoseReplyWasLostIsSentAgainAndTheOrderReachesTheLabOnce) {
    FaultProxy proxy(static_cast<std::uint16_t>(server_->port()),
                     FaultPlan::scripted({{kEndConnection, cutAfter(Stream::Reply, 10)},
                                          {kEndConnection + 1, resetAfter(Stream::Request, 50)}}));
    request_.SetServerUrl(proxy.url());
    TransferOrder transfer(document_, request_, window_,
                           TransferTimings{std::chrono::milliseconds(1), std::chrono::milliseconds(1)});
    transfer.Run(false);

    EXPECT_EQ(proxy.injected(), 2u);
    EXPECT_EQ(transfer.result(), TransferResult::Sent);
    EXPECT_EQ(window_.lastStatus(), "Objednávka byla v pořádku odeslána."_cz);
    EXPECT_TRUE(window_.saw("Chyba přenosu, za 10 sekund se pokusím znova..."_cz));
    // One order, closed once; the end that closed it and the repetition answered alike are counted.
    const auto orders = server_->orders();
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_TRUE(orders[0].closed());
    EXPECT_EQ(orders[0].ends, 2u);
}

TEST_F(LostReplies, AStalledUploadEndsAtTheNoProgressLimitAndIsSentAgainWhole) {
    // The photograph's upload stalls in its request, its repetition after the server stored it (in the
    // reply); the third passes.
    FaultProxy proxy(static_cast<std::uint16_t>(server_->port()),
                     FaultPlan::scripted({{kEndConnection - 1, stallAfter(Stream::Request, 300)},
                                          {kEndConnection, stallAfter(Stream::Reply, 5)}}));
    request_.SetServerUrl(proxy.url());
    request_.SetTimeLimits({std::chrono::seconds(5), std::chrono::milliseconds(1500)});
    TransferOrder transfer(document_, request_, window_,
                           TransferTimings{std::chrono::milliseconds(1), std::chrono::milliseconds(1)});
    transfer.Run(false);

    EXPECT_EQ(proxy.injected(FaultKind::Stall), 2u);
    EXPECT_EQ(transfer.result(), TransferResult::Sent);
    const auto orders = server_->orders();
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].ends, 1u);
    EXPECT_EQ(temp_.read("data/orders/" + orders[0].folderName + "/001_" + orders[0].id + "_a.jpg"),
              "the only photograph");
}

TEST_F(LostReplies, WithoutAutomaticResumeAFailedEndIsReportedAndNotRepeated) {
    FaultProxy proxy(static_cast<std::uint16_t>(server_->port()),
                     FaultPlan::scripted({{kEndConnection, cutAfter(Stream::Reply, 10)}}));
    request_.SetServerUrl(proxy.url());
    window_.autoResume = false;
    TransferOrder transfer(document_, request_, window_,
                           TransferTimings{std::chrono::milliseconds(1), std::chrono::milliseconds(1)});
    transfer.Run(false);

    EXPECT_EQ(transfer.result(), TransferResult::EndFailed);
    EXPECT_EQ(window_.lastStatus(), "Nepodařilo se ukončit objednávku."_cz);
    EXPECT_TRUE(window_.questions.empty());
    EXPECT_EQ(proxy.connections(), kEndConnection + 1);
    ASSERT_EQ(server_->orders().size(), 1u);
    EXPECT_EQ(server_->orders()[0].ends, 1u);
}

TEST_F(LostReplies, AnEndThatNeverGetsThroughStopsAfterItsRetries) {
    FaultPlan plan;
    for (std::size_t connection = kEndConnection; connection <= kEndConnection + TransferOrder::kEndRetries;
         ++connection)
        plan.set(connection, resetAfter(Stream::Request, 20));
    FaultProxy proxy(static_cast<std::uint16_t>(server_->port()), plan);
    request_.SetServerUrl(proxy.url());
    TransferOrder transfer(document_, request_, window_,
                           TransferTimings{std::chrono::milliseconds(1), std::chrono::milliseconds(1)});
    transfer.Run(false);

    EXPECT_EQ(transfer.result(), TransferResult::EndFailed);
    EXPECT_EQ(transfer.state(), SendDialogState::Finished);
    EXPECT_EQ(proxy.connections(), kEndConnection + 1 + TransferOrder::kEndRetries);
    ASSERT_EQ(server_->orders().size(), 1u);
    EXPECT_FALSE(server_->orders()[0].closed());
}

}  // namespace
