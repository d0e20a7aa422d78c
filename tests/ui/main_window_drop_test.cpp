// Photographs reaching the order from outside the window: dropped from the file manager, named on the
// command line; and the missing-files question asked once per action.
#include <gtest/gtest.h>

#include <filesystem>

#include "main_window_fixture.h"
#include "text/cp1250.h"
#include "ui/dialog_resources.h"

namespace {

using namespace main_ids;
using main_window_test::kDefaultColumns;
using main_window_test::MainWindowTest;
using ui::MessageAnswer;

std::string rowOf(std::string_view columns, const std::string& path) {
    return std::string(columns) + path;
}

TEST_F(MainWindowTest, ADropOfFilesAndAFolderAddsTheirPicturesWithTheCurrentParameters) {
    for (const char* name : {"a.jpg", "b.TIFF", "popis.txt", "album/c.jpg", "album/Č.jpeg", "album/d.png",
                             "album/vnořené/e.jpg"}) {
        folder_.write("fotky/" + std::string(name), "x");
    }
    folder_.write("fotky/album/\xE2\x98\x83.jpg", "x");  // a snowman: no cp1250 name
    auto window = open();
    ASSERT_TRUE(window->acceptsDroppedFiles());
    window->eraseText(kCopies);
    window->type(kCopies, "2");

    window->dropFiles({photo("a.jpg"), photo("popis.txt"), photo("album"), photo("b.TIFF")});
    const std::string columns = "  10x15     lesk    bez     2    ";
    EXPECT_EQ(items(window->list(kOrderList)),
              (std::vector<std::string>{rowOf(columns, photo("a.jpg")), rowOf(columns, photo("album/c.jpg")),
                                        rowOf(columns, photo("album/\xC8.jpeg")),
                                        rowOf(columns, photo("b.TIFF"))}));
    EXPECT_EQ(dialog().order().size(), 4u);
    EXPECT_TRUE(window->button(kSend).isEnabled());
    EXPECT_EQ(window->label(kSummary).text().rfind("4 fotek, 8 kopií"_cz, 0), 0u);
    // The picture whose name cp1250 cannot write is told about as the file list tells it.
    EXPECT_EQ(window->label(kStatus).text(),
              "(vynecháno souborů, jejichž název obsahuje nepodporované znaky: 1)"_cz);
    EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(MainWindowTest, ADroppedFileIsRefusedAsAddRefusesIt) {
    const std::string longName = std::string(250, 'f') + ".jpg";
    folder_.write("fotky/" + longName, "x");
    auto window = open();
    window->dropFiles({photo(longName), std::filesystem::path(photos()) / "\xE2\x98\x83.jpg"});
    EXPECT_EQ(window->list(kOrderList).count(), 0);
    ASSERT_EQ(desktop_.messages().size(), 1u);
    EXPECT_EQ(desktop_.messages()[0].text,
              std::string("Soubor nelze přidat do objednávky, cesta k němu je delší než 259 znaků:\r\n"_cz) +
                  photo(longName));
    EXPECT_EQ(window->label(kStatus).text(),
              "(vynecháno souborů, jejichž název obsahuje nepodporované znaky: 1)"_cz);
}

TEST_F(MainWindowTest, PhotographsNamedOnTheCommandLineJoinTheOrderInProgress) {
    writePhoto("a.jpg");
    writePhoto("b.jpg");
    keepOrder(rowOf(kDefaultColumns, photo("a.jpg")) + "\r\n");
    dialog_ = std::make_unique<CMainOrderDlg>(document_, request_, shell_, environment_, hooks_);
    // The second name is no file: nothing to order.
    dialog_->AddAtStart(ui::droppedFiles({photo("b.jpg"), photo("chybi.jpg")}));
    auto window = desktop_.open(*dialog_, mainWindowTemplate());
    desktop_.pumpEvents();
    EXPECT_EQ(items(window->list(kOrderList)),
              (std::vector<std::string>{rowOf(kDefaultColumns, photo("a.jpg")),
                                        rowOf(kDefaultColumns, photo("b.jpg"))}));
    EXPECT_EQ(window->label(kSummary).text().rfind("2 fotek, 2 kopií"_cz, 0), 0u);
    EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(MainWindowTest, AtStartUpTheMissingFilesQuestionWaitsUntilTheWindowIsShown) {
    keepOrder(rowOf(kDefaultColumns, photo("ztracena.jpg")) + "\r\n");
    dialog_ = std::make_unique<CMainOrderDlg>(document_, request_, shell_, environment_, hooks_);
    auto window = desktop_.open(*dialog_, mainWindowTemplate());
    // Start-up is over, the window not yet shown: nothing asked, the summary already there.
    EXPECT_TRUE(desktop_.messages().empty());
    EXPECT_EQ(window->label(kSummary).text().rfind("1 fotek"_cz, 0), 0u);
    desktop_.answerNextQuestion(MessageAnswer::No);
    desktop_.pumpEvents();
    ASSERT_EQ(desktop_.messages().size(), 1u);
    EXPECT_EQ(desktop_.messages()[0].text, "V zakázce chybí 1 fotografií\r\nChcete objednávku smazat?"_cz);
    desktop_.pumpEvents();
    EXPECT_EQ(desktop_.messages().size(), 1u);
}

TEST_F(MainWindowTest, OneDeleteAsksOnceAboutMissingFiles) {
    writePhoto("a.jpg");
    writePhoto("b.jpg");
    keepOrder(rowOf(kDefaultColumns, photo("a.jpg")) + "\r\n" + rowOf(kDefaultColumns, photo("b.jpg")) +
              "\r\n" + rowOf(kDefaultColumns, photo("ztracena.jpg")) + "\r\n");
    desktop_.answerNextQuestion(MessageAnswer::No);
    auto window = open();
    ASSERT_EQ(desktop_.messages().size(), 1u);

    window->clickItem(kOrderList, 0);
    desktop_.answerNextQuestion(MessageAnswer::No);
    settlePreview();
    const std::size_t before = desktop_.messages().size();
    // Delete removes a.jpg and selects b.jpg, whose preview loads: one press, one question.
    desktop_.answerNextQuestion(MessageAnswer::No);
    window->pressKey(kOrderList, {ui::Key::Delete, true, 1, false});
    settlePreview();
    EXPECT_EQ(window->label(kStatus).text(), photo("b.jpg") + " (40x30)");
    ASSERT_EQ(desktop_.messages().size(), before + 1);
    EXPECT_EQ(desktop_.messages().back().text,
              "V zakázce chybí 1 fotografií\r\nChcete objednávku smazat?"_cz);
    EXPECT_EQ(desktop_.unusedScripts(), 0u);
}

TEST_F(MainWindowTest, OnAScreenOfTwoDevicePixelsPerPixelThePreviewIsMadeOfDevicePixels) {
    // Stored lying on its side with the EXIF orientation 6: upright a portrait of 1500 x 2000.
    test_pictures::writeJpeg(photo("portrait.jpg"), test_pictures::gradient(2000, 1500),
                             test_pictures::JpegKind::Colour, 92, 6);
    auto window = open();
    window->setPixelScale(2);
    chooseFolder(*window, "Fotky");
    window->clickItem(kFileList, 0);
    settlePreview();
    EXPECT_EQ(window->label(kStatus).text(), photo("portrait.jpg") + " (1500x2000)");
    window->paint();
    const ui::Rect frame = window->control(kPreview).rect();
    ASSERT_FALSE(window->lastPainting().empty());
    const auto& drawn = window->lastPainting()[0];
    // 800 x 600 device pixels over the 400 x 300 of the frame, the upright picture 450 x 600 of them in
    // the middle of the grey canvas.
    EXPECT_EQ(drawn.scale, 2);
    EXPECT_EQ(drawn.picture.width(), 800);
    EXPECT_EQ(drawn.picture.height(), 600);
    EXPECT_EQ(drawn.x, frame.x + 2);
    EXPECT_EQ(drawn.y, frame.y + 2);
    const auto pixel = [&](int x, int y) {
        const auto at = (static_cast<std::size_t>(y) * 800 + x) * 3;
        return Rgb{drawn.picture.pixels()[at], drawn.picture.pixels()[at + 1],
                   drawn.picture.pixels()[at + 2]};
    };
    EXPECT_EQ(pixel(174, 300), (Rgb{176, 176, 176}));
    EXPECT_NE(pixel(176, 300), (Rgb{176, 176, 176}));
    EXPECT_NE(pixel(623, 300), (Rgb{176, 176, 176}));
    EXPECT_EQ(pixel(626, 300), (Rgb{176, 176, 176}));
}

}  // namespace
