// Sending an order to the lab server running in-process, through a recording window with a virtual
// clock: what reaches the server under which names, pause, cancel, automatic resume, the questions,
// and each early stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/ui_texts.h"
#include "in_process_lab.h"
#include "platform/path.h"
#include "sending_window.h"
#include "standard_order.h"
#ifndef _WIN32
#include "support/fault_proxy.h"
#endif
#include "text/cp1250.h"
#include "transfer/transfer_order.h"

namespace {

using transfer_testing::DuringUpload;
using transfer_testing::InProcessLab;
using transfer_testing::SendingWindow;
namespace fs = std::filesystem;

constexpr std::string_view kSent = "Objednávka byla v pořádku odeslána."_cz;
constexpr std::string_view kCancelledOrder = "Objednávka byla stornována před dokončením."_cz;

std::string bytesOf(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xff);
    return bytes;
}

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TransferOrderTest : public InProcessLab {
  protected:
    TransferOrderTest() {
        request_.SetTimeLimits({std::chrono::seconds(10), std::chrono::seconds(10)});
        transfer_testing::useStandardOrder(document_);
    }

    // A photograph of `size` bytes in the photographs' folder, ordered once more.
    std::string order(const std::string& name, std::size_t size = 3000) {
        const std::string path = platform::joinPath(photos(), name);  // as the order names it
        if (!fs::exists(path))
            temp_.write("photos/" + name,
                        bytesOf(size, static_cast<unsigned>(std::hash<std::string>{}(name))));
        EXPECT_EQ(document_.addEntry(photos(), name), AddEntryResult::Added);
        return path;
    }
    std::string photos() const { return temp_.path() + "/photos"; }

    void tickProduct(std::int32_t id) { document_.params().products[0] = {1, id, "Fotografie", "foto", 1}; }

    void run(bool saveToDisk = false) { transfer_.Run(saveToDisk); }

    // The server's folder of the only order handed out.
    fs::path orderFolder() {
        const auto orders = server_->orders();
        EXPECT_EQ(orders.size(), 1u);
        return orders.empty() ? fs::path() : data_ / "orders" / orders.front().folderName;
    }
    std::string orderId() {
        const auto orders = server_->orders();
        return orders.empty() ? std::string() : orders.front().id;
    }
    // The files the server holds for the order, its records left out.
    std::set<std::string> filesOnServer() {
        std::set<std::string> names;
        const fs::path folder = orderFolder();
        if (folder.empty() || !fs::exists(folder))
            return names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name[0] != '.')
                names.insert(name);
        }
        return names;
    }
    // The commands of the log that changed the order, as "sendfile <name>" or "onlycopy <from> <to>".
    // Stops the server first: it logs a request once its reply is out, and stopping waits for that.
    std::vector<std::string> uploads() {
        server_->stop();
        std::vector<std::string> found;
        for (const std::string& line : logLines()) {
            for (std::string_view command : {" sendfile ", " onlycopy "}) {
                const auto at = line.find(command);
                if (at == std::string::npos)
                    continue;
                const auto end = line.find(" [", at);
                std::string rest = line.substr(at + 1, end - at - 1);
                // Drop the server folder after the command word.
                const auto first = rest.find(' ');
                const auto second = rest.find(' ', first + 1);
                found.push_back(rest.substr(0, first) + rest.substr(second));
            }
        }
        return found;
    }
    std::string sendingStatus(const std::string& path) { return formatUiText(ui_format::SendingFile, path); }

    OrderDocument document_;
    SendingWindow window_;
    TransferOrder transfer_{document_, request_, window_,
                            TransferTimings{std::chrono::milliseconds(1), std::chrono::milliseconds(1)}};
};

