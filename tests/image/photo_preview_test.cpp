#include "image/photo_preview.h"

#include <gtest/gtest.h>

#include "picture_files.h"
#include "support/temp_folder.h"

namespace {

using namespace test_pictures;
using testing_support::TempFolder;

TEST(PhotoPreview, ChoosesOnlyPicturesAndNeverTheSamePathTwiceInARow) {
    PhotoPreview preview;
    const struct {
        const char* path;
        bool expected;
    } steps[] = {
        {"C:\\fotky", false},                                      // a folder
        {"C:\\fotky\\a.png", false},                               // not a picture by name
        {"C:\\fotky\\a.jpg", true},  {"C:\\fotky\\a.jpg", false},  // the same again
        {"C:\\fotky\\A.jpg", true},                                // another path, exactly compared
        {"C:\\fotky\\a.jpg", true},                                // back to the first one
        {"C:\\fotky\\b.png", false},                               // no picture: the last path stays
        {"C:\\fotky\\a.jpg", false},
    };
    for (const auto& step : steps)
        EXPECT_EQ(preview.choose(step.path), step.expected) << step.path;
    EXPECT_EQ(preview.lastPath(), "C:\\fotky\\a.jpg");
}

TEST(PhotoPreview, LoadsTheThumbnailAndRemembersTheSizeBeforeScaling) {
    TempFolder folder;
    const std::string path = folder.file("photo.JPEG");
    writeJpeg(path, gradient(1600, 1200));
    PhotoPreview preview;
    ASSERT_TRUE(preview.choose(path));
    ASSERT_TRUE(preview.load(path));
    EXPECT_EQ(preview.loadedWidth(), 1600);
    EXPECT_EQ(preview.loadedHeight(), 1200);
    EXPECT_EQ(preview.picture().width(), 400);
    EXPECT_EQ(preview.picture().height(), 300);
}

TEST(PhotoPreview, AFailedLoadLeavesThePreviewEmptyAndIsNotRetriedAtOnce) {
    TempFolder folder;
    const std::string good = folder.file("good.jpg");
    const std::string bad = folder.file("bad.jpg");
    writeJpeg(good, gradient(64, 64));
    folder.write("bad.jpg", "not a picture");

    PhotoPreview preview;
    ASSERT_TRUE(preview.choose(good));
    ASSERT_TRUE(preview.load(good));
    ASSERT_TRUE(preview.choose(bad));
    EXPECT_EQ(PhotoPreview::decode(bad).outcome, LoadOutcome::NotAPicture);
    EXPECT_FALSE(preview.load(bad));
    EXPECT_FALSE(preview.picture().isValid());
    EXPECT_EQ(preview.loadedWidth(), 0);
    EXPECT_FALSE(preview.choose(bad));
}

}  // namespace
