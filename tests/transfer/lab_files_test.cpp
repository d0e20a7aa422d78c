#include "transfer/lab_files.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace {

const std::string kCatalogue =
    "[format]\r\nname=10 x 15 cm\r\nabbrev=10x15\r\nid=2\r\ndefault=1\r\n"
    "[surface]\r\nname=Lesk\r\nabbrev=lesk\r\nid=1\r\ndefault=1\r\n"
    "[margin]\r\nname=Bez okraje\r\nabbrev=bez\r\nid=1\r\ndefault=1\r\n"
    "[pay]\r\nname=Hotove\r\nabbrev=hot\r\nid=1\r\ndefault=1\r\n"
    "[delivery]\r\nname=Osobne\r\nabbrev=os\r\nid=1\r\ndefault=1\r\n";

class LabFiles : public testing::Test {
  protected:
    testing_support::TempFolder folder_;
    testing_support::CurrentFolderScope inFolder_{folder_.path()};
};

TEST_F(LabFiles, ACatalogueDownloadReplacesTheCatalogueOnlyWhenItIsOne) {
    folder_.write("snapord2.ini", "old catalogue");
    folder_.write("snapord2.dnl", "<html>Přihlaste se</html>");
    EXPECT_FALSE(lab_files::installCatalogue("snapord2.dnl"));
    EXPECT_EQ(folder_.read("snapord2.ini"), "old catalogue");
    EXPECT_FALSE(folder_.exists("snapord2.dnl"));

    folder_.write("snapord2.inb", kCatalogue);
    EXPECT_TRUE(lab_files::installCatalogue("snapord2.inb"));
    EXPECT_EQ(folder_.read("snapord2.ini"), kCatalogue);
    EXPECT_FALSE(folder_.exists("snapord2.inb"));
}

TEST_F(LabFiles, AHeaderPictureDownloadReplacesThePicture) {
    folder_.write("hlavicka.jpg", "old picture");
    EXPECT_FALSE(lab_files::installHeaderPicture("hlavicka.dnl"));  // nothing was downloaded
    EXPECT_EQ(folder_.read("hlavicka.jpg"), "old picture");

    folder_.write("hlavicka.dnl", "new picture");
    EXPECT_TRUE(lab_files::installHeaderPicture("hlavicka.dnl"));
    EXPECT_EQ(folder_.read("hlavicka.jpg"), "new picture");
    EXPECT_FALSE(folder_.exists("hlavicka.dnl"));
}

}  // namespace
