// The main window on a real display: it opens with its texts, the X server's Enter does not close it,
// Esc closes it and the order in progress is saved.
#include <gtest/gtest.h>

#include <filesystem>

#include <wx/uiaction.h>

#include "app/ui_texts.h"
#include "platform/shell_namespace.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"
#include "ui/controls/wx/wx_desktop.h"
#include "ui/order_app.h"
#include "ui/resource_ids.h"
#include "wx_test_support.h"

namespace {

using testing_support::CurrentFolderScope;
using testing_support::TempFolder;

// Presses a key on the X server's keyboard, with the pointer over the window so that it has the focus.
void pressKey(wxWindow& window, int key) {
    wxUIActionSimulator keyboard;
    keyboard.MouseMove(window.GetScreenRect().GetPosition() + wxPoint(20, 20));
    wxtest::settle();
    keyboard.Char(key);
    wxtest::settle();
}

TEST(MainWindowOnScreen, ShowsItsTextsIgnoresEnterAndClosesOnEscSavingTheOrder) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() + "/data");
    CurrentFolderScope start(folder.path());
    const platform::EnvironmentLookup environment = [&](const char* name) -> std::optional<std::string> {
        if (std::string_view(name) == "XDG_DATA_HOME")
            return folder.path() + "/data";
        return std::nullopt;
    };
    const auto shell = platform::localShellNamespace();
    ui::wxgui::WxDesktop desktop;
    bool ran = false;
    wxtest::ScriptedWindows::instance().scriptNextWindow(
        res::kMainDialog, [&](ui::DialogHost& host, contract::UserActions&) {
            ran = true;
            auto& window = dynamic_cast<ui::wxgui::WxDialog&>(host);
            wxtest::settle();
            EXPECT_TRUE(window.IsShownOnScreen());
            EXPECT_EQ(host.title(), "Snapord v2.0");
            EXPECT_EQ(host.label(main_ids::kOrderFilesLabel).text(), "Soubory v objednávce:"_cz);
            EXPECT_EQ(host.button(main_ids::kSend).text(), "Odeslat objednávku"_cz);
            EXPECT_EQ(host.label(main_ids::kColumnHeader).text(), uiText(UiText::ColumnHeader));
            const auto top = host.tree(main_ids::kTree).children(ui::kNoTreeItem);
            ASSERT_EQ(top.size(), 1u);
            EXPECT_EQ(host.tree(main_ids::kTree).itemText(top[0]), "Plocha");
            // The preview frame and the header area hold their pictures at this display's dialog units.
            const ui::Rect frame = host.control(main_ids::kPreview).rect();
            EXPECT_GE(frame.width, 402);
            EXPECT_GE(frame.height, 302);
            EXPECT_GE(host.control(main_ids::kTree).rect().y, 52);

            host.list(main_ids::kOrderList).addItem("  10x15      Lesk   Bez      1     /home/jana/les.jpg");
            host.edit(main_ids::kCopies).focus();
            pressKey(window, WXK_RETURN);
            EXPECT_FALSE(host.isEnding());
            pressKey(window, WXK_ESCAPE);
            EXPECT_TRUE(host.isEnding());
        });
    COrderApp app(desktop, *shell, environment);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(ran);
    EXPECT_EQ(folder.read("data/Snapord/2.0.24.3/order.sno"),
              "  10x15      Lesk   Bez      1     /home/jana/les.jpg\r\n");
}

}  // namespace

int main(int argc, char** argv) {
    return wxtest::runAllTests(argc, argv);
}
