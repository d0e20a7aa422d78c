#include "ui/main_order_dlg.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui_texts.h"
#include "buildinfo/build_constants.h"
#include "main_window_fixture.h"
#include "platform/program_files.h"
#include "text/cp1250.h"
#include "ui/about_dlg.h"
#include "ui/controls/headless/headless_desktop.h"
#include "ui/dialog_resources.h"
#include "ui/order_app.h"
#include "ui/resource_ids.h"

namespace {

using namespace main_ids;
using ui::headless::HeadlessButton;
using ui::headless::HeadlessDesktop;
using ui::headless::HeadlessWindow;

const ui::Font kBold{"Arial", -11, ui::Font::kBold, false};
const ui::Font kFixed{"Courier new", -11, ui::Font::kNormal, false};

using MainWindow = main_window_test::MainWindowTest;

TEST_F(MainWindow, StartsInItsWorkingFolderWithTheTextsOfTheTable) {
    // Most of these controls carry the table's text in the template too: on a template whose texts
    // differ, only the window's own start-up can put the table's texts there.
    ui::DialogTemplate layout = mainWindowTemplate();
    for (ui::ControlTemplate& control : layout.controls) {
        if (!control.text.empty())
            control.text = "(template)";
    }
    auto window = open(layout);
    EXPECT_TRUE(folder_.exists("data/Snapord/" + std::string(build::kVersion)));
    EXPECT_EQ(window->title(), "Snapord v2.0");
    const std::pair<int, UiText> labels[] = {
        {kOrderFilesLabel, UiText::OrderFilesLabel},
        {kPhotoParamsLabel, UiText::PhotoParamsLabel},
        {kCopiesLabel, UiText::CopiesLabel},
        {kFormatLabel, UiText::FormatLabel},
        {kPaperLabel, UiText::PaperLabel},
        {kBorderLabel, UiText::BorderLabel},
        {kColumnHeader, UiText::ColumnHeader},
        {kRemove, UiText::RemoveButton},
        {kSend, UiText::SendOrderButton},
        {kAdd, UiText::AddButton},
        {kDeleteOrder, UiText::DeleteOrderButton},
        {kOrdersPage, UiText::OrdersButton},
        {kPriceList, UiText::PriceListButton},
        {kUpdate, UiText::UpdateButton},
    };
    for (const auto& [id, text] : labels) {
        SCOPED_TRACE(id);
        EXPECT_EQ(window->control(id).text(), uiText(text));
    }
    EXPECT_EQ(window->label(kFormatLabel).text(), "Formát"_cz);
    EXPECT_EQ(window->label(kColumnHeader).text().size(), 62u);
    EXPECT_EQ(window->button(kHelp).text(), "");
    EXPECT_EQ(window->edit(kCopies).text(), "1");
}

TEST_F(MainWindow, GivesTheBoldAndTheFixedPitchFontsToTheirControls) {
    auto window = open();
    for (int id : {kOrderFilesLabel, kPhotoParamsLabel, kSend, kRemove, kAdd, kDeleteOrder, kHelp,
                   kOrdersPage, kPriceList, kUpdate, kPhotobook}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(window->control(id).font(), kBold);
    }
    EXPECT_EQ(window->list(kOrderList).font(), kFixed);
    EXPECT_EQ(window->label(kColumnHeader).font(), kFixed);
    EXPECT_EQ(window->label(kStatus).font().face, "MS Shell Dlg");
}

TEST_F(MainWindow, PreparesTheButtonsTheTreeTheIconAndTheSystemMenu) {
    auto window = open();
    EXPECT_FALSE(window->button(kRemove).isVisible());
    EXPECT_TRUE(window->button(kAdd).isVisible());
    EXPECT_FALSE(window->button(kAdd).isEnabled());
    EXPECT_EQ(dialog().lastUsedList(), CMainOrderDlg::LastUsedList::Files);
    EXPECT_EQ(dialog().selectionMode(), CMainOrderDlg::SelectionMode::Order);
    // The catalogue's special treatments caption the first boxes; a box without one stays hidden.
    EXPECT_TRUE(window->check(kSpecial1).isVisible());
    EXPECT_EQ(window->check(kSpecial1).text(), "Automatické úpravy"_cz);
    EXPECT_TRUE(window->check(kSpecial1).isChecked());
    EXPECT_TRUE(window->check(kSpecial2).isVisible());
    EXPECT_FALSE(window->check(kSpecial2).isChecked());
    EXPECT_FALSE(window->check(kSpecial3).isVisible());
    EXPECT_EQ(window->combo(kFormat).selection(), 0);
    EXPECT_EQ(window->combo(kFormat).itemText(1), "13 x 18 cm");
    EXPECT_EQ(window->combo(kPaper).selection(), 0);
    EXPECT_EQ(window->combo(kBorder).selection(), 0);
    // An empty order: nothing to send or delete, a photobook may go.
    EXPECT_FALSE(window->button(kSend).isEnabled());
    EXPECT_FALSE(window->button(kDeleteOrder).isEnabled());
    EXPECT_TRUE(window->button(kPhotobook).isEnabled());
    EXPECT_EQ(window->label(kSummary).text(), "0 fotek, 0 kopií, 0,00 MB"_cz);

    struct Row {
        int id;
        std::size_t pictures;
    };
    for (const Row row :
         {Row{kSend, 2}, Row{kPhotobook, 2}, Row{kAdd, 2}, Row{kRemove, 2}, Row{kDeleteOrder, 2},
          Row{kOrdersPage, 2}, Row{kPriceList, 2}, Row{kUpdate, 2}, Row{kHelp, 1}}) {
        SCOPED_TRACE(row.id);
        auto& button = static_cast<HeadlessButton&>(window->button(row.id));
        button.redraw();
        EXPECT_EQ(button.lastPainting().size(), row.pictures);
    }
    EXPECT_EQ(static_cast<HeadlessButton&>(window->button(kHelp)).lastPainting().at(0).x, 4);

    EXPECT_TRUE(window->icon().isValid());
    const auto& menu = window->systemMenu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].command, 0);
    EXPECT_EQ(menu[1].command, res::kAboutCommand);
    EXPECT_EQ(menu[1].text, "O aplikaci Snapord..."_cz);
    EXPECT_EQ(menu[2].command, res::kHelpCommand);
    EXPECT_EQ(menu[2].text, "Nápověda"_cz);

    auto& tree = window->tree(kTree);
    const auto top = tree.children(ui::kNoTreeItem);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(tree.itemText(top[0]), "Plocha");
    EXPECT_EQ(tree.children(top[0]).size(), 3u);
}

