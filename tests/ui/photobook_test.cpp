// "Poslat fotoknihu": a photobook folder chosen in the folder browser, sent through the main window's
// send path in photobook mode, or refused with the order left as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "text/format.h"
#include "ui/main_photobook.h"
#include "ui/order_params_dlg.h"

namespace {

using main_window_test::kDefaultColumns;
using main_window_test::MainWindowTest;
using ui::MessageIcon;
using ui::headless::HeadlessWindow;

class Photobook : public MainWindowTest {
  public:
    Photobook() {
        hooks_.runOrderParams = runOrderParams;
        hooks_.sendPhotobook = SendPhotobook;
        folder_.write("data/Snapord/2.0.24.3/snapord2.ini",
                      main_window_test::catalogue() +
                          std::string("[pay]\r\nname=Hotově\r\nabbrev=hot\r\nid=1\r\ndefault=1\r\n"
                                      "[order]\r\nname=Fotokniha\r\nabbrev=kniha\r\nid=9\r\ndefault=1\r\n"
                                      "name=Fotografie\r\nabbrev=foto\r\nid=5\r\ndefault=0\r\n"_cz));
    }

    std::string book() const { return folder_.file("kniha"); }
    void writeSheet(const std::string& name) const { folder_.write("kniha/" + name, "sheet " + name); }

