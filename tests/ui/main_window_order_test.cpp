// The main window building an order: the file list, the preview, the parameters, the order list and
// its summary.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui_texts.h"
#include "main_window_fixture.h"
#include "platform/collation.h"

namespace {

using namespace main_ids;
using main_window_test::kDefaultColumns;
using main_window_test::MainWindowTest;
using ui::MessageAnswer;
using ui::headless::HeadlessButton;
using ui::headless::HeadlessWindow;

std::string rowOf(std::string_view columns, const std::string& path) {
    return std::string(columns) + path;
}

TEST_F(MainWindowTest, ListsOnlyThePicturesOfTheChosenFolderInCzechOrder) {
    if (!platform::hasCzechCollation())
        GTEST_SKIP() << "the system has no cs_CZ locale (scripts/setup makes it)";
    for (const char* name : {"chata.jpg", "čáp.JPG", "cihla.jpeg", "dům.TIFF", "ela.tif", "žába.jpg",
                             "obrázek.png", "foto.jpe", "pozn.txt", ".skrytý.jpg", "жук.jpg"})
        folder_.write(std::string("fotky/") + name, "x");
    std::filesystem::create_directory(photo("album.jpg"));
    auto window = open();

    chooseFolder(*window, "Fotky");
    EXPECT_EQ(items(window->list(kFileList)),
              (std::vector<std::string>{"cihla.jpeg", std::string("čáp.JPG"_cz), std::string("dům.TIFF"_cz),
                                        "ela.tif", "chata.jpg", std::string("žába.jpg"_cz)}));
    // The Cyrillic name cannot be written in cp1250, so it cannot be ordered: the user learns of it.
    EXPECT_EQ(
        window->label(kStatus).text(),
        photos() + std::string("   (vynecháno souborů, jejichž název obsahuje nepodporované znaky: 1)"_cz));
    // A folder is no picture: nothing was previewed.
    EXPECT_EQ(dialog().preview().lastPath(), "");

    chooseFolder(*window, "Počítač"_cz);
    EXPECT_EQ(window->list(kFileList).count(), 0);
    EXPECT_EQ(window->label(kStatus).text(), "");
}

TEST_F(MainWindowTest, EnterAddsTheSelectedFilesAndWalksOnToTheNextPicture) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        writePhoto(name);
    writePhoto("d.jpg", 80, 60);
    auto window = open();
    chooseFolder(*window, "Fotky");
    window->clickItem(kFileList, 0);
    EXPECT_TRUE(window->button(kAdd).isEnabled());
    window->ctrlClickItem(kFileList, 1);
    window->ctrlClickItem(kFileList, 2);
    settlePreview();
    EXPECT_EQ(window->label(kStatus).text(), photo("c.jpg") + " (40x30)");

    window->pressEnter();
    settlePreview();
    EXPECT_EQ(items(window->list(kOrderList)),
              (std::vector<std::string>{rowOf(kDefaultColumns, photo("a.jpg")),
                                        rowOf(kDefaultColumns, photo("b.jpg")),
                                        rowOf(kDefaultColumns, photo("c.jpg"))}));
    EXPECT_EQ(window->list(kFileList).selectedItems(), std::vector<int>{3});
    EXPECT_EQ(window->list(kFileList).caret(), 3);
    EXPECT_EQ(window->label(kStatus).text(), photo("d.jpg") + " (80x60)");
    EXPECT_FALSE(desktop_.waitCursorShown());
    EXPECT_TRUE(window->button(kSend).isEnabled());
    EXPECT_TRUE(window->button(kDeleteOrder).isEnabled());
    EXPECT_FALSE(window->button(kPhotobook).isEnabled());
    EXPECT_EQ(window->label(kSummary).text(), "3 fotek, 3 kopií, 0,00 MB"_cz);

    // The preview stands inside its frame, the header in the window's corner.
    window->paint();
    const ui::Rect frame = window->control(kPreview).rect();
    ASSERT_EQ(window->lastPainting().size(), 2u);
    EXPECT_EQ(window->lastPainting()[0].x, frame.x + 2);
    EXPECT_EQ(window->lastPainting()[0].y, frame.y + 2);
    EXPECT_EQ(window->lastPainting()[0].picture.width(), 400);
    EXPECT_EQ(window->lastPainting()[0].picture.height(), 300);
    EXPECT_EQ(window->lastPainting()[1].x, 2);
    EXPECT_EQ(window->lastPainting()[1].picture.width(), 380);