TEST_F(TransferOrderTest, APhotographOrderedThreeTimesIsUploadedOnceAndCopiedTwiceUnderNumberedNames) {
    const std::string a = order("a.jpg", 70000);
    order("a.jpg");
    const std::string b = order("b.jpg");
    order("a.jpg");
    run();

    EXPECT_EQ(transfer_.result(), TransferResult::Sent);
    EXPECT_EQ(transfer_.outcome(), SendingOutcome::Sent);
    EXPECT_EQ(transfer_.state(), SendDialogState::Finished);
    EXPECT_EQ(window_.lastStatus(), kSent);
    EXPECT_TRUE(window_.finishedShown);
    EXPECT_EQ(window_.closed, 0);
    EXPECT_TRUE(window_.warnings.empty());
    EXPECT_TRUE(window_.questions.empty()) << "no product needs a price";
    const std::string id = orderId();
    EXPECT_EQ(uploads(),
              (std::vector<std::string>{
                  "sendfile 000_" + id + ".lace", "sendfile 000_" + id + ".snf",
                  "sendfile 001_" + id + "_a.jpg", "onlycopy 001_" + id + "_a.jpg 002_" + id + "_a.jpg",
                  "sendfile 003_" + id + "_b.jpg", "onlycopy 001_" + id + "_a.jpg 004_" + id + "_a.jpg"}));
    EXPECT_EQ(filesOnServer(), (std::set<std::string>{"000_" + id + ".lace", "000_" + id + ".snf",
                                                      "001_" + id + "_a.jpg", "002_" + id + "_a.jpg",
                                                      "003_" + id + "_b.jpg", "004_" + id + "_a.jpg"}));
    for (const char* number : {"001_", "002_", "004_"})
        EXPECT_EQ(readWhole(orderFolder() / (number + id + "_a.jpg")), readWhole(a)) << number;
    EXPECT_EQ(readWhole(orderFolder() / ("003_" + id + "_b.jpg")), readWhole(b));
    EXPECT_EQ(server_->orders().front().ends, 1u);
    // The overall progress counts the photographs; the identity came from the server.
    EXPECT_EQ(window_.overallText, "100% (4/4 souborů)"_cz);
    EXPECT_EQ(window_.overallBar, 100);
    EXPECT_EQ(document_.identity().orderId, id);
    EXPECT_EQ(document_.identity().customerId, "1001");
    // The working copies and params.sno are gone; the computer was kept awake for the upload only.
    for (const char* name : {"obj.snf", "obj.lace", "params.sno"})
        EXPECT_FALSE(fs::exists(local(name))) << name;
    EXPECT_EQ(window_.keepAwakeBegins, 1);
    EXPECT_EQ(window_.keepAwakeDepth, 0);
    // The only pause on the clock is the half second before the photographs.
    EXPECT_EQ(window_.now, 500);
    // The photographs' stage: the check boxes shown, the login hidden, pause and Storno usable; at the
    // end Send and Save to disk are gone.
    EXPECT_TRUE(window_.visible[SendControl::Pause]);
    EXPECT_TRUE(window_.visible[SendControl::AutoResume]);
    EXPECT_FALSE(window_.visible[SendControl::Login]);
    EXPECT_FALSE(window_.visible[SendControl::PasswordLabel]);
    EXPECT_TRUE(window_.enabled[SendControl::Pause]);
    EXPECT_TRUE(window_.enabled[SendControl::Storno]);
    EXPECT_FALSE(window_.visible[SendControl::Send]);
    EXPECT_FALSE(window_.visible[SendControl::SaveToDisk]);
}