    // A photobook sent with an order of the user's own in the main window, which it must not touch.
    void keepOwnOrder() {
        folder_.write("fotky/own.jpg", "x");
        keepOrder(ownOrder());
    }
    std::string ownOrder() const { return std::string(kDefaultColumns) + photo("own.jpg") + "\r\n"; }
    void sendPhotobook() {
        OrderSession session{document_, request_, desktop_, dialog()};
        SendPhotobook(session);
    }
};

TEST_F(Photobook, TheFolderIsSentAsOneSlotPerFileInNameOrderWithOnlyThePhotobookOffered) {
    for (const char* name : {"list3.jpg", "iof.xml", "List1.jpg", "list2.jpg"})
        writeSheet(name);
    writeSheet("nahledy/list1.jpg");
    keepOwnOrder();
    bool photobookModeWhileSending = false;
    hooks_.runSending = [&](OrderSession& session) {
        photobookModeWhileSending = session.mainWindow.photobookMode();
        return SendingOutcome::Nothing;
    };
    auto window = open();
    desktop_.chooseNextFolder(book());
    std::vector<std::string> names;
    desktop_.onModal(res::kOrderParamsDialog, [&](HeadlessWindow& parameters) {
        for (const DocumentEntry& entry : document_.entries()) {
            if (entry.used != 0)
                names.push_back(entry.fileName);
        }
        EXPECT_TRUE(parameters.check(params_ids::kProduct1).isVisible());
        EXPECT_FALSE(parameters.check(params_ids::kProduct1).isEnabled());
        EXPECT_FALSE(parameters.check(params_ids::kProduct2).isVisible());
        parameters.click(params_ids::kSend);
    });

    sendPhotobook();
    EXPECT_EQ(desktop_.folderBrowserTitles(),
              std::vector<std::string>{std::string("Vyberte složku, ve které je uložena fotokniha:"_cz)});
    EXPECT_EQ(names, (std::vector<std::string>{"iof.xml", "List1.jpg", "list2.jpg", "list3.jpg"}));
    EXPECT_TRUE(photobookModeWhileSending);
    EXPECT_FALSE(dialog().photobookMode());
    const auto entries = document_.entries();
    EXPECT_EQ(entries[0].photo.formatId, 87);
    EXPECT_EQ(entries[0].photo.description, "Fotokniha - parametry");
    EXPECT_EQ(entries[3].photo.formatId, 153);
    EXPECT_EQ(entries[3].photo.description, "List fotoknihy");
    EXPECT_EQ(entries[3].folder, book());
    // The user's own order is as it was, in the window and on the disk.
    EXPECT_EQ(window->list(main_ids::kOrderList).count(), 1);
    EXPECT_EQ(workingFile("order.sno"), ownOrder());
    EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(Photobook, CancelledInTheParametersDialogPhotobookModeIsClearedAgain) {
    writeSheet("iof.xml");
    writeSheet("list1.jpg");
    bool sendingRan = false;
    hooks_.runSending = [&](OrderSession&) {
        sendingRan = true;
        return SendingOutcome::Nothing;
    };
    auto window = open();
    desktop_.chooseNextFolder(book());
    bool photobookModeInDialog = false;
    desktop_.onModal(res::kOrderParamsDialog, [&](HeadlessWindow& parameters) {
        photobookModeInDialog = dialog().photobookMode();
        parameters.click(params_ids::kBack);
    });
    window->click(main_ids::kPhotobook);
    EXPECT_TRUE(photobookModeInDialog);
    EXPECT_FALSE(sendingRan);
    EXPECT_FALSE(dialog().photobookMode());
    EXPECT_EQ(desktop_.unusedScripts(), 0u);
    // The document holds the photobook until the next send rebuilds it.
    EXPECT_EQ(document_.usedCount(), 2u);
}

TEST_F(Photobook, AFolderThatIsNoPhotobookOrCannotGoWholeIsRefusedAndTheOrderStaysAsItWas) {
    struct Row {
        const char* name;
        std::function<void(const Photobook&)> prepare;
        std::string message;  // empty: refused without a message
    };
    const std::string noPhotobook =
        std::string("Adresář neobsahuje fotoknihu,\r\nproveďte prosím výběr znova."_cz);
    const Row rows[] = {
        {"no iof.xml", [](const Photobook& t) { t.writeSheet("list1.jpg"); }, noPhotobook},
        {"iof.xml is a folder",
         [](const Photobook& t) {
             t.writeSheet("list1.jpg");
             std::filesystem::create_directories(t.book() + "/iof.xml");
         },
         noPhotobook},
        {"2000 files",
         [](const Photobook& t) {
             t.writeSheet("iof.xml");
             for (int i = 1; i < 2000; ++i)
                 t.writeSheet(text::format("list%04d.jpg", i));
         },
         std::string("Složka s fotoknihou obsahuje 2000 souborů, objednávka jich pojme nejvýše 1999.\r\n"
                     "Fotokniha nebyla odeslána."_cz)},
        {"a name cp1250 cannot hold",
         [](const Photobook& t) {
             t.writeSheet("iof.xml");
             t.writeSheet("list\xE2\x98\x83.jpg");
         },
         std::string(
             "Název souboru „list?.jpg“ ve složce s fotoknihou obsahuje znaky, které program neumí "
             "zapsat.\r\nPřejmenujte prosím soubor a zkuste to znovu. Fotokniha nebyla odeslána."_cz)},
    };
    keepOwnOrder();
    auto window = open();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(book());
        row.prepare(*this);
        document_.reset();
        document_.addEntry(photos(), "own.jpg");
        const std::size_t shown = desktop_.messages().size();
        desktop_.chooseNextFolder(book());

        sendPhotobook();
        ASSERT_EQ(desktop_.messages().size(), shown + 1);
        EXPECT_EQ(desktop_.messages().back().text, row.message);
        EXPECT_EQ(desktop_.messages().back().icon, MessageIcon::Exclamation);
        EXPECT_TRUE(desktop_.modalRuns().empty());
        EXPECT_EQ(document_.usedCount(), 1u);
        EXPECT_EQ(document_.entries()[0].fileName, "own.jpg");
        EXPECT_EQ(window->list(main_ids::kOrderList).count(), 1);
        EXPECT_EQ(workingFile("order.sno"), ownOrder());
    }
}

TEST_F(Photobook, NoFolderChosenChangesNothing) {
    auto window = open();
    document_.addEntry(photos(), "own.jpg");
    desktop_.chooseNextFolder(std::nullopt);
    window->click(main_ids::kPhotobook);
    EXPECT_EQ(document_.usedCount(), 1u);
    EXPECT_TRUE(desktop_.messages().empty());
    EXPECT_TRUE(desktop_.modalRuns().empty());
}

}  // namespace