TEST_F(MainWindow, EnterNeverClosesIt) {
    auto window = open();
    window->pressEnter();
    window->button(kSend).focus();  // a focused button takes Enter as its click, which does not close either
    window->pressEnter();
    EXPECT_FALSE(window->isEnding());
}

TEST_F(MainWindow, EscAndTheCloseBoxSaveTheOrderRowsAndEndTheProgram) {
    // Rows as an earlier run kept them, even those whose columns are not what the window writes.
    const std::string kept =
        "  10x15     lesk    bez     2    /home/jana/\xE8\xE1p.jpg\r\n"
        "columns of an older version, kept as they stand\r\n";
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Esc");
        keepOrder(kept);
        desktop_.answerNextQuestion(ui::MessageAnswer::No);  // the photographs are missing: keep them
        auto window = open();
        EXPECT_EQ(window->list(kOrderList).count(), 2);
        if (closeBox)
            window->pressCloseBox();
        else
            window->pressEscape();
        EXPECT_TRUE(window->isEnding());
        EXPECT_EQ(window->result(), ui::kIdCancel);
        EXPECT_EQ(workingFile("order.sno"), kept);
    }
}

TEST_F(MainWindow, AnEmptyOrderIsSavedAsAnEmptyFile) {
    auto window = open();
    window->pressEscape();
    EXPECT_TRUE(workingFileExists("order.sno"));
    EXPECT_EQ(workingFile("order.sno"), "");
}

TEST_F(MainWindow, HelpOpensTheInstalledHelpPageFromTheMenuF1AndItsButton) {
    auto window = open();
    window->chooseSystemMenuItem(res::kHelpCommand);
    window->pressF1();
    window->click(kHelp);
    const std::string page = platform::helpDocument();
    ASSERT_TRUE(page.ends_with("/help/index.html")) << page;
    EXPECT_EQ(desktop_.openedWithShell(), (std::vector<std::string>{page, page, page}));
    EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(MainWindow, WithoutABrowserHelpAndThePagesTellWhereToLook) {
    auto window = open();
    desktop_.setCanOpen(false);
    window->pressF1();
    window->click(kOrdersPage);
    window->click(kPriceList);
    ASSERT_EQ(desktop_.messages().size(), 3u);
    // The help page of the test program's folder is not there: the message names where it belongs.
    EXPECT_NE(desktop_.messages()[0].text.find(platform::helpDocument()), std::string::npos);
    EXPECT_NE(desktop_.messages()[1].text.find(std::string(build::kServerUrl) + "/extranet.php"),
              std::string::npos);
    EXPECT_NE(desktop_.messages()[2].text.find(std::string(build::kServerUrl) + "/cenik.php"),
              std::string::npos);
    for (const auto& message : desktop_.messages())
        EXPECT_EQ(message.icon, ui::MessageIcon::Exclamation);
}

TEST_F(MainWindow, TheSystemMenuOpensTheAboutBox) {
    auto window = open();
    desktop_.onModal(res::kAboutDialog, [](HeadlessWindow& about) {
        EXPECT_EQ(about.title(), "Snapord - O aplikaci Snapord...");
        EXPECT_EQ(about.label(about_ids::kVersion).text(), "Snapord verze " + std::string(build::kVersion));
        EXPECT_EQ(about.label(about_ids::kAuthor).text().rfind("Autor: ", 0), 0u);
        EXPECT_FALSE(about.label(about_ids::kCredits).text().empty());
        about.paint();
        ASSERT_EQ(about.lastPainting().size(), 1u);
        const auto& header = about.lastPainting()[0];
        EXPECT_EQ(header.picture.width(), 380);
        EXPECT_EQ(header.picture.height(), 50);
        EXPECT_EQ(header.x, (about.clientSize().width - 380) / 2);
        EXPECT_EQ(header.y, CAboutDlg::kHeaderTop);
        about.click(ui::kIdOk);
    });
    window->chooseSystemMenuItem(res::kAboutCommand);
    EXPECT_EQ(desktop_.modalRuns(), (std::vector<int>{res::kAboutDialog}));
    EXPECT_FALSE(window->isEnding());
}

TEST_F(MainWindow, TheApplicationRunsTheMainWindowUntilItEnds) {
    HeadlessDesktop desktop;
    desktop.onModal(res::kMainDialog, [](HeadlessWindow& window) {
        window.pressEnter();
        window.pressEscape();
    });
    COrderApp app(desktop, shell_, environment_);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(desktop.modalRuns(), (std::vector<int>{res::kMainDialog}));
    EXPECT_TRUE(workingFileExists("order.sno"));
}

}  // namespace