TEST_F(TransferOrderTest, PauseDuringAnUploadLetsItFinishAndHoldsTheNext) {
    order("a.jpg");
    const std::string b = order("b.jpg", 50000);
    const std::string c = order("c.jpg");
    DuringUpload during(request_, window_);
    during.arm(sendingStatus(b), [this] { transfer_.SetPause(true); });
    std::int64_t pausedAt = -1;
    std::set<std::string> whilePaused;
    window_.onPump = [&] {
        if (!transfer_.paused())
            return;
        if (pausedAt < 0 && window_.lastStatus() == uiText(UiText::SendingPaused))
            pausedAt = window_.now;
        if (pausedAt >= 0 && window_.now - pausedAt >= 5000) {
            whilePaused = filesOnServer();
            transfer_.SetPause(false);
        }
    };
    run();

    ASSERT_TRUE(during.fired());
    EXPECT_EQ(transfer_.result(), TransferResult::Sent);
    const std::string id = orderId();
    EXPECT_TRUE(whilePaused.count("002_" + id + "_b.jpg")) << "the upload under way finished";
    EXPECT_FALSE(whilePaused.count("003_" + id + "_c.jpg")) << "the next waited";
    EXPECT_EQ(filesOnServer().count("003_" + id + "_c.jpg"), 1u);
    // The pause is told once, between b's OK and c's upload.
    std::vector<std::string> after;
    bool seenB = false;
    for (const std::string& status : window_.statuses) {
        seenB = seenB || status == sendingStatus(b);
        if (seenB)
            after.push_back(status);
    }
    ASSERT_GE(after.size(), 4u);
    EXPECT_EQ(after[1], "OK");
    EXPECT_EQ(after[2], uiText(UiText::SendingPaused));
    EXPECT_EQ(after[3], sendingStatus(c));
}

TEST_F(TransferOrderTest, CancelDuringAnUploadStopsItClosesTheDialogAndLeavesTheOrderOpen) {
    order("a.jpg");
    const std::string b = order("b.jpg", 200000);
    order("c.jpg");
    DuringUpload during(request_, window_);
    during.arm(sendingStatus(b), [this] { transfer_.ConfirmCancel(); });
    run();

    ASSERT_TRUE(during.fired());
    EXPECT_EQ(transfer_.result(), TransferResult::UploadCancelled);
    EXPECT_EQ(transfer_.outcome(), SendingOutcome::Nothing);
    EXPECT_EQ(transfer_.state(), SendDialogState::Ready);
    EXPECT_TRUE(window_.saw("Ukončuji přenos souborů objednávky..."_cz));
    EXPECT_EQ(window_.lastStatus(), uiText(UiText::CancelledByUser));
    EXPECT_EQ(window_.closed, 1);
    const std::string id = orderId();
    EXPECT_EQ(filesOnServer(),
              (std::set<std::string>{"000_" + id + ".lace", "000_" + id + ".snf", "001_" + id + "_a.jpg"}));
    EXPECT_FALSE(server_->orders().front().closed());
    EXPECT_EQ(window_.keepAwakeDepth, 0);
}

TEST_F(TransferOrderTest, CancelBetweenPhotographsEndsTheOrderAsCancelled) {
    order("a.jpg");
    order("b.jpg");
    window_.onStatus = [this](std::string_view status) {
        if (status == "OK")
            transfer_.ConfirmCancel();
    };
    run();

    EXPECT_EQ(transfer_.result(), TransferResult::CancelledOrder);
    EXPECT_EQ(transfer_.outcome(), SendingOutcome::Nothing);
    EXPECT_EQ(transfer_.state(), SendDialogState::Finished);
    EXPECT_EQ(window_.lastStatus(), kCancelledOrder);
    EXPECT_EQ(window_.closed, 0);
    const std::string id = orderId();
    EXPECT_EQ(filesOnServer().count("002_" + id + "_b.jpg"), 0u);
    EXPECT_TRUE(server_->orders().front().closed());
    EXPECT_FALSE(fs::exists(local("params.sno")));
}

