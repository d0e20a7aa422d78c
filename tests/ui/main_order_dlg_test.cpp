#include "ui/main_order_dlg.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui_texts.h"
#include "platform/fake_shell_namespace.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"
#include "ui/about_dlg.h"
#include "ui/controls/headless/headless_desktop.h"
#include "ui/dialog_resources.h"
#include "ui/order_app.h"
#include "ui/resource_ids.h"

namespace {

using namespace main_ids;
using testing_support::CurrentFolderScope;
using testing_support::TempFolder;
using ui::headless::HeadlessButton;
using ui::headless::HeadlessDesktop;
using ui::headless::HeadlessWindow;

const ui::Font kBold{"Arial", -11, ui::Font::kBold, false};
const ui::Font kFixed{"Courier new", -11, ui::Font::kNormal, false};

// A main window started in a working folder of its own, inside a temporary application-data folder.
class MainWindow : public testing::Test {
  protected:
    MainWindow()
        : start_(folder_.path()), environment_([this](const char* name) -> std::optional<std::string> {
              if (std::string_view(name) == "XDG_DATA_HOME")
                  return folder_.path() + "/data";
              return std::nullopt;
          }) {
        shell_.addFolder("", "Domovská složka"_cz, "/home/jana", true);
        std::filesystem::create_directory(folder_.path() + "/data");  // the application-data folder exists
    }

    std::unique_ptr<HeadlessWindow> open() { return desktop_.open(dialog_, mainWindowTemplate()); }
    std::string workingFile(std::string_view name) {
        return folder_.read("data/Snapord/2.0.24.3/" + std::string(name));
    }
    bool workingFileExists(std::string_view name) {
        return folder_.exists("data/Snapord/2.0.24.3/" + std::string(name));
    }

    TempFolder folder_;
    CurrentFolderScope start_;
    platform::EnvironmentLookup environment_;
    platform::FakeShellNamespace shell_{"Plocha"};
    HeadlessDesktop desktop_;
    CMainOrderDlg dialog_{shell_, environment_};
};

TEST_F(MainWindow, StartsInItsWorkingFolderWithTheTextsOfTheTable) {
    auto window = open();
    EXPECT_EQ(theMainWindow(), &dialog_);
    EXPECT_TRUE(folder_.exists("data/Snapord/2.0.24.3"));
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
    EXPECT_EQ(dialog_.lastUsedList(), CMainOrderDlg::LastUsedList::Files);
    EXPECT_EQ(dialog_.selectionMode(), CMainOrderDlg::SelectionMode::Order);
    for (int id : {kSpecial1, kSpecial2, kSpecial3})
        EXPECT_FALSE(window->check(id).isVisible());

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
    EXPECT_EQ(tree.children(top[0]).size(), 1u);
}

TEST_F(MainWindow, EnterNeverClosesIt) {
    auto window = open();
    window->pressEnter();
    window->button(kSend).focus();  // a focused button takes Enter as its click, which does not close either
    window->pressEnter();
    EXPECT_FALSE(window->isEnding());
}

TEST_F(MainWindow, EscAndTheCloseBoxSaveTheOrderRowsAndEndTheProgram) {
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Esc");
        HeadlessDesktop desktop;
        CMainOrderDlg dialog(shell_, environment_);
        auto window = desktop.open(dialog, mainWindowTemplate());
        auto& rows = window->list(kOrderList);
        rows.addItem("  Formát    "_cz);
        rows.addItem("  10x15     /home/jana/čáp.jpg"_cz);
        if (closeBox)
            window->pressCloseBox();
        else
            window->pressEscape();
        EXPECT_TRUE(window->isEnding());
        EXPECT_EQ(window->result(), ui::kIdCancel);
        EXPECT_EQ(workingFile("order.sno"), "  Form\xE1t    \r\n  10x15     /home/jana/\xE8\xE1p.jpg\r\n");
    }
}

TEST_F(MainWindow, AnEmptyOrderIsSavedAsAnEmptyFile) {
    auto window = open();
    window->pressEscape();
    EXPECT_TRUE(workingFileExists("order.sno"));
    EXPECT_EQ(workingFile("order.sno"), "");
}

TEST_F(MainWindow, HelpOpensTheHelpFileFromTheMenuF1AndItsButton) {
    auto window = open();
    window->chooseSystemMenuItem(res::kHelpCommand);
    window->pressF1();
    window->click(kHelp);
    EXPECT_EQ(desktop_.openedWithShell(), (std::vector<std::string>{"help.chm", "help.chm", "help.chm"}));
}

TEST_F(MainWindow, TheSystemMenuOpensTheAboutBox) {
    auto window = open();
    desktop_.onModal(res::kAboutDialog, [](HeadlessWindow& about) {
        EXPECT_EQ(about.title(), "Snapord - O aplikaci Snapord...");
        EXPECT_EQ(about.label(about_ids::kVersion).text(), "Snapord verze 2.0.24.3");
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
        EXPECT_NE(theMainWindow(), nullptr);
        window.pressEnter();
        window.pressEscape();
    });
    COrderApp app(desktop, shell_, environment_);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(desktop.modalRuns(), (std::vector<int>{res::kMainDialog}));
    EXPECT_TRUE(workingFileExists("order.sno"));
    EXPECT_EQ(theMainWindow(), nullptr);
}

}  // namespace
