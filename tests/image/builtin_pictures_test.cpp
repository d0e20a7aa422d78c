#include "image/builtin_pictures.h"

#include <gtest/gtest.h>

namespace {

TEST(BuiltinPictures, EveryResourceHasItsSizeDepthAndTransparency) {
    const struct {
        int id;
        int width, height, bits, transparent;
    } rows[] = {
        {builtin::kWindowIcon, 32, 32, 8, 0}, {builtin::kHeaderBanner, 380, 50, 24, -1},
        {builtin::kAddIcon, 17, 17, 8, 0},    {builtin::kRemoveIcon, 17, 17, 8, 0},
        {builtin::kSendIcon, 17, 17, 8, 0},   {builtin::kStornoIcon, 17, 17, 8, 0},
        {builtin::kBackIcon, 17, 17, 8, 0},   {builtin::kSaveIcon, 17, 17, 8, 0},
        {builtin::kWebIcon, 17, 17, 8, 0},    {builtin::kHelpIcon, 17, 17, 8, 0},
    };
    for (const auto& row : rows) {
        const Picture picture = builtinPicture(row.id);
        ASSERT_TRUE(picture.isValid()) << row.id;
        EXPECT_EQ(picture.width(), row.width) << row.id;
        EXPECT_EQ(picture.height(), row.height) << row.id;
        EXPECT_EQ(picture.bitsPerPixel(), row.bits) << row.id;
        EXPECT_EQ(picture.transparentIndex(), row.transparent) << row.id;
        if (row.bits == 8) {
            EXPECT_LE(picture.palette().size(), 16u) << row.id;
            // Something is drawn, and the corners let the button show through.
            const auto pixels = picture.pixels();
            EXPECT_EQ(pixels.front(), 0) << row.id;
            EXPECT_EQ(pixels.back(), 0) << row.id;
            EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](auto p) { return p != 0; }), 20)
                << row.id;
        }
    }
    const Picture small = builtinSmallWindowIcon();
    EXPECT_EQ(small.width(), 16);
    EXPECT_EQ(small.height(), 16);
}

TEST(BuiltinPictures, AnUnknownIdGivesAnEmptyPicture) {
    for (const int id : {0, 129, 133, 142, -1})
        EXPECT_FALSE(builtinPicture(id).isValid()) << id;
}

}  // namespace