TEST_F(TransferOrderTest, CancelWhilePausedTakesEffectAtOnce) {
    order("a.jpg");
    order("b.jpg");
    window_.onStatus = [this](std::string_view status) {
        if (status == "OK")
            transfer_.SetPause(true);
    };
    window_.onPump = [this] {
        if (transfer_.paused() && window_.now >= 3000 && transfer_.state() == SendDialogState::Sending)
            transfer_.ConfirmCancel();
    };
    run();

    EXPECT_EQ(transfer_.result(), TransferResult::CancelledOrder);
    EXPECT_EQ(window_.lastStatus(), kCancelledOrder);
    const std::string id = orderId();
    EXPECT_EQ(filesOnServer().count("002_" + id + "_b.jpg"), 0u) << "nothing more was sent";
    EXPECT_TRUE(server_->orders().front().closed());
    EXPECT_LT(window_.now, 10000) << "the pause was left at the cancel, not after it";
}

TEST_F(TransferOrderTest, AutomaticResumeCountsDownAndRetriesUntilTheServerIsBack) {
    const std::string a = order("a.jpg", 20000);
    const std::string b = order("b.jpg", 30000);
    const std::string c = order("c.jpg");
    const int port = server_->port();
    // The server goes away after the first photograph and is back while the second countdown runs.
    bool stopped = false;
    int countdowns = 0;
    window_.onStatus = [&](std::string_view status) {
        if (status == "OK" && !stopped) {
            stopped = true;
            server_->stop();
        }
        if (status == "Chyba přenosu, za 10 sekund se pokusím znova..."_cz && ++countdowns == 2) {
            EXPECT_TRUE(server_->start(port));
        }
    };
    run();

    EXPECT_EQ(transfer_.result(), TransferResult::Sent);
    EXPECT_EQ(window_.lastStatus(), kSent);
    // Each countdown runs from 10 to 0, a second apart on the clock, and the same photograph follows.
    std::vector<std::string> shown;
    for (const std::string& status : window_.statuses) {
        if (shown.empty() || shown.back() != status)
            shown.push_back(status);
    }
    std::vector<std::string> countdown;
    for (int seconds = 10; seconds >= 0; --seconds)
        countdown.push_back(text::format("Chyba přenosu, za %d sekund se pokusím znova..."_cz, seconds));
    const auto first = std::search(shown.begin(), shown.end(), countdown.begin(), countdown.end());
    ASSERT_NE(first, shown.end());
    EXPECT_EQ(*(first + 11), sendingStatus(b));
    const auto second = std::search(first + 11, shown.end(), countdown.begin(), countdown.end());
    ASSERT_NE(second, shown.end());
    EXPECT_EQ(*(second + 11), sendingStatus(b));
    EXPECT_GE(window_.now, 2 * 10000);
    EXPECT_TRUE(window_.questions.empty());
    // Every photograph is on the server, byte for byte.
    const std::string id = orderId();
    EXPECT_EQ(readWhole(orderFolder() / ("001_" + id + "_a.jpg")), readWhole(a));
    EXPECT_EQ(readWhole(orderFolder() / ("002_" + id + "_b.jpg")), readWhole(b));
    EXPECT_EQ(readWhole(orderFolder() / ("003_" + id + "_c.jpg")), readWhole(c));
    EXPECT_EQ(server_->orders().front().ends, 1u);
}

TEST_F(TransferOrderTest, WithoutAutomaticResumeAFailureAsksAndNoStops) {
    order("a.jpg");
    order("b.jpg");
    window_.autoResume = false;
    window_.answers = {true, false};
    window_.onStatus = [this](std::string_view status) {
        if (status == "OK")
            server_->stop();
    };
    run();

    EXPECT_EQ(transfer_.result(), TransferResult::PhotoFailed);
    ASSERT_EQ(window_.questions.size(), 2u);
    EXPECT_EQ(window_.questions[0].text, uiText(UiText::UploadFailedRetry));
    EXPECT_TRUE(window_.saw("Chyba přenosu."_cz));
    EXPECT_EQ(window_.closed, 1);
    EXPECT_EQ(transfer_.outcome(), SendingOutcome::Nothing);
}

