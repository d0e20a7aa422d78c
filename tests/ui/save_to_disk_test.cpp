// Save to disk as the sending dialog runs it: the folder browser, the order written, the closing message.
#include "ui/save_to_disk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"
#include "text/cp1250.h"
#include "ui/controls/headless/headless_desktop.h"

namespace {

using testing_support::TempFolder;
using ui::MessageIcon;

class MainWindowStandIn : public MainWindowLink {
  public:
    void ShowWindow(bool visible) override { shown = visible; }
    void ShowStatus(std::string_view) override {}
    bool photobookMode() const override { return false; }
    void SendPhotobookDocument() override {}
    bool shown = false;
};

class SaveToDisk : public testing::Test {
  protected:
    SaveToDisk() {
        std::filesystem::create_directories(chosen());
        // The working copies the transfer wrote before it handed over.
        folder_.write("work/obj.snf", "working order file");
        folder_.write("work/obj.lace", "working lace file");
        folder_.write("fotky/a.jpg", "A");
        document_.setIdentity({"2024-05-17", "srv", "123", "0815"});
        document_.addEntry(folder_.file("fotky"), "a.jpg");
    }

    std::string chosen() const { return folder_.file("usb"); }
    // The working folder, which is the current directory while the transfer runs.
    std::string workingFolder() const {
        std::filesystem::create_directories(folder_.file("work"));
        return folder_.file("work");
    }
    bool save() { return SaveOrderToDisk(session_); }
    const ui::headless::MessageRecord& onlyMessage() const {
        EXPECT_EQ(desktop_.messages().size(), 1u);
        return desktop_.messages().back();
    }

    TempFolder folder_;
    testing_support::CurrentFolderScope inWorkingFolder_{workingFolder()};
    ui::headless::HeadlessDesktop desktop_;
    OrderDocument document_;
    ServerRequest request_;
    MainWindowStandIn mainWindow_;
    OrderSession session_{document_, request_, desktop_, mainWindow_};
};

TEST_F(SaveToDisk, TheChosenFolderGetsTheOrderAndTheCustomerIsToldWhere) {
    desktop_.chooseNextFolder(chosen());
    EXPECT_TRUE(save());
    EXPECT_TRUE(mainWindow_.shown);
    EXPECT_EQ(desktop_.folderBrowserTitles(),
              std::vector<std::string>{std::string("Vyberte složku, do které chcete objednávku uložit:"_cz)});
    const std::string saved = chosen() + "/Snapord-save-0000";
    EXPECT_EQ(folder_.read("usb/Snapord-save-0000/001_0815_a.jpg"), "A");
    EXPECT_TRUE(folder_.exists("usb/Snapord-save-0000/000_obj.snf"));
    const auto& message = onlyMessage();
    EXPECT_EQ(message.text,
              std::string("Zakázka byla zkopírována do této složky:\r\n"_cz) + saved +
                  std::string("\r\nDoručte nám ji prosím na paměťovém médiu (CD, flash disk...) "
                              "k výrobě."_cz));
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.caption, "Snapord");  // no caption of its own
    // The working copies stay where the transfer left them.
    EXPECT_EQ(folder_.read("work/obj.snf"), "working order file");
    EXPECT_EQ(folder_.read("work/obj.lace"), "working lace file");
}

TEST_F(SaveToDisk, ACancelledBrowserWritesNothingAndSaysNothing) {
    desktop_.chooseNextFolder(std::nullopt);
    EXPECT_FALSE(save());
    EXPECT_TRUE(mainWindow_.shown);
    EXPECT_TRUE(desktop_.messages().empty());
    EXPECT_TRUE(std::filesystem::is_empty(chosen()));
}

TEST_F(SaveToDisk, AnIncompleteFolderIsReportedWithWhatIsMissingNotAsSaved) {
    document_.addEntry(folder_.file("fotky"), "gone.jpg");
    desktop_.chooseNextFolder(chosen());
    EXPECT_FALSE(save());
    const auto& message = onlyMessage();
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(message.text, std::string("Objednávku se nepodařilo uložit celou do této složky:\r\n"_cz) +
                                chosen() + std::string("/Snapord-save-0000\r\nChybí fotografie:\r\n"_cz) +
                                folder_.file("fotky/gone.jpg") +
                                std::string("\r\nSložku v tomto stavu prosím nedoručujte. Opravte chybu a "
                                            "uložte objednávku znovu."_cz));
}

TEST_F(SaveToDisk, AFolderThatCannotBeCreatedIsReportedAndNothingClaimsSuccess) {
    desktop_.chooseNextFolder(folder_.file("pulled-out-stick"));
    EXPECT_FALSE(save());
    const auto& message = onlyMessage();
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    const std::string start = std::string("Složku pro objednávku se nepodařilo vytvořit:\r\n"_cz) +
                              folder_.file("pulled-out-stick/Snapord-save-0000") + "\r\n";
    EXPECT_EQ(message.text.substr(0, start.size()), start);
    EXPECT_EQ(message.text.find("Zakázka byla"_cz), std::string::npos);
}

TEST_F(SaveToDisk, ALongListOfMissingPhotographsNamesTheFirstTenAndCountsTheRest) {
    for (int i = 0; i < 13; ++i)
        document_.addEntry(folder_.file("fotky"), "gone" + std::to_string(i) + ".jpg");
    desktop_.chooseNextFolder(chosen());
    EXPECT_FALSE(save());
    const std::string& text = onlyMessage().text;
    EXPECT_NE(text.find("gone9.jpg\r\n"), std::string::npos);
    EXPECT_EQ(text.find("gone10.jpg"), std::string::npos);
    EXPECT_NE(text.find("... a dalších 3 souborů\r\n"_cz), std::string::npos);
}

}  // namespace
