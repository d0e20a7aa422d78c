#include "image/header_picture.h"

#include <gtest/gtest.h>

#include <string>

#include "image/builtin_pictures.h"
#include "picture_files.h"
#include "support/temp_folder.h"

namespace {

using namespace test_pictures;
using testing_support::CurrentFolderScope;
using testing_support::TempFolder;

constexpr char kFile[] = "hlavicka.jpg";

TEST(JfifSignature, ComparesTheFirstElevenBytes) {
    const std::string jfif("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11);
    const struct {
        const char* name;
        std::string bytes;
        bool expected;
    } rows[] = {
        {"a JFIF file", jfif + "\x01\x02 more", true},
        {"exactly the signature", jfif, true},
        {"any values at the two free positions", std::string("\xFF\xD8\xFF\xE0\xAB\xCDJFIF\x00", 11), true},
        {"ends at the first free position", jfif.substr(0, 4), true},
        {"ends at the second free position", jfif.substr(0, 5), true},
        {"ends where JFIF should begin", jfif.substr(0, 6), false},
        {"ends before the zero byte", jfif.substr(0, 10), false},
        {"ends inside the marker", jfif.substr(0, 3), false},
        {"empty", "", false},
        {"an Exif JPEG",
         std::string("\xFF\xD8\xFF\xE1\x00\x10"
                     "Exif\x00",
                     11),
         false},
        {"a PNG", std::string("\x89PNG\r\n\x1A\n\x00\x00\x00", 11), false},
        {"JFIF without its zero byte", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIFX", 11), false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(mayBeJfif(row.bytes), row.expected) << row.name;
}

class HeaderPictureTest : public ::testing::Test {
  protected:
    TempFolder folder;
    CurrentFolderScope inFolder{folder.path()};
    HeaderPicture header;

    bool showsBuiltIn(const Picture& picture) {
        Picture builtIn = builtinPicture(builtin::kHeaderBanner);
        builtIn.thumbnail(380, 50, HeaderPicture::kBackground);
        return picture.isValid() && meanDifference(picture, builtIn) == 0;
    }
};

TEST_F(HeaderPictureTest, AJfifFileIsLoadedOnceAndFittedTo380By50) {
    writeJpeg(folder.file(kFile), solid(760, 100, {200, 30, 30}));
    const Picture& first = header.pictureToDraw();
    ASSERT_EQ(first.width(), 380);
    ASSERT_EQ(first.height(), 50);
    EXPECT_LT(meanDifference(first, solid(380, 50, {200, 30, 30})), 3.0);
    EXPECT_EQ(header.loadCounter(), 1);

    // Later drawings keep the picture; the file is not read again.
    writeJpeg(folder.file(kFile), solid(380, 50, {0, 0, 200}));
    const Picture& again = header.pictureToDraw();
    EXPECT_LT(meanDifference(again, solid(380, 50, {200, 30, 30})), 3.0);
    EXPECT_EQ(header.loadCounter(), 1);
    EXPECT_TRUE(folder.exists(kFile));
}

TEST_F(HeaderPictureTest, APngNamedLikeTheHeaderIsDeletedAndTheBuiltInBannerShown) {
    writePng(folder.file(kFile), 380, 50, 3, std::vector<std::uint8_t>(380 * 50 * 3, 50));
    EXPECT_TRUE(showsBuiltIn(header.pictureToDraw()));
    EXPECT_FALSE(folder.exists(kFile));
    EXPECT_EQ(header.loadCounter(), 1);
}

TEST_F(HeaderPictureTest, AFileEndingOnAFreePositionIsKeptButFailsToLoad) {
    folder.write(kFile, "\xFF\xD8\xFF\xE0");
    EXPECT_TRUE(showsBuiltIn(header.pictureToDraw()));
    EXPECT_TRUE(folder.exists(kFile));
    EXPECT_EQ(header.loadCounter(), 1);
    // The built-in banner is valid, so later drawings neither count nor delete.
    EXPECT_TRUE(showsBuiltIn(header.pictureToDraw()));
    EXPECT_EQ(header.loadCounter(), 1);
    EXPECT_TRUE(folder.exists(kFile));
}

TEST_F(HeaderPictureTest, WithoutAFileTheBuiltInBannerIsShown) {
    EXPECT_TRUE(showsBuiltIn(header.pictureToDraw()));
    EXPECT_EQ(header.loadCounter(), 1);
}

TEST_F(HeaderPictureTest, AnUpdateReloadsTheFileAndAFailedReloadKeepsThePictureShown) {
    EXPECT_TRUE(showsBuiltIn(header.pictureToDraw()));

    // The update brought a banner: it replaces the built-in one, with no signature check (an Exif
    // JPEG would fail it) and no counting.
    writeJpeg(folder.file(kFile), solid(380, 50, {20, 160, 20}));
    header.reloadAfterUpdate();
    EXPECT_LT(meanDifference(header.pictureToDraw(), solid(380, 50, {20, 160, 20})), 3.0);
    EXPECT_EQ(header.loadCounter(), 1);

    // The next update brought a broken file: the banner shown stays.
    folder.write(kFile, "broken");
    header.reloadAfterUpdate();
    EXPECT_LT(meanDifference(header.pictureToDraw(), solid(380, 50, {20, 160, 20})), 3.0);
}

TEST_F(HeaderPictureTest, AWideBannerIsScaledIntoTheBoxOnTheGreyCanvas) {
    writeJpeg(folder.file(kFile), solid(760, 50, {0, 0, 0}));
    const Picture& picture = header.pictureToDraw();
    ASSERT_EQ(picture.width(), 380);
    EXPECT_EQ(picture.colourAt(190, 0), HeaderPicture::kBackground);  // 380 x 25, centred: rows 12 to 36
    EXPECT_LT(picture.colourAt(190, 25).red, 10);
}

}  // namespace