TEST_F(TransferOrderTest, ShortCredentialsDoNotStartButSaveToDiskWithCashNeedsNone) {
    order("a.jpg");
    window_.login = "abc";
    window_.password = "de";
    run();
    EXPECT_EQ(transfer_.result(), TransferResult::CredentialsTooShort);
    EXPECT_EQ(window_.warnings, std::vector<std::string>{uiText(UiText::CredentialsTooShort)});
    EXPECT_EQ(window_.focused, SendControl::Login);
    EXPECT_EQ(transfer_.state(), SendDialogState::Ready);
    EXPECT_EQ(window_.closed, 0);
    EXPECT_TRUE(logLines().empty()) << "nothing was asked of the server";

    // Paid in cash at the shop, Save to disk goes on without a login and gets an anonymous order.
    window_.login.clear();
    window_.password.clear();
    document_.params().paymentAbbrev = "hot";
    window_.saveToDisk = [this] {
        EXPECT_TRUE(fs::exists(local("obj.snf")));
        EXPECT_TRUE(fs::exists(local("obj.lace")));
        EXPECT_FALSE(document_.identity().orderId.empty());
        return true;
    };
    run(true);
    EXPECT_EQ(window_.saveToDiskCalls, 1);
    EXPECT_EQ(transfer_.result(), TransferResult::SavedToDisk);
    EXPECT_EQ(transfer_.outcome(), SendingOutcome::SavedToDisk);
    EXPECT_EQ(transfer_.state(), SendDialogState::Finished);
    EXPECT_EQ(window_.closed, 1);
    EXPECT_EQ(document_.identity().customerId, "0");
    EXPECT_TRUE(uploads().empty()) << "nothing is uploaded for Save to disk";
}

TEST_F(TransferOrderTest, SaveToDiskThatSavedNothingReportsNothing) {
    order("a.jpg");
    run(true);
    EXPECT_EQ(window_.saveToDiskCalls, 1);
    EXPECT_EQ(transfer_.result(), TransferResult::NotSavedToDisk);
    EXPECT_EQ(transfer_.outcome(), SendingOutcome::Nothing);
    EXPECT_EQ(window_.closed, 1);
}

