// The main window on a real display: it opens with its texts, the X server's Enter does not close it,
// Esc closes it and the order in progress is saved; a folder of photographs chosen in the tree, three
// of them added, the preview painted, the rows and the summary shown, rows removed with Delete.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "../image/picture_files.h"
#include "app/ui_texts.h"
#include "buildinfo/build_constants.h"
#include "platform/shell_namespace.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"
#include "ui/controls/wx/wx_controls.h"
#include "ui/controls/wx/wx_desktop.h"
#include "ui/controls/wx/wx_widgets.h"
#include "ui/controls/wx_test_support.h"
#include "ui/dialog_resources.h"
#include "ui/main_order_dlg.h"
#include "ui/message_dlg.h"
#include "ui/order_app.h"
#include "ui/resource_ids.h"

namespace {

using namespace main_ids;
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

// The colour on the display at a point of the window's client area.
wxColour colourOnScreen(wxWindow& window, wxPoint point) {
    wxtest::settle();
    const wxPoint onScreen = window.ClientToScreen(point);
    wxBitmap pixel(1, 1);
    wxMemoryDC memory(pixel);
    wxScreenDC screen;
    memory.Blit(0, 0, 1, 1, &screen, onScreen.x, onScreen.y);
    wxColour colour;
    memory.GetPixel(0, 0, &colour);
    return colour;
}

// A working folder in a temporary application-data folder; the program starts in `folder`.
class OnScreen : public testing::Test {
  protected:
    OnScreen() : start_(folder_.path()) {
        std::filesystem::create_directory(folder_.path() + "/data");
        wxtest::ScriptedWindows::instance().reset();
    }

    std::string workingFile(std::string_view name) const {
        return folder_.read("data/Snapord/" + std::string(build::kVersion) + "/" + std::string(name));
    }
    // Runs the program's main window with `script`; true when the script ran.
    bool run(const wxtest::ScriptedWindows::Script& script) {
        const platform::EnvironmentLookup environment = [&](const char* name) -> std::optional<std::string> {
            if (std::string_view(name) == "XDG_DATA_HOME")
                return folder_.path() + "/data";
            return std::nullopt;
        };
        const auto shell = platform::localShellNamespace();
        ui::wxgui::WxDesktop desktop;
        bool ran = false;
        wxtest::ScriptedWindows::instance().scriptNextWindow(
            res::kMainDialog, [&](ui::DialogHost& host, contract::UserActions& user) {
                ran = true;
                script(host, user);
            });
        // No lab server runs for these windows: the update from the lab is left out (its own tests
        // run it against one).
        MainWindowHooks hooks = programHooks();
        hooks.runUpdate = {};
        COrderApp app(desktop, *shell, environment, hooks);
        EXPECT_FALSE(app.InitInstance());
        return ran;
    }