    // The last picture of the folder: added, and there is nothing further to walk to.
    window->pressEnter();
    EXPECT_EQ(window->list(kOrderList).count(), 4);
    EXPECT_TRUE(window->list(kFileList).selectedItems().empty());
    // A double click adds the file under the caret once.
    window->doubleClickItem(kFileList, 0);
    EXPECT_EQ(window->list(kOrderList).count(), 5);
    EXPECT_EQ(window->list(kOrderList).itemText(4), rowOf(kDefaultColumns, photo("a.jpg")));
}

TEST_F(MainWindowTest, PreviewLoadsAPathOnceAndSaysWhyAPictureCannotBeShown) {
    writePhoto("a.jpg");
    folder_.write("fotky/b.jpg", "not a picture");
    folder_.write("fotky/c.tiff", "Dobrý den\r\n"_cz);
    std::string cut = test_pictures::jpegBytes(test_pictures::gradient(80, 60));
    folder_.write("fotky/d.jpg", cut.substr(0, cut.size() / 2));
    folder_.write("fotky/e.tif", std::string("II*\0\x08\0\0\0", 8));
    auto window = open();
    chooseFolder(*window, "Fotky");
    window->clickItem(kFileList, 0);
    settlePreview();
    const int loads = desktop_.waitCursorBegins();
    window->clickItem(kFileList, 0);
    EXPECT_EQ(desktop_.waitCursorBegins(), loads);

    const struct {
        int item;
        const char* name;
        std::string status;
    } rows[] = {
        {1, "b.jpg", std::string(" (soubor není obrázek)"_cz)},
        {2, "c.tiff", std::string(" (soubor není obrázek)"_cz)},
        {3, "d.jpg", std::string(" (poškozený obrázek)"_cz)},
        {4, "e.tif", std::string(" (poškozený obrázek)"_cz)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        window->clickItem(kFileList, 0);
        settlePreview();
        ASSERT_TRUE(dialog().preview().picture().isValid());

        // While it loads: the loading text, the wait cursor, and the preview frame emptied at once.
        window->clickItem(kFileList, row.item);
        EXPECT_EQ(window->label(kStatus).text(), std::string("Nahrávám"_cz) + photo(row.name) + "...");
        EXPECT_TRUE(desktop_.waitCursorShown());
        EXPECT_FALSE(dialog().preview().picture().isValid());
        ASSERT_EQ(window->lastPainting().size(), 1u);  // the header only

        settlePreview();
        EXPECT_EQ(window->label(kStatus).text(), photo(row.name) + row.status);
        EXPECT_FALSE(dialog().preview().picture().isValid());
        EXPECT_EQ(window->lastPainting().size(), 1u);
        EXPECT_FALSE(desktop_.waitCursorShown());
    }
}

TEST_F(MainWindowTest, OnlyTheLatestChoiceIsPreviewedAndAStatusWrittenMeanwhileStays) {
    writePhoto("a.jpg", 40, 30);
    writePhoto("b.jpg", 60, 20);
    auto window = open();
    chooseFolder(*window, "Fotky");
    // Two choices before the loader's results are dispatched: the first one's result is dropped.
    window->clickItem(kFileList, 0);
    dialog().WaitForPreview();
    window->clickItem(kFileList, 1);
    settlePreview();
    EXPECT_EQ(window->label(kStatus).text(), photo("b.jpg") + " (60x20)");
    EXPECT_EQ(dialog().preview().loadedWidth(), 60);
    desktop_.pumpEvents();
    EXPECT_EQ(dialog().preview().loadedWidth(), 60);

    // A folder chosen while a picture loads keeps its own text in the status line.
    window->clickItem(kFileList, 0);
    chooseFolder(*window, "Počítač"_cz);
    settlePreview();
    EXPECT_EQ(window->label(kStatus).text(), "");
    EXPECT_EQ(dialog().preview().loadedWidth(), 40);
}

TEST_F(MainWindowTest, APortraitPhotographIsPreviewedUpright) {
    // Stored lying on its side, 80 x 60, with the EXIF orientation 6: upright it is 60 x 80.
    test_pictures::writeJpeg(photo("portrait.jpg"), test_pictures::gradient(80, 60),
                             test_pictures::JpegKind::Colour, 92, 6);
    auto window = open();
    chooseFolder(*window, "Fotky");
    window->clickItem(kFileList, 0);
    settlePreview();
    EXPECT_EQ(window->label(kStatus).text(), photo("portrait.jpg") + " (60x80)");
    EXPECT_EQ(dialog().preview().loadedWidth(), 60);
    EXPECT_EQ(dialog().preview().loadedHeight(), 80);
}

TEST_F(MainWindowTest, ParametersChangeTheSelectedRowsOnlyWhileTheOrderListWasUsedLast) {
    writePhoto("a.jpg");
    writePhoto("b.jpg");
    auto window = open();
    chooseFolder(*window, "Fotky");
    window->clickItem(kFileList, 0);
    window->ctrlClickItem(kFileList, 1);
    window->pressEnter();
    const std::vector<std::string> added = items(window->list(kOrderList));

    // After a click in the file list the parameters are for the next files only.
    window->clickItem(kFileList, 0);
    window->chooseItem(kPaper, 1);
    window->eraseText(kCopies);
    window->type(kCopies, "5");
    EXPECT_EQ(items(window->list(kOrderList)), added);

    // A click on a row shows the remove button and leaves the choices as they were.
    window->clickItem(kOrderList, 0);
    EXPECT_TRUE(window->button(kRemove).isVisible());
    EXPECT_FALSE(window->button(kAdd).isVisible());
    EXPECT_EQ(window->combo(kPaper).selection(), 1);
    EXPECT_EQ(window->edit(kCopies).text(), "5");
    EXPECT_EQ(items(window->list(kOrderList)), added);

    window->chooseItem(kFormat, 1);
    window->chooseItem(kBorder, 1);
    EXPECT_EQ(window->list(kOrderList).itemText(0), "  13x18     lesk   okraj    1    " + photo("a.jpg"));
    EXPECT_EQ(window->list(kOrderList).itemText(1), added[1]);
    EXPECT_EQ(window->list(kOrderList).selectedItems(), std::vector<int>{0});
}

TEST_F(MainWindowTest, TheCopiesFieldHoldsOneToThreeDigitsAndAnEmptyFieldMeansOneCopy) {
    writePhoto("a.jpg");
    auto window = open();
    struct Row {
        const char* name;
        const char* typed;
        const char* shown;
    };
    for (const Row& row : {Row{"four digits are cut to three", "1234", "123"},
                           Row{"zero becomes one", "0", "1"}, Row{"an empty field stays empty", "", ""}}) {
        SCOPED_TRACE(row.name);
        window->eraseText(kCopies);
        window->type(kCopies, row.typed);
        EXPECT_EQ(window->edit(kCopies).text(), row.shown);
    }
    chooseFolder(*window, "Fotky");
    window->clickItem(kFileList, 0);
    window->pressEnter();
    EXPECT_EQ(window->list(kOrderList).itemText(0), rowOf(kDefaultColumns, photo("a.jpg")));

    // With a row selected the field sets its copies as it is typed, and the summary follows.
    window->clickItem(kOrderList, 0);
    window->type(kCopies, "12");
    EXPECT_EQ(window->list(kOrderList).itemText(0), "  10x15     lesk    bez    12    " + photo("a.jpg"));
    EXPECT_EQ(window->label(kSummary).text(), "1 fotek, 12 kopií, 0,00 MB"_cz);
    window->eraseText(kCopies);
    EXPECT_EQ(window->list(kOrderList).itemText(0), rowOf(kDefaultColumns, photo("a.jpg")));
}

TEST_F(MainWindowTest, DeleteAndBackspaceRemoveTheSelectedRowsOncePerPress) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        folder_.write(std::string("fotky/") + name, "x");
    std::string kept;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        kept += rowOf(kDefaultColumns, photo(name)) + "\r\n";
    keepOrder(kept);
    auto window = open();
    auto& rows = window->list(kOrderList);
    window->clickItem(kOrderList, 1);
    window->ctrlClickItem(kOrderList, 2);

    struct Press {
        const char* name;
        ui::KeyEvent key;
    };
    for (const Press& press : {Press{"a held Delete repeats", {ui::Key::Delete, true, 1, true}},
                               Press{"auto-repeat folded into one event", {ui::Key::Delete, true, 3, false}},
                               Press{"the keypad's Delete", {ui::Key::Delete, false, 1, false}},
                               Press{"another key", {ui::Key::Other, false, 1, false}}}) {
        SCOPED_TRACE(press.name);
        window->pressKey(kOrderList, press.key);
        EXPECT_EQ(rows.count(), 4);
    }

    window->pressKey(kOrderList, {ui::Key::Delete, true, 1, false});
    EXPECT_EQ(items(rows), (std::vector<std::string>{rowOf(kDefaultColumns, photo("a.jpg")),
                                                     rowOf(kDefaultColumns, photo("d.jpg"))}));
    // The row after the deleted ones is selected and handled as clicked.
    EXPECT_EQ(rows.selectedItems(), std::vector<int>{1});
    EXPECT_EQ(dialog().preview().lastPath(), photo("d.jpg"));
    EXPECT_EQ(window->label(kSummary).text(), "2 fotek, 2 kopií, 0,00 MB"_cz);

    window->pressKey(kOrderList, {ui::Key::Backspace, false, 1, false});
    EXPECT_EQ(items(rows), std::vector<std::string>{rowOf(kDefaultColumns, photo("a.jpg"))});
    EXPECT_TRUE(rows.selectedItems().empty());

    window->clickItem(kOrderList, 0);
    window->click(kRemove);
    EXPECT_EQ(rows.count(), 0);
    EXPECT_TRUE(dialog().order().empty());
    EXPECT_FALSE(window->button(kSend).isEnabled());
    EXPECT_TRUE(window->button(kPhotobook).isEnabled());
}