TEST_F(TransferOrderTest, ThePriceIsAskedOnlyForPricedProductsAndOutsidePhotobooks) {
    struct Row {
        const char* name;
        std::int32_t product;  // 0: none ticked
        bool photobook;
        bool asked;
    };
    const Row rows[] = {
        {"no product", 0, false, false},
        {"archiving only", 2, false, false},
        {"prints", 1, false, true},
        {"photobook", 1, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OrderDocument document;
        document.setCurrentPhoto(document_.currentPhoto());
        document.setParams(document_.params());
        if (row.product != 0)
            document.params().products[0] = {1, row.product, "Fotografie", "foto", 1};
        temp_.write("photos/a.jpg", "photo");
        ASSERT_EQ(document.addEntry(photos(), "a.jpg"), AddEntryResult::Added);
        SendingWindow window;
        window.photobook = row.photobook;
        window.answers = {true};
        TransferOrder transfer(document, request_, window);
        transfer.Run(false);
        EXPECT_EQ(transfer.result(), TransferResult::Sent);
        EXPECT_EQ(window.questions.size(), row.asked ? 1u : 0u);
        if (row.asked) {
            // The demo price list: one print of format 2 for 5,90.
            EXPECT_EQ(window.questions[0].text,
                      "Předpokládaná cena objednávky je 5,90.\r\nChcete pokračovat v objednávce?"_cz);
            EXPECT_EQ(window.questions[0].caption, "Cena objednávky"_cz);
            EXPECT_TRUE(window.saw("Zjišťuji cenu objednávky..."_cz));
        }
    }
}

TEST_F(TransferOrderTest, TheWindowsKeepTheirEventsWhileThePriceAndTheEndOfTheOrderAreAwaited) {
    order("a.jpg");
    tickProduct(1);
    window_.answers = {true};
    for (std::string_view status : {"Zjišťuji cenu objednávky..."_cz, "Ukončuji objednávku..."_cz}) {
        SCOPED_TRACE(status);
        DuringUpload during(request_, window_);
        bool keptAwake = false;
        during.arm(std::string(status), [&] { keptAwake = window_.keepAwakeDepth > 0; });
        window_.statuses.clear();
        TransferOrder transfer(document_, request_, window_,
                               TransferTimings{std::chrono::milliseconds(1), std::chrono::milliseconds(1)});
        transfer.Run(false);
        EXPECT_EQ(transfer.result(), TransferResult::Sent);
        // The action ran from the window's event dispatching while the command was held.
        EXPECT_TRUE(during.fired());
        EXPECT_EQ(keptAwake, status != "Zjišťuji cenu objednávky..."_cz);
        window_.answers = {true};
    }
}

TEST_F(TransferOrderTest, ADeclinedPriceStopsBeforeAnyPhotograph) {
    order("a.jpg");
    tickProduct(1);
    window_.answers = {false};
    run();
    EXPECT_EQ(transfer_.result(), TransferResult::PriceDeclined);
    EXPECT_EQ(window_.closed, 1);
    EXPECT_EQ(transfer_.state(), SendDialogState::Ready);
    const std::string id = orderId();
    EXPECT_EQ(filesOnServer(), (std::set<std::string>{"000_" + id + ".lace", "000_" + id + ".snf"}));
    EXPECT_FALSE(server_->orders().front().closed());
    EXPECT_EQ(window_.keepAwakeDepth, 0);
}

TEST_F(TransferOrderTest, ARefusedLoginKeepsTheFieldsUsableAndTheHeaderPicture) {
    order("a.jpg");
    temp_.write("work/hlavicka.jpg", "the lab's picture");
    window_.password = "wrong";
    run();
    EXPECT_EQ(transfer_.result(), TransferResult::LoginRefused);
    EXPECT_EQ(window_.warnings, std::vector<std::string>{uiText(UiText::CredentialsInvalid)});
    EXPECT_EQ(window_.lastStatus(), "Zkuste zadat přihlašovací údaje znovu."_cz);
    for (SendControl control :
         {SendControl::Login, SendControl::Password, SendControl::Send, SendControl::SaveToDisk})
        EXPECT_TRUE(window_.enabled[control]);
    EXPECT_FALSE(window_.enabled[SendControl::Storno]);
    EXPECT_EQ(transfer_.state(), SendDialogState::Ready);
    EXPECT_EQ(window_.closed, 0);
    EXPECT_EQ(temp_.read("work/hlavicka.jpg"), "the lab's picture");
    EXPECT_TRUE(server_->orders().empty());
}

TEST_F(TransferOrderTest, AMissingPhotographStopsWithItsNameInsteadOfRetrying) {
    order("a.jpg");
    const std::string b = order("b.jpg");
    fs::remove(b);
    run();
    EXPECT_EQ(transfer_.result(), TransferResult::PhotoUnreadable);
    ASSERT_EQ(window_.warnings.size(), 1u);
    EXPECT_NE(window_.warnings[0].find(b), std::string::npos) << window_.warnings[0];
    EXPECT_FALSE(window_.saw("Chyba přenosu, za 10 sekund se pokusím znova..."_cz));
    EXPECT_EQ(window_.closed, 1);
    EXPECT_FALSE(server_->orders().front().closed());
    EXPECT_EQ(transfer_.outcome(), SendingOutcome::Nothing);
}

TEST_F(TransferOrderTest, AServerOutOfReachFailsTheDocumentsAndKeepsTheLabsFiles) {
    order("a.jpg");
    temp_.write("work/hlavicka.jpg", "the lab's picture");
    temp_.write("work/snapord2.ini", "the catalogue");
    const std::string url = server_->url();
    server_->stop();
    run();
    EXPECT_EQ(transfer_.result(), TransferResult::DocumentsFailed);
    EXPECT_EQ(window_.warnings, std::vector<std::string>{uiText(UiText::OrderParamsFailed)});
    EXPECT_EQ(window_.closed, 1);
    EXPECT_EQ(temp_.read("work/hlavicka.jpg"), "the lab's picture");
    EXPECT_EQ(temp_.read("work/snapord2.ini"), "the catalogue");
    EXPECT_EQ(window_.keepAwakeBegins, 0);
}

TEST_F(TransferOrderTest, TheCatalogueIsReplacedOnlyByACatalogue) {
    order("a.jpg");
    temp_.write("work/snapord2.ini", "the old catalogue");
    const std::string page = "<html><body>Přihlaste se k síti</body></html>";
    {
        std::ofstream out(published("snapord2.ini"), std::ios::binary | std::ios::trunc);
        out << page;
    }
    run();
    EXPECT_EQ(transfer_.result(), TransferResult::Sent);
    EXPECT_EQ(temp_.read("work/snapord2.ini"), "the old catalogue");
    EXPECT_FALSE(fs::exists(local("snapord2.inb")));
}

TEST_F(TransferOrderTest, TheLabsCatalogueAndHeaderPictureReplaceTheOldOnes) {
    order("a.jpg");
    temp_.write("work/snapord2.ini", "the old catalogue");
    temp_.write("work/hlavicka.jpg", "the old picture");
    run();
    EXPECT_EQ(transfer_.result(), TransferResult::Sent);
    EXPECT_EQ(temp_.read("work/snapord2.ini"), readWhole(published("snapord2.ini")));
    EXPECT_EQ(temp_.read("work/hlavicka.jpg"), readWhole(published("hlavicka.jpg")));
}

TEST_F(TransferOrderTest, ADocumentThatCouldNotBeWrittenWholeFailsTheDocumentsStep) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no full device to write to";
    order("a.jpg");
    // Every write to the order file fails as on a full disk.
    fs::create_symlink("/dev/full", local("obj.snf"));
    run();
    EXPECT_EQ(transfer_.result(), TransferResult::DocumentsFailed);
    EXPECT_EQ(window_.warnings, std::vector<std::string>{uiText(UiText::OrderParamsFailed)});
    EXPECT_TRUE(uploads().empty()) << "no cut document reached the lab";
}