    TempFolder folder_;
    CurrentFolderScope start_;
};

TEST_F(OnScreen, ShowsItsTextsIgnoresEnterAndClosesOnEscSavingTheOrder) {
    const std::string kept = "  10x15      Lesk   Bez      1     /home/jana/les.jpg\r\n";
    folder_.write("data/Snapord/" + std::string(build::kVersion) + "/order.sno", kept);
    // The photograph is missing: keep the order, when the window starts and when Enter refreshes it.
    wxtest::ScriptedWindows::instance().answerNextQuestion(ui::MessageAnswer::No);
    wxtest::ScriptedWindows::instance().answerNextQuestion(ui::MessageAnswer::No);
    EXPECT_TRUE(run([&](ui::DialogHost& host, contract::UserActions&) {
        auto& window = dynamic_cast<ui::wxgui::WxDialog&>(host);
        wxtest::settle();
        EXPECT_TRUE(window.IsShownOnScreen());
        EXPECT_EQ(host.title(), "Snapord v2.0");
        EXPECT_EQ(host.label(kOrderFilesLabel).text(), "Soubory v objednávce:"_cz);
        EXPECT_EQ(host.button(kSend).text(), "Odeslat objednávku"_cz);
        EXPECT_EQ(host.label(kColumnHeader).text(), uiText(UiText::ColumnHeader));
        const auto top = host.tree(kTree).children(ui::kNoTreeItem);
        ASSERT_EQ(top.size(), 1u);
        EXPECT_EQ(host.tree(kTree).itemText(top[0]), "Plocha");
        // The preview frame and the header area hold their pictures at this display's dialog units.
        const ui::Rect frame = host.control(kPreview).rect();
        EXPECT_GE(frame.width, 402);
        EXPECT_GE(frame.height, 302);
        EXPECT_GE(host.control(kTree).rect().y, 52);
        EXPECT_EQ(host.list(kOrderList).count(), 1);

        host.edit(kCopies).focus();
        pressKey(window, WXK_RETURN);
        EXPECT_FALSE(host.isEnding());
        pressKey(window, WXK_ESCAPE);
        EXPECT_TRUE(host.isEnding());
    }));
    EXPECT_EQ(workingFile("order.sno"), kept);
    EXPECT_EQ(wxtest::ScriptedWindows::instance().boxes().size(), 2u);
}

TEST_F(OnScreen, PicturesOfAFolderGoIntoTheOrderWithTheirPreview) {
    folder_.write("snapord2.ini",
                  "[format]\r\nname=10 x 15 cm\r\nabbrev=10x15\r\nid=2\r\ndefault=1\r\n"
                  "[surface]\r\nname=Lesklý\r\nabbrev=lesk\r\nid=1\r\ndefault=1\r\n"
                  "[margin]\r\nname=Bez okraje\r\nabbrev=bez\r\nid=1\r\ndefault=1\r\n"_cz);
    const std::string home = folder_.path() + "/home";
    const std::string photos = home + "/fotky";
    std::filesystem::create_directories(photos);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        test_pictures::writeJpeg(photos + "/" + name, test_pictures::gradient(640, 480));
    test_pictures::writeJpeg(photos + "/d.jpg", test_pictures::gradient(300, 400));
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome != nullptr ? oldHome : "";
    setenv("HOME", home.c_str(), 1);

    const bool ran = run([&](ui::DialogHost& host, contract::UserActions& user) {
        auto& window = dynamic_cast<ui::wxgui::WxDialog&>(host);
        wxtest::settle();
        ui::TreeView& tree = host.tree(kTree);
        auto childNamed = [&](ui::TreeItem parent, std::string_view name) {
            for (ui::TreeItem item : tree.children(parent)) {
                if (tree.itemText(item) == name)
                    return item;
            }
            return ui::kNoTreeItem;
        };
        const ui::TreeItem homeItem = childNamed(tree.children(ui::kNoTreeItem).at(0), "Domovská složka"_cz);
        ASSERT_NE(homeItem, ui::kNoTreeItem);
        tree.expand(homeItem);
        const ui::TreeItem photosItem = childNamed(homeItem, "fotky");
        ASSERT_NE(photosItem, ui::kNoTreeItem);
        tree.select(photosItem);
        ASSERT_EQ(host.list(kFileList).count(), 4);
        EXPECT_EQ(host.label(kStatus).text(), photos);

        user.clickItem(kFileList, 0);
        user.ctrlClickItem(kFileList, 1);
        user.ctrlClickItem(kFileList, 2);
        // Enter on the X server's keyboard, the file list having the focus. The preview loads on a
        // worker thread; its result comes with the next events.
        pressKey(window, WXK_RETURN);
        wxtest::settleUntil([&] {
            return host.list(kOrderList).count() == 3 &&
                   host.label(kStatus).text() == photos + "/d.jpg (300x400)";
        });
        ASSERT_EQ(host.list(kOrderList).count(), 3);
        EXPECT_EQ(host.list(kOrderList).itemText(0), "  10x15     lesk    bez     1    " + photos + "/a.jpg");
        EXPECT_EQ(host.list(kOrderList).itemText(2), "  10x15     lesk    bez     1    " + photos + "/c.jpg");
        EXPECT_EQ(host.list(kFileList).selectedItems(), std::vector<int>{3});
        EXPECT_EQ(host.label(kStatus).text(), photos + "/d.jpg (300x400)");
        EXPECT_EQ(host.label(kSummary).text().rfind("3 fotek, 3 kopií, 0,"_cz, 0), 0u);
        EXPECT_TRUE(host.button(kSend).isEnabled());
        EXPECT_FALSE(host.button(kPhotobook).isEnabled());

        // The portrait picture stands in the middle of the grey canvas: grey at its left, picture in
        // the middle.
        const ui::Rect frame = host.control(kPreview).rect();
        const wxUint32 grey = wxColour(176, 176, 176).GetRGB();
        EXPECT_EQ(colourOnScreen(window, {frame.x + 10, frame.y + 150}).GetRGB(), grey);
        EXPECT_NE(colourOnScreen(window, {frame.x + 202, frame.y + 152}).GetRGB(), grey);

        // A double click of the X server's mouse on the first file adds it once more.
        wxUIActionSimulator mouse;
        const ui::Rect files = host.list(kFileList).rect();
        mouse.MouseMove(window.ClientToScreen(wxPoint(files.x + 20, files.y + 8)));
        wxtest::settle();
        mouse.MouseDblClick();
        wxtest::settleUntil([&] { return host.list(kOrderList).count() == 4; });
        ASSERT_EQ(host.list(kOrderList).count(), 4);
        EXPECT_EQ(host.list(kOrderList).itemText(3), "  10x15     lesk    bez     1    " + photos + "/a.jpg");

        // Delete on the X server's keyboard removes the selected row and selects the next, which the
        // next press removes.
        user.clickItem(kOrderList, 0);
        pressKey(window, WXK_DELETE);
        wxtest::settleUntil([&] { return host.list(kOrderList).count() == 3; });
        EXPECT_EQ(host.list(kOrderList).count(), 3);
        EXPECT_EQ(host.list(kOrderList).selectedItems(), std::vector<int>{0});
        pressKey(window, WXK_DELETE);
        wxtest::settleUntil([&] { return host.list(kOrderList).count() == 2; });
        EXPECT_EQ(host.list(kOrderList).count(), 2);
        user.pressEscape();
    });
    setenv("HOME", savedHome.c_str(), 1);
    EXPECT_TRUE(ran);
    const std::string saved = workingFile("order.sno");
    EXPECT_EQ(saved, "  10x15     lesk    bez     1    " + photos + "/c.jpg\r\n" +
                         "  10x15     lesk    bez     1    " + photos + "/a.jpg\r\n");
}

TEST_F(OnScreen, ALongNewsMessageScrollsInItsLabel) {
    std::string text;
    for (int i = 1; i <= 60; ++i)
        text += "Řádek " + std::to_string(i) + " zprávy z laboratoře, dost dlouhý na zalomení.\n";
    folder_.write("message.txt", "5 Novinky\nhttp://lab.example/akce\n" + cp1250::fromUtf8(text).text);
    ui::wxgui::WxDesktop desktop;
    bool ran = false;
    wxtest::ScriptedWindows::instance().scriptNextWindow(
        res::kNewsDialog, [&](ui::DialogHost& host, contract::UserActions& user) {
            ran = true;
            auto& window = dynamic_cast<ui::wxgui::WxDialog&>(host);
            wxtest::settle();
            auto* label = dynamic_cast<ui::wxgui::LabelWidget*>(window.FindWindow(news_ids::kText));
            ASSERT_NE(label, nullptr);
            // The text is far taller than its label: a scroll bar, starting at the top.
            EXPECT_GT(label->lineCount(), 60);
            EXPECT_EQ(label->firstLine(), 0);
            EXPECT_GT(label->GetScrollRange(wxVERTICAL), label->GetScrollThumb(wxVERTICAL));
            const int windowHeight = window.GetSize().GetHeight();

            wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
            wheel.m_wheelRotation = -2 * 120;
            wheel.m_wheelDelta = 120;
            wheel.m_linesPerAction = 3;
            wheel.SetEventObject(label);
            label->ProcessWindowEvent(wheel);
            EXPECT_EQ(label->firstLine(), 6);

            wxScrollWinEvent bottom(wxEVT_SCROLLWIN_BOTTOM, 0, wxVERTICAL);
            bottom.SetEventObject(label);
            label->ProcessWindowEvent(bottom);
            const int last = label->firstLine();
            EXPECT_GT(last, 6);
            wxScrollWinEvent down(wxEVT_SCROLLWIN_LINEDOWN, 0, wxVERTICAL);
            down.SetEventObject(label);
            label->ProcessWindowEvent(down);
            EXPECT_EQ(label->firstLine(), last);  // the last line stays in sight
            wxtest::settle();
            EXPECT_EQ(window.GetSize().GetHeight(), windowHeight);  // the window keeps its size

            // A short text takes no scroll bar.
            host.label(news_ids::kText).setText("Krátká zpráva.");
            EXPECT_EQ(label->firstLine(), 0);
            EXPECT_LE(label->lineCount(), 1);
            user.click(news_ids::kClose);
        });
    CMessageDlg message;
    desktop.runModal(message, newsTemplate());
    EXPECT_TRUE(ran);
    EXPECT_FALSE(folder_.exists("message.txt"));
}

TEST_F(OnScreen, AfterACorrectionOfTheCopiesTheCaretStandsAtTheEnd) {
    ASSERT_TRUE(run([&](ui::DialogHost& host, contract::UserActions& user) {
        wxtest::settle();
        auto& copies = dynamic_cast<wxTextCtrl&>(*ui::wxgui::widgetOf(host.control(kCopies)));
        // Typed on the X server's keyboard into the field, as the customer typed; the field has the
        // focus throughout (focusing a field selects its text).
        wxUIActionSimulator keyboard;
        keyboard.MouseMove(copies.GetScreenRect().GetPosition() + wxPoint(4, 4));
        host.edit(kCopies).setText("");
        copies.SetFocus();
        wxtest::settle();
        const auto type = [&](const char* keys) {
            for (const char* key = keys; *key != '\0'; ++key) {
                keyboard.Char(*key);
                wxtest::settle();
            }
        };
        type("0");
        EXPECT_EQ(host.edit(kCopies).text(), "1");
        EXPECT_EQ(copies.GetInsertionPoint(), 1);
        type("5");
        EXPECT_EQ(host.edit(kCopies).text(), "15");
        type("34");
        EXPECT_EQ(host.edit(kCopies).text(), "153");
        EXPECT_EQ(copies.GetInsertionPoint(), 3);
        user.pressEscape();
    }));
}

TEST_F(OnScreen, FilesDroppedFromTheFileManagerJoinTheOrder) {
    folder_.write("snapord2.ini",
                  "[format]\r\nname=10 x 15 cm\r\nabbrev=10x15\r\nid=2\r\ndefault=1\r\n"
                  "[surface]\r\nname=Lesklý\r\nabbrev=lesk\r\nid=1\r\ndefault=1\r\n"
                  "[margin]\r\nname=Bez okraje\r\nabbrev=bez\r\nid=1\r\ndefault=1\r\n"_cz);
    const std::string photos = folder_.path() + "/fotky";
    std::filesystem::create_directories(photos + "/výlet");
    for (const char* name : {"/a.jpg", "/výlet/b.jpg", "/výlet/c.tif", "/popis.txt"})
        folder_.write("fotky" + std::string(name), "x");
    ASSERT_TRUE(run([&](ui::DialogHost& host, contract::UserActions& user) {
        auto& window = dynamic_cast<ui::wxgui::WxDialog&>(host);
        wxtest::settle();
        // The window is a drop target; the toolkit delivers a drop as this event, with the names in
        // the toolkit's strings.
        EXPECT_NE(window.GetDropTarget(), nullptr);
        auto* names =
            new wxString[3]{wxString::FromUTF8(photos + "/a.jpg"), wxString::FromUTF8(photos + "/výlet"),
                            wxString::FromUTF8(photos + "/popis.txt")};
        wxDropFilesEvent drop(wxEVT_DROP_FILES, 3, names);
        window.ProcessWindowEvent(drop);
        wxtest::settle();
        const std::string trip = photos + "/v\xFDlet";
        ASSERT_EQ(host.list(kOrderList).count(), 3);
        EXPECT_EQ(host.list(kOrderList).itemText(0), "  10x15     lesk    bez     1    " + photos + "/a.jpg");
        EXPECT_EQ(host.list(kOrderList).itemText(1), "  10x15     lesk    bez     1    " + trip + "/b.jpg");
        EXPECT_EQ(host.list(kOrderList).itemText(2), "  10x15     lesk    bez     1    " + trip + "/c.tif");
        user.pressEscape();
    }));
}

}  // namespace

int main(int argc, char** argv) {
    return wxtest::runAllTests(argc, argv);
}
