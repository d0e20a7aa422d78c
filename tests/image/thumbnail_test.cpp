#include <gtest/gtest.h>

#include <vector>

#include "image/picture.h"
#include "picture_files.h"

namespace {

using test_pictures::solid;

constexpr Rgb kGrey{176, 176, 176};
constexpr Rgb kPhoto{30, 120, 200};

// The bounds of the pixels that differ from the background.
struct Bounds {
    int left = -1, top = -1, right = -1, bottom = -1;  // right and bottom exclusive
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

Bounds boundsOf(const Picture& picture, Rgb background) {
    Bounds b;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.colourAt(x, y) == background)
                continue;
            if (b.left < 0 || x < b.left)
                b.left = x;
            if (b.top < 0)
                b.top = y;
            b.right = std::max(b.right, x + 1);
            b.bottom = y + 1;
        }
    }
    return b;
}

TEST(Thumbnail, FitsIntoTheBoxAndCentresOnACanvasOfExactlyTheBoxSize) {
    const struct {
        const char* name;
        int width, height;
        Bounds expected;
    } rows[] = {
        {"small picture is not enlarged", 200, 100, {100, 100, 300, 200}},
        {"4000 x 3000 fills the box", 4000, 3000, {0, 0, 400, 300}},
        {"3000 x 4000 gets the full height", 3000, 4000, {87, 0, 312, 300}},
        {"6000 x 4000 gets the full width, height truncated", 6000, 4000, {0, 17, 400, 283}},
        {"a line keeps at least one pixel", 5000, 2, {0, 149, 400, 150}},
        {"exactly the box", 400, 300, {0, 0, 400, 300}},
    };
    for (const auto& row : rows) {
        Picture picture = solid(row.width, row.height, kPhoto);
        picture.thumbnail(400, 300, kGrey);
        EXPECT_EQ(picture.width(), 400) << row.name;
        EXPECT_EQ(picture.height(), 300) << row.name;
        EXPECT_EQ(picture.bitsPerPixel(), 24) << row.name;
        EXPECT_EQ(boundsOf(picture, kGrey), row.expected) << row.name;
        // A solid picture stays solid whatever the scaling.
        const Bounds b = row.expected;
        EXPECT_EQ(picture.colourAt(b.left, b.top), kPhoto) << row.name;
        EXPECT_EQ(picture.colourAt(b.right - 1, b.bottom - 1), kPhoto) << row.name;
    }
}

TEST(Thumbnail, SmallPictureIsCopiedPixelForPixel) {
    const Picture original = test_pictures::gradient(200, 100);
    Picture picture = original;
    picture.thumbnail(400, 300, kGrey);
    for (int y = 0; y < 100; y += 9) {
        for (int x = 0; x < 200; x += 7)
            ASSERT_EQ(picture.colourAt(100 + x, 100 + y), original.colourAt(x, y)) << x << "," << y;
    }
}

TEST(Thumbnail, AveragesAreasWeightedInThousandthsOfAPixel) {
    // 3 x 3 into 2 x 2: each new pixel covers 1.5 x 1.5 source pixels, so it takes one whole source
    // pixel, two halves and one quarter. Grey values and the means worked out by hand:
    //     0  30  90          (0 + 15 + 30 + 30) / 2.25 = 33.3   (15 + 90 + 30 + 90) / 2.25 = 100
    //    60 120 180    ->    (30 + 30 + 240 + 105) / 2.25 = 180 (30 + 90 + 105 + 150) / 2.25 = 166.7
    //   240 210 150
    const std::uint8_t values[] = {0, 30, 90, 60, 120, 180, 240, 210, 150};
    std::vector<std::uint8_t> rgb;
    for (const auto v : values)
        rgb.insert(rgb.end(), {v, v, v});
    Picture picture = Picture::fromRgb(3, 3, rgb);
    picture.thumbnail(2, 2, kGrey);
    ASSERT_EQ(picture.width(), 2);
    EXPECT_EQ(picture.colourAt(0, 0), (Rgb{33, 33, 33}));
    EXPECT_EQ(picture.colourAt(1, 0), (Rgb{100, 100, 100}));
    EXPECT_EQ(picture.colourAt(0, 1), (Rgb{180, 180, 180}));
    EXPECT_EQ(picture.colourAt(1, 1), (Rgb{167, 167, 167}));
}

TEST(Thumbnail, PalettePicturesAreInterpolatedAndTransparentPixelsShowTheBackground) {
    // 4 x 4 into 2 x 2: bilinear sampling at the centre of each new pixel lands halfway between four
    // source pixels, so each new pixel is the mean of one 2 x 2 block. Index 0 is transparent.
    const std::vector<Rgb> palette = {{0, 0, 0}, {200, 0, 0}, {0, 100, 0}, {0, 0, 40}};
    const std::vector<std::uint8_t> indices = {
        1, 1, 2, 2,  //
        1, 1, 2, 3,  //
        0, 0, 3, 3,  //
        0, 1, 3, 3,  //
    };
    Picture picture = Picture::fromPalette(4, 4, indices, palette);
    picture.setTransparentIndex(0);
    picture.thumbnail(2, 2, Rgb{100, 100, 100});
    EXPECT_EQ(picture.bitsPerPixel(), 24);
    EXPECT_EQ(picture.transparentIndex(), -1);
    EXPECT_EQ(picture.colourAt(0, 0), (Rgb{200, 0, 0}));
    EXPECT_EQ(picture.colourAt(1, 0), (Rgb{0, 75, 10}));
    EXPECT_EQ(picture.colourAt(0, 1), (Rgb{125, 75, 75}));
    EXPECT_EQ(picture.colourAt(1, 1), (Rgb{0, 0, 40}));
}

TEST(Thumbnail, FittingTwiceChangesNothingAndAnEmptyPictureStaysEmpty) {
    Picture picture = test_pictures::gradient(500, 50);
    picture.thumbnail(380, 50, Rgb{170, 170, 170});
    const Picture once = picture;
    picture.thumbnail(380, 50, Rgb{170, 170, 170});
    EXPECT_EQ(test_pictures::meanDifference(picture, once), 0.0);

    Picture empty;
    empty.thumbnail(400, 300, kGrey);
    EXPECT_FALSE(empty.isValid());
}

TEST(Picture, RefusesPixelsThatDoNotMatchItsSize) {
    EXPECT_FALSE(Picture::fromRgb(2, 2, std::vector<std::uint8_t>(11)).isValid());
    EXPECT_FALSE(Picture::fromRgb(0, 2, {}).isValid());
    EXPECT_FALSE(
        Picture::fromPalette(2, 1, {0, 2}, {{0, 0, 0}, {1, 1, 1}}).isValid());  // index past the palette
    const Picture palette = Picture::fromPalette(2, 1, {0, 1}, {{0, 0, 0}, {1, 2, 3}});
    EXPECT_EQ(palette.bitsPerPixel(), 8);
    EXPECT_EQ(palette.colourAt(1, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(palette.colourAt(2, 0), Rgb{});  // outside
}

}  // namespace