TEST_F(TransferOrderTest, AnOrderWithoutPhotographsClosesWithoutEndingTheOrder) {
    run();
    EXPECT_EQ(transfer_.result(), TransferResult::NoPhotographs);
    EXPECT_EQ(window_.closed, 1);
    EXPECT_FALSE(server_->orders().front().closed());
}

TEST_F(TransferOrderTest, StornoDuringAStalledUploadEndsItLongBeforeTheNoProgressLimit) {
#ifdef _WIN32
    GTEST_SKIP() << "the fault-injecting proxy runs on POSIX sockets only; the stop of a stalled post is "
                    "tested on Windows too, against the raw server (http tests, AbortCheck)";
#else
    order("a.jpg", 400000);
    // Connections: header picture, catalogue, params, the two documents, then the photograph.
    testing_support::FaultProxy proxy(
        static_cast<std::uint16_t>(server_->port()),
        testing_support::FaultPlan::scripted(
            {{5, testing_support::stallAfter(testing_support::Stream::Request, 100000)}}));
    request_.SetServerUrl(proxy.url());
    request_.SetTimeLimits({});
    bool cancelled = false;
    window_.onPump = [&] {
        if (!cancelled && proxy.injected() > 0) {
            cancelled = true;
            transfer_.ConfirmCancel();
        }
    };
    run();
    EXPECT_EQ(transfer_.result(), TransferResult::UploadCancelled);
    EXPECT_EQ(window_.lastStatus(), uiText(UiText::CancelledByUser));
#endif
}

}  // namespace