TEST_F(MainWindowTest, TheSummaryAsksAboutMissingFilesAndDeletingTheOrderAsksAgain) {
    folder_.write("fotky/velka.jpg", std::string(1572864, 'x'));
    std::filesystem::create_directory(photo("album.jpg"));
    keepOrder(rowOf("  10x15     lesk    bez     2    ", photo("velka.jpg")) + "\r\n" +
              rowOf(kDefaultColumns, photo("ztracena.jpg")) + "\r\n" +
              rowOf(kDefaultColumns, photo("album.jpg")) + "\r\n");
    desktop_.answerNextQuestion(MessageAnswer::No);
    auto window = open();
    ASSERT_EQ(desktop_.messages().size(), 2u);
    EXPECT_EQ(desktop_.messages()[0].text, "invalid size");
    EXPECT_EQ(desktop_.messages()[1].text, "V zakázce chybí 1 fotografií\r\nChcete objednávku smazat?"_cz);
    EXPECT_EQ(desktop_.messages()[1].icon, ui::MessageIcon::Question);
    EXPECT_EQ(window->label(kSummary).text(), "3 fotek, 4 kopií, 1,50 MB"_cz);

    // No to the delete button; then Yes to the missing files, whose delete asks once more: No again.
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::No})
        desktop_.answerNextQuestion(answer);
    window->click(kDeleteOrder);
    EXPECT_EQ(window->list(kOrderList).count(), 3);
    ASSERT_EQ(desktop_.messages().size(), 8u);
    for (std::size_t asked : {2u, 5u}) {
        EXPECT_EQ(desktop_.messages()[asked].text, uiText(UiText::AskDeleteOrder));
        EXPECT_EQ(desktop_.messages()[asked].caption, "Smazání celé objednávky"_cz);
    }

    desktop_.answerNextQuestion(MessageAnswer::Yes);
    window->click(kDeleteOrder);
    EXPECT_EQ(window->list(kOrderList).count(), 0);
    EXPECT_EQ(window->label(kSummary).text(), "0 fotek, 0 kopií, 0,00 MB"_cz);
    EXPECT_TRUE(std::filesystem::exists(photo("velka.jpg")));
    EXPECT_EQ(desktop_.unusedScripts(), 0u);
}

TEST_F(MainWindowTest, AFileThatCannotBeOrderedIsRefusedWithAMessage) {
    struct Row {
        const char* name;
        std::string file;
        std::string_view message;
    };
    const Row rows[] = {
        {"a path longer than 259 characters", std::string(250, 'f') + ".jpg",
         "Soubor nelze přidat do objednávky, cesta k němu je delší než 259 znaků:\r\n"_cz},
        {"a line break that order.sno cannot keep", "radek\nzlom.jpg",
         "Soubor nelze přidat do objednávky, jeho cestu nelze uložit:\r\n"_cz},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(photos());
        folder_.write("fotky/" + row.file, "x");
        const std::size_t shown = desktop_.messages().size();
        auto window = open();
        chooseFolder(*window, "Fotky");
        window->clickItem(kFileList, 0);
        window->pressEnter();
        EXPECT_EQ(window->list(kOrderList).count(), 0);
        ASSERT_EQ(desktop_.messages().size(), shown + 1);
        EXPECT_EQ(desktop_.messages().back().text, std::string(row.message) + photo(row.file));
        EXPECT_EQ(desktop_.messages().back().icon, ui::MessageIcon::Exclamation);
    }
}

}  // namespace
