// The news message window on the tests' backend: when it shows, what it shows, and what closing it
// leaves in message.id.
#include "ui/message_dlg.h"

#include <gtest/gtest.h>

#include "app/ui_texts.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"
#include "ui/controls/headless/headless_desktop.h"
#include "ui/dialog_resources.h"
#include "ui/resource_ids.h"

namespace {

using namespace news_ids;
using ui::headless::HeadlessWindow;

class NewsMessageWindow : public testing::Test {
  protected:
    // Opens the window over `message` (none: no message.txt); `script` acts on it when it is shown, and
    // Zavřít closes it unless the script did. True when it was shown.
    bool run(std::optional<std::string> message, const std::function<void(HeadlessWindow&)>& script = {}) {
        if (message)
            folder_.write("message.txt", *message);
        CMessageDlg dialog;
        const auto window = desktop_.open(dialog, newsTemplate());
        EXPECT_FALSE(folder_.exists("message.txt"));
        if (window->isEnding())
            return false;
        if (script)
            script(*window);
        if (!window->isEnding())
            window->click(kClose);
        return true;
    }

    testing_support::TempFolder folder_;
    testing_support::CurrentFolderScope inFolder_{folder_.path()};
    ui::headless::HeadlessDesktop desktop_;
};

TEST_F(NewsMessageWindow, ShowsANewMessageAndAnUntickedCloseLetsItComeBack) {
    const std::string message("5 Letní akce\r\n\r\nFotografie za polovic.\r\nJen do neděle.\r\n"_cz);
    EXPECT_TRUE(run(message, [&](HeadlessWindow& window) {
        EXPECT_EQ(window.title(), "Zpváva ze serveru"_cz);
        EXPECT_EQ(window.label(kTitle).text(), " Letní akce"_cz);
        EXPECT_EQ(window.label(kTitle).font(), CMessageDlg::kTitleFont);
        EXPECT_EQ(window.label(kText).text(), "Fotografie za polovic.\r\nJen do neděle.\r\n"_cz);
        EXPECT_FALSE(window.label(kLink).isVisible());
        EXPECT_EQ(window.check(kDontShowAgain).text(), "Tuto zprávu znovu nezobrazovat"_cz);
        EXPECT_FALSE(window.check(kDontShowAgain).isChecked());
        EXPECT_EQ(window.button(kClose).text(), "Zavřít"_cz);
        EXPECT_EQ(folder_.read("message.id"), "5\n");
    }));
    EXPECT_FALSE(folder_.exists("message.id"));
    EXPECT_TRUE(run(message));
}

TEST_F(NewsMessageWindow, ATickedCloseKeepsTheMessageAwayUntilAHigherNumberComes) {
    const std::string message("5 Letní akce\n\ntext\n"_cz);
    EXPECT_TRUE(run(message, [](HeadlessWindow& window) {
        window.click(kDontShowAgain);
        window.click(kClose);
    }));
    EXPECT_EQ(folder_.read("message.id"), "5\n");
    EXPECT_FALSE(run(message));
    EXPECT_FALSE(run(std::string("4 Starší\n\n"_cz)));
    EXPECT_EQ(folder_.read("message.id"), "5\n");
    EXPECT_TRUE(run(std::string("6 Nová\n\n"_cz)));
}

TEST_F(NewsMessageWindow, EscAndTheCloseBoxCloseItAsZavritDoes) {
    EXPECT_TRUE(run("5 a\n\n", [](HeadlessWindow& window) { window.pressEscape(); }));
    EXPECT_FALSE(folder_.exists("message.id"));
    EXPECT_TRUE(run("5 a\n\n", [](HeadlessWindow& window) {
        window.click(kDontShowAgain);
        window.pressCloseBox();
    }));
    EXPECT_EQ(folder_.read("message.id"), "5\n");
}

TEST_F(NewsMessageWindow, ATitleLineAtTheEndOfTheFileIsTheWholeMessage) {
    EXPECT_TRUE(run("7 Jen titulek", [](HeadlessWindow& window) {
        EXPECT_EQ(window.label(kTitle).text(), " Jen titulek");
        EXPECT_EQ(window.label(kText).text(), "");
        EXPECT_FALSE(window.label(kLink).isVisible());
    }));
}

TEST_F(NewsMessageWindow, NothingIsShownWithoutAMessageWorthShowing) {
    for (const char* file : {"0 Nula\n\ntext", "-2 Záporná\n\n", "Bez čísla\n\ntext", ""}) {
        SCOPED_TRACE(file);
        EXPECT_FALSE(run(std::string(file)));
        EXPECT_FALSE(folder_.exists("message.id"));
    }
    EXPECT_FALSE(run(std::nullopt));
}

TEST_F(NewsMessageWindow, OnlyAWebAddressIsOpenedAnyOtherLinkIsShownAsText) {
    const std::string web = "http://lab.example/akce?id=5";
    EXPECT_TRUE(run("5 a\n" + web + "\ntext", [&](HeadlessWindow& window) {
        ASSERT_TRUE(window.label(kLink).isVisible());
        EXPECT_EQ(window.label(kLink).text(), web);
        EXPECT_EQ(window.label(kLink).font(), CMessageDlg::kLinkFont);
        window.click(kLink);
    }));
    EXPECT_EQ(desktop_.openedWithShell(), std::vector<std::string>{web});

    for (const char* link : {"file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm"}) {
        SCOPED_TRACE(link);
        EXPECT_TRUE(run("5 a\n" + std::string(link) + "\n", [&](HeadlessWindow& window) {
            ASSERT_TRUE(window.label(kLink).isVisible());
            EXPECT_EQ(window.label(kLink).text(), link);
            EXPECT_FALSE(window.label(kLink).font().underline);
            window.click(kLink);
        }));
    }
    EXPECT_EQ(desktop_.openedWithShell().size(), 1u);
}

}  // namespace
