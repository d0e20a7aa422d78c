// Photographs that say how they are to be turned come out upright: the EXIF block's orientation read
// from bytes written by hand, and all eight orientations applied to a picture of six coloured fields.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

#include "image/orientation.h"
#include "image/photo_preview.h"
#include "image/picture.h"
#include "picture_files.h"
#include "support/temp_folder.h"

namespace {

using namespace test_pictures;
using testing_support::TempFolder;

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(ExifOrientation, IsReadFromTheFirstDirectoryInEitherByteOrder) {
    std::string withoutTag = exifBlock(6);
    withoutTag[6 + 8 + 2 + 12] = 0x13;  // the orientation entry becomes tag 0x0113
    std::string asLong = exifBlock(8, true);
    asLong[6 + 8 + 2 + 12 + 3] = 4;  // type LONG: the value is then the whole 32-bit field
    asLong.replace(6 + 8 + 2 + 12 + 8, 4, std::string("\0\0\0\x03", 4));
    std::string twoValues = exifBlock(6);
    twoValues[6 + 8 + 2 + 12 + 4] = 2;
    std::string directoryOutside = exifBlock(6);
    directoryOutside[6 + 4] = '\x7F';
    const struct {
        const char* name;
        std::string block;
        int expected;
    } rows[] = {
        {"little-endian, 6", exifBlock(6), 6},
        {"big-endian, 8", exifBlock(8, true), 8},
        {"little-endian, 3", exifBlock(3), 3},
        {"upright", exifBlock(1, true), 1},
        {"a value outside 1 to 8", exifBlock(9), 1},
        {"zero", exifBlock(0), 1},
        {"no orientation entry", withoutTag, 1},
        {"a 32-bit value", asLong, 3},
        {"two values", twoValues, 1},
        {"directory beyond the block", directoryOutside, 1},
        {"cut inside the directory", exifBlock(6).substr(0, 6 + 8 + 2 + 12 + 4), 1},
        {"not EXIF (XMP)", "http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 1},
        {"no TIFF header", std::string("Exif\0\0XX*\0\x08\0\0\0", 14), 1},
        {"empty", "", 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(orientation::fromExif(bytesOf(row.block)), row.expected) << row.name;
}

// The stored picture: two rows of three fields of 16 x 16 pixels, A B C over D E F.
constexpr int kField = 16;
constexpr std::array<Rgb, 6> kColours = {Rgb{220, 30, 30},  Rgb{30, 200, 40},  Rgb{30, 40, 220},
                                         Rgb{230, 220, 40}, Rgb{210, 40, 200}, Rgb{40, 210, 210}};

Picture fields(int field) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < 2 * field; ++y) {
        for (int x = 0; x < 3 * field; ++x) {
            const Rgb c = kColours[static_cast<std::size_t>(y / field * 3 + x / field)];
            rgb.insert(rgb.end(), {c.red, c.green, c.blue});
        }
    }
    return Picture::fromRgb(3 * field, 2 * field, std::move(rgb));
}

// The letter of the field colour nearest to the pixel.
char fieldAt(const Picture& picture, int x, int y) {
    const Rgb p = picture.colourAt(x, y);
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 6; ++i) {
        const Rgb c = kColours[static_cast<std::size_t>(i)];
        const int d = std::abs(p.red - c.red) + std::abs(p.green - c.green) + std::abs(p.blue - c.blue);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return static_cast<char>('A' + best);
}

// The fields of an upright picture of `columns` x `rows` fields starting at left, top, row by row,
// rows separated by "/".
std::string layoutOf(const Picture& picture, int left, int top, int columns, int rows, int field) {
    std::string layout;
    for (int r = 0; r < rows; ++r) {
        if (r > 0)
            layout += '/';
        for (int c = 0; c < columns; ++c)
            layout += fieldAt(picture, left + c * field + field / 2, top + r * field + field / 2);
    }
    return layout;
}

// What each orientation shows, worked out by hand from the meaning of the values.
struct Expected {
    int orientation;
    const char* layout;
};
constexpr Expected kUpright[] = {
    {1, "ABC/DEF"},   // as stored
    {2, "CBA/FED"},   // mirrored left to right
    {3, "FED/CBA"},   // turned by a half
    {4, "DEF/ABC"},   // mirrored top to bottom
    {5, "AD/BE/CF"},  // mirrored across the diagonal from the top-left corner
    {6, "DA/EB/FC"},  // turned a quarter clockwise
    {7, "FC/EB/DA"},  // mirrored across the other diagonal
    {8, "CF/BE/AD"},  // turned a quarter counter-clockwise
};

TEST(UprightPictures, JpegAndTiffFilesComeOutUprightInAllEightOrientations) {
    TempFolder folder;
    const Picture stored = fields(kField);
    ASSERT_EQ(layoutOf(stored, 0, 0, 3, 2, kField), "ABC/DEF");
    for (const auto& row : kUpright) {
        SCOPED_TRACE("orientation " + std::to_string(row.orientation));
        const bool turned = row.orientation >= 5;
        const int columns = turned ? 2 : 3;
        const int rows = turned ? 3 : 2;

        writeJpeg(folder.file("photo.jpg"), stored, JpegKind::Colour, 95, row.orientation);
        folder.write("photo.tif", tiffWithOrientation(stored, row.orientation, row.orientation % 2 == 0));
        for (const char* name : {"photo.jpg", "photo.tif"}) {
            SCOPED_TRACE(name);
            Picture picture;
            ASSERT_TRUE(picture.load(folder.file(name)));
            EXPECT_EQ(picture.width(), columns * kField);
            EXPECT_EQ(picture.height(), rows * kField);
            EXPECT_EQ(picture.ownWidth(), columns * kField);
            EXPECT_EQ(layoutOf(picture, 0, 0, columns, rows, kField), row.layout);
        }
    }
}

TEST(UprightPictures, ThePreviewOfATurnedPhotographIsUprightWithItsUprightSize) {
    TempFolder folder;
    // Large enough for a reduced-scale decode: 1536 x 1024 stored, fields of 512.
    const Picture stored = fields(512);
    for (const auto& row : kUpright) {
        SCOPED_TRACE("orientation " + std::to_string(row.orientation));
        const bool turned = row.orientation >= 5;
        writeJpeg(folder.file("photo.jpg"), stored, JpegKind::Colour, 90, row.orientation);
        const PreviewPicture preview = PhotoPreview::decode(folder.file("photo.jpg"));
        ASSERT_EQ(preview.outcome, LoadOutcome::Loaded);
        EXPECT_EQ(preview.width, turned ? 1024 : 1536);
        EXPECT_EQ(preview.height, turned ? 1536 : 1024);
        ASSERT_EQ(preview.picture.width(), PhotoPreview::kWidth);
        ASSERT_EQ(preview.picture.height(), PhotoPreview::kHeight);
        // Upright 1024 x 1536 fits as 200 x 300, fields of 100, centred from x 100; 1536 x 1024 fits as
        // 400 x 266, fields of 133, from y 17.
        if (turned)
            EXPECT_EQ(layoutOf(preview.picture, 100, 0, 2, 3, 100), row.layout);
        else
            EXPECT_EQ(layoutOf(preview.picture, 0, 17, 3, 2, 133), row.layout);
    }
}

}  // namespace
