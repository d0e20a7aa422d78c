// The sending dialog on the tests' backend, sending to the lab server running in-process: its start-up,
// the cancel action before, during and after a transfer, minimising, and the finished dialog.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "app/ui_texts.h"
#include "image/builtin_pictures.h"
#include "platform/program_files.h"
#include "text/cp1250.h"
#include "transfer/in_process_lab.h"
#include "ui/controls/headless/headless_desktop.h"
#include "ui/dialog_resources.h"
#include "ui/progress_send_dlg.h"
#include "ui/resource_ids.h"

namespace {

using namespace sending_ids;
using ui::MessageAnswer;
using ui::headless::HeadlessDesktop;
using ui::headless::HeadlessWindow;
namespace fs = std::filesystem;

class FakeMainWindow final : public MainWindowLink {
  public:
    void ShowWindow(bool visible) override { shown.push_back(visible); }
    void ShowStatus(std::string_view) override {}
    bool photobookMode() const override { return false; }
    void SendPhotobookDocument() override {}

    std::vector<bool> shown;
};

class SendingDialogTest : public transfer_testing::InProcessLab {
  protected:
    // Each photograph's upload is larger than this, the documents' uploads are far smaller: the step
    // observer (on the worker thread) tells them apart by the request's size alone.
    static constexpr std::size_t kPhotoSize = 40000;

    SendingDialogTest() {
        PhotoRecord photo;
        photo.formatId = 2;
        photo.copies = 1;
        document_.setCurrentPhoto(photo);
        OrderParams params;
        params.delivery = 1;
        params.paymentAbbrev = "ucet";
        document_.setParams(params);
        for (const char* name : {"a.jpg", "b.jpg"}) {
            temp_.write(std::string("photos/") + name, std::string(kPhotoSize, name[0]));
            document_.addEntry(temp_.path() + "/photos", name);
        }
    }

    // The dialog opened on the desktop, without a modal run, so that the test acts on it in steps.
    std::unique_ptr<HeadlessWindow> open() { return desktop_.open(dialog_, sendingTemplate()); }

    void logIn(HeadlessWindow& window) {
        window.type(kLogin, "demo");
        window.type(kPassword, "demo");
    }

