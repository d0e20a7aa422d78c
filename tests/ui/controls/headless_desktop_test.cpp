// The tests' backend's own promises: scripted answers, the virtual clock, nested windows by callback.
#include <gtest/gtest.h>

#include "ui/controls/headless/headless_desktop.h"

namespace {

using ui::headless::HeadlessDesktop;
using ui::headless::HeadlessScriptError;
using ui::headless::HeadlessWindow;

constexpr int kSend = 10;
constexpr int kStorno = 11;

ui::DialogTemplate waitingTemplate() {
    ui::DialogTemplate t;
    t.id = 137;
    t.units = {200, 100};
    t.style = ui::kSystemMenu;
    t.controls = {{kSend, ui::ControlKind::PushButton, {5, 5, 60, 14}, 0, "Odeslat"},
                  {kStorno, ui::ControlKind::PushButton, {70, 5, 60, 14}, 0, "Storno"}};
    return t;
}

// Waits like a transfer does: short sleeps with the events pumped in between, until cancelled; the
// cancel button only asks and sets a flag that the wait acts on.
class WaitingDialog : public ui::Dialog {
  public:
    bool cancelled = false;
    std::int64_t stoppedAt = -1;
    int waits = 0;

    void onCommand(int id) override {
        auto& services = host().services();
        if (id == kSend) {
            ui::WaitCursor busy(services);
            while (!cancelled && waits < 100) {
                services.sleep(500);
                services.pumpEvents();
                ++waits;
            }
            stoppedAt = static_cast<HeadlessDesktop&>(services).now();
        } else if (id == kStorno) {
            cancelled = services.messageBox("Opravdu chcete zrušit odesílání?", "", ui::MessageIcon::Question,
                                            ui::MessageButtons::YesNo) == ui::MessageAnswer::Yes;
        }
    }
};

TEST(HeadlessDesktop, AQuestionRaisedInsideAPumpedWaitIsAnsweredByTheScript) {
    HeadlessDesktop desktop;
    WaitingDialog dialog;
    auto window = desktop.open(dialog, waitingTemplate());
    desktop.answerNextQuestion(ui::MessageAnswer::No);
    desktop.answerNextQuestion(ui::MessageAnswer::Yes);
    desktop.at(1000, [&] { window->click(kStorno); });  // No: the wait goes on
    desktop.at(2500, [&] { window->click(kStorno); });  // Yes: the wait ends at its next look
    window->click(kSend);

    EXPECT_TRUE(dialog.cancelled);
    EXPECT_EQ(dialog.stoppedAt, 2500);
    EXPECT_EQ(dialog.waits, 5);
    ASSERT_EQ(desktop.messages().size(), 2u);
    EXPECT_EQ(desktop.messages()[0].answer, ui::MessageAnswer::No);
    EXPECT_EQ(desktop.messages()[1].caption, "Snapord");
    EXPECT_FALSE(desktop.waitCursorShown());
    EXPECT_EQ(desktop.waitCursorBegins(), 1);
    EXPECT_EQ(desktop.unusedScripts(), 0u);
}

TEST(HeadlessDesktop, SleepingTenSecondsOnlyAdvancesTheVirtualClock) {
    HeadlessDesktop desktop;
    int ran = 0;
    desktop.at(9999, [&] { ++ran; });
    desktop.atNextPump([&] { ++ran; });
    for (int tenth = 100; tenth > 0; --tenth) {
        desktop.sleep(100);
        desktop.pumpEvents();
    }
    EXPECT_EQ(desktop.now(), 10000);
    EXPECT_EQ(desktop.pumps(), 100);
    EXPECT_EQ(ran, 2);
}

TEST(HeadlessDesktop, NestedWindowsRunTheirScriptsAndMustEndInThem) {
    HeadlessDesktop desktop;
    WaitingDialog inner;
    desktop.onModal(137, [](HeadlessWindow& window) {
        EXPECT_EQ(window.dialogTemplate().id, 137);
        window.pressCloseBox();  // the default cancel action ends the window
    });
    EXPECT_EQ(desktop.runModal(inner, waitingTemplate()), ui::kIdCancel);

    desktop.onModal(137, [](HeadlessWindow&) {});
    EXPECT_THROW(desktop.runModal(inner, waitingTemplate()), HeadlessScriptError);
    EXPECT_THROW(desktop.runModal(inner, waitingTemplate()), HeadlessScriptError);  // no script left
    EXPECT_EQ(desktop.modalRuns(), (std::vector<int>{137, 137, 137}));
}

TEST(HeadlessDesktop, AnUnscriptedQuestionOrFolderBrowserFailsTheScript) {
    HeadlessDesktop desktop;
    EXPECT_EQ(desktop.messageBox("Hotovo", "", ui::MessageIcon::Information, ui::MessageButtons::Ok),
              ui::MessageAnswer::Ok);
    EXPECT_THROW(desktop.messageBox("Smazat?", "", ui::MessageIcon::Question, ui::MessageButtons::YesNo),
                 HeadlessScriptError);
    EXPECT_THROW(desktop.browseForFolder("Vyberte"), HeadlessScriptError);
    desktop.chooseNextFolder(std::string("/media/usb"));
    desktop.chooseNextFolder(std::nullopt);
    EXPECT_EQ(desktop.browseForFolder("Vyberte"), "/media/usb");
    EXPECT_EQ(desktop.browseForFolder("Vyberte"), std::nullopt);
    EXPECT_EQ(desktop.messages().size(), 2u);
}

TEST(HeadlessDesktop, UnreachableControlsAndEndedWindowsRefuseTheUser) {
    HeadlessDesktop desktop;
    WaitingDialog dialog;
    auto window = desktop.open(dialog, waitingTemplate());
    window->button(kStorno).enable(false);
    EXPECT_THROW(window->click(kStorno), HeadlessScriptError);
    EXPECT_THROW(window->click(99), HeadlessScriptError);
    window->end(3);
    EXPECT_THROW(window->pressEscape(), HeadlessScriptError);
    EXPECT_EQ(window->result(), 3);
}

}  // namespace