    OrderDocument document_;
    HeadlessDesktop desktop_;
    FakeMainWindow mainWindow_;
    OrderSession session_{document_, request_, desktop_, mainWindow_};
    CDialogProgressSend dialog_{session_,
                                TransferTimings{std::chrono::milliseconds(1), std::chrono::milliseconds(1)}};
};

TEST_F(SendingDialogTest, OpensForTheLoginWithTheTextsOfTheTable) {
    auto window = open();
    EXPECT_EQ(window->title(), "Snapord - Odesílání objednávky"_cz);
    EXPECT_EQ(window->focusedId(), kLogin);
    EXPECT_FALSE(window->check(kPause).isVisible());
    EXPECT_EQ(window->check(kPause).text(), uiText(UiText::PauseAfterPhoto));
    EXPECT_TRUE(window->check(kAutoResume).isChecked());
    EXPECT_EQ(window->check(kAutoResume).text(), uiText(UiText::AutoResume));
    EXPECT_EQ(window->label(kHelpLink).text(), uiText(UiText::HelpLink));
    EXPECT_EQ(window->label(kLoginLabel).text(), "Přihlašovací jméno"_cz);
    for (int id : {kSend, kStorno, kSaveToDisk})
        EXPECT_EQ(window->control(id).font(), (ui::Font{"Arial", -11, ui::Font::kBold, false})) << id;
    EXPECT_EQ(dialog_.sendIcons().resourceId(), builtin::kSendIcon);
    EXPECT_EQ(dialog_.saveIcons().resourceId(), builtin::kSendIcon);
    EXPECT_EQ(dialog_.stornoIcons().resourceId(), builtin::kStornoIcon);
}

TEST_F(SendingDialogTest, StornoBeforeAnythingWasSentClosesAtOnceWithoutAQuestion) {
    auto window = open();
    window->click(kStorno);
    EXPECT_TRUE(window->isEnding());
    EXPECT_EQ(window->result(), ui::kIdCancel);
    EXPECT_TRUE(desktop_.messages().empty());
    EXPECT_EQ(dialog_.outcome(), SendingOutcome::Nothing);
    EXPECT_EQ(mainWindow_.shown, std::vector<bool>{true});
    EXPECT_TRUE(server_->orders().empty());
}

TEST_F(SendingDialogTest, MinimisingHidesTheMainWindowAndRestoringShowsIt) {
    auto window = open();
    window->minimise();
    EXPECT_EQ(mainWindow_.shown, std::vector<bool>{false});
    window->restore();
    EXPECT_EQ(mainWindow_.shown, (std::vector<bool>{false, true}));
}

TEST_F(SendingDialogTest, StornoDuringATransferAnsweredNoLetsItGoOn) {
    auto window = open();
    logIn(*window);
    // Storno is clicked during the upload of the first photograph, which is held until the click ran.
    // The worker only posts the click; the window is touched on the UI thread alone.
    std::atomic<bool> clicked{false};
    request_.SetStepObserver([&] {
        if (request_.Total() < kPhotoSize || clicked.exchange(true))
            return;
        std::promise<void> done;
        desktop_.runOnUiThread([&] {
            desktop_.answerNextQuestion(MessageAnswer::No);
            window->click(kStorno);
            done.set_value();
        });
        done.get_future().wait();
    });
    window->click(kSend);
    request_.SetStepObserver({});

    ASSERT_TRUE(clicked);
    ASSERT_EQ(desktop_.messages().size(), 1u);
    EXPECT_EQ(desktop_.messages()[0].text, uiText(UiText::AskCancelSending));
    EXPECT_EQ(desktop_.messages()[0].icon, ui::MessageIcon::Question);
    EXPECT_EQ(window->label(kStatus).text(), "Objednávka byla v pořádku odeslána."_cz);
    EXPECT_EQ(dialog_.outcome(), SendingOutcome::Sent);
    EXPECT_FALSE(window->isEnding());
    EXPECT_EQ(window->label(kOverallText).text(), "100% (2/2 souborů)"_cz);
}

TEST_F(SendingDialogTest, AfterTheEndTheFocusedCloseButtonClosesTheDialog) {
    auto window = open();
    logIn(*window);
    window->click(kSend);

    EXPECT_EQ(dialog_.transfer().state(), SendDialogState::Finished);
    EXPECT_EQ(window->button(kStorno).text(), "Zavřít okno"_cz);
    EXPECT_EQ(dialog_.stornoIcons().resourceId(), builtin::kRemoveIcon);
    EXPECT_EQ(window->focusedId(), kStorno);
    EXPECT_TRUE(window->label(kStatus).font().bold());
    EXPECT_FALSE(window->button(kSend).isVisible());
    EXPECT_FALSE(window->button(kSaveToDisk).isVisible());
    EXPECT_FALSE(window->edit(kLogin).isVisible());
    EXPECT_TRUE(window->check(kPause).isVisible());
    EXPECT_FALSE(desktop_.keptAwake());
    EXPECT_EQ(desktop_.keepAwakeBegins(), 1);
    EXPECT_FALSE(window->isEnding());

    window->pressEnter();
    EXPECT_TRUE(window->isEnding());
    EXPECT_TRUE(desktop_.messages().empty()) << "nothing is asked once the order is ended";
    EXPECT_EQ(dialog_.outcome(), SendingOutcome::Sent);
    EXPECT_TRUE(server_->orders().front().closed());
}

TEST_F(SendingDialogTest, TheCloseBoxAfterARefusedLoginClosesTheDialog) {
    auto window = open();
    window->type(kLogin, "demo");
    window->type(kPassword, "wrong");
    window->click(kSend);
    EXPECT_EQ(desktop_.messages().size(), 1u);
    EXPECT_TRUE(window->edit(kLogin).isEnabled());
    EXPECT_TRUE(window->button(kSend).isEnabled());
    EXPECT_FALSE(window->button(kStorno).isEnabled());
    EXPECT_FALSE(window->isEnding());

    window->pressCloseBox();
    EXPECT_TRUE(window->isEnding());
    EXPECT_EQ(dialog_.outcome(), SendingOutcome::Nothing);
}

TEST_F(SendingDialogTest, ThePauseBoxHoldsTheNextPhotograph) {
    auto window = open();
    logIn(*window);
    std::atomic<bool> ticked{false};
    request_.SetStepObserver([&] {
        if (request_.Total() < kPhotoSize || ticked.exchange(true))
            return;
        std::promise<void> done;
        desktop_.runOnUiThread([&] {
            window->click(kPause);
            // Cleared again after five seconds on the clock.
            desktop_.at(desktop_.now() + 5000, [&] { window->click(kPause); });
            done.set_value();
        });
        done.get_future().wait();
    });
    window->click(kSend);
    request_.SetStepObserver({});

    ASSERT_TRUE(ticked);
    EXPECT_GE(desktop_.now(), 5000);
    EXPECT_FALSE(dialog_.transfer().paused());
    EXPECT_EQ(dialog_.outcome(), SendingOutcome::Sent);
}

TEST_F(SendingDialogTest, TheHelpLinkOpensTheHelpFile) {
    auto window = open();
    window->click(kHelpLink);
    EXPECT_EQ(desktop_.openedWithShell(), std::vector<std::string>{platform::helpDocument()});
}

TEST_F(SendingDialogTest, RunsModallyAsTheMainWindowsHook) {
    desktop_.onModal(res::kSendingDialog, [](HeadlessWindow& window) {
        window.type(kLogin, "demo");
        window.type(kPassword, "demo");
        window.click(kSend);
        window.click(kStorno);
    });
    EXPECT_EQ(runSending(session_), SendingOutcome::Sent);
    EXPECT_TRUE(server_->orders().front().closed());
}

}  // namespace
