#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "image/picture.h"
#include "picture_files.h"
#include "support/temp_folder.h"

namespace {

using namespace test_pictures;
using testing_support::TempFolder;

// Lossy formats: the decoded picture is close to the original on average.
constexpr double kJpegTolerance = 3.0;

TEST(JpegDecoding, ReadsColourGreyCmykAndProgressiveFiles) {
    TempFolder folder;
    const Picture original = gradient(96, 64);
    const struct {
        const char* name;
        JpegKind kind;
    } rows[] = {
        {"colour", JpegKind::Colour},
        {"progressive", JpegKind::Progressive},
        {"adobe cmyk", JpegKind::AdobeCmyk},
    };
    for (const auto& row : rows) {
        const std::string path = folder.file(std::string(row.name) + ".jpg");
        writeJpeg(path, original, row.kind);
        Picture picture;
        ASSERT_TRUE(picture.load(path, PictureType::Jpeg)) << row.name;
        EXPECT_EQ(picture.width(), 96) << row.name;
        EXPECT_EQ(picture.height(), 64) << row.name;
        EXPECT_EQ(picture.bitsPerPixel(), 24) << row.name;
        EXPECT_LT(meanDifference(picture, original), kJpegTolerance) << row.name;
    }

    // Grey comes out as equal red, green and blue.
    const Picture greyish = solid(16, 16, {90, 90, 90});
    writeJpeg(folder.file("grey.jpg"), greyish, JpegKind::Grey);
    Picture grey;
    ASSERT_TRUE(grey.load(folder.file("grey.jpg"), PictureType::Jpeg));
    EXPECT_LT(meanDifference(grey, greyish), 1.5);
}

TEST(JpegDecoding, ReadsACmykFileAsImageMagickWritesIt) {
    TempFolder folder;
    const std::string path = folder.file("cmyk.jpg");
    if (!convert("-size 16x16 xc:'rgb(200,40,40)' -colorspace CMYK -quality 95 " + path))
        GTEST_SKIP() << "ImageMagick is not installed";
    Picture picture;
    ASSERT_TRUE(picture.load(path));
    EXPECT_LT(meanDifference(picture, solid(16, 16, {200, 40, 40})), 4.0);
}

TEST(JpegDecoding, ATypedLoadFallsBackToTheFormatFoundInTheFile) {
    TempFolder folder;
    const Picture original = gradient(40, 30);
    writeJpeg(folder.file("really_a_jpeg.tif"), original);
    writeTiff(folder.file("really_a_tiff.jpg"), original, TiffKind::Rgb8);
    Picture picture;
    ASSERT_TRUE(picture.load(folder.file("really_a_jpeg.tif"), PictureType::Tiff));
    EXPECT_LT(meanDifference(picture, original), kJpegTolerance);
    ASSERT_TRUE(picture.load(folder.file("really_a_tiff.jpg"), PictureType::Jpeg));
    EXPECT_EQ(meanDifference(picture, original), 0.0);
}

TEST(TiffDecoding, ReadsTheKindsOfTiffThatPhotographsComeIn) {
    TempFolder folder;
    // Few colours, so that the palette file can hold them all.
    const Picture original = gradient(37, 23);
    const struct {
        const char* name;
        TiffKind kind;
        double tolerance;
    } rows[] = {
        {"8-bit RGB in strips", TiffKind::Rgb8, 0},
        {"16-bit RGB", TiffKind::Rgb16, 0},
        {"LZW compressed", TiffKind::Lzw, 0},
        {"tiled", TiffKind::Tiled, 0},
        {"stored bottom up", TiffKind::BottomUp, 0},
        {"CMYK", TiffKind::Cmyk, 1.0},
        {"multi-page: the first page", TiffKind::TwoPages, 0},
    };
    for (const auto& row : rows) {
        const std::string path = folder.file("picture.tif");
        writeTiff(path, original, row.kind);
        Picture picture;
        ASSERT_TRUE(picture.load(path, PictureType::Tiff)) << row.name;
        ASSERT_EQ(picture.width(), 37) << row.name;
        ASSERT_EQ(picture.height(), 23) << row.name;
        EXPECT_LE(meanDifference(picture, original), row.tolerance) << row.name;
    }
}

TEST(TiffDecoding, ReadsGreyAndPalettePictures) {
    TempFolder folder;
    const Picture greyish = solid(20, 10, {77, 77, 77});
    writeTiff(folder.file("grey.tif"), greyish, TiffKind::Grey8);
    Picture picture;
    ASSERT_TRUE(picture.load(folder.file("grey.tif"), PictureType::Tiff));
    EXPECT_EQ(meanDifference(picture, greyish), 0.0);

    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 20 * 10; ++i) {
        const Rgb c = i % 3 == 0 ? Rgb{255, 0, 0} : i % 3 == 1 ? Rgb{0, 128, 0} : Rgb{10, 20, 250};
        rgb.insert(rgb.end(), {c.red, c.green, c.blue});
    }
    const Picture coloured = Picture::fromRgb(20, 10, rgb);
    writeTiff(folder.file("palette.tif"), coloured, TiffKind::Palette);
    ASSERT_TRUE(picture.load(folder.file("palette.tif"), PictureType::Tiff));
    EXPECT_EQ(meanDifference(picture, coloured), 0.0);
}

TEST(PngDecoding, ReadsAlphaOverWhiteGreyAnd16BitAndInterlacedFiles) {
    TempFolder folder;
    // Red at full, half and no opacity.
    writePng(folder.file("alpha.png"), 3, 1, 4, {255, 0, 0, 255, 255, 0, 0, 128, 255, 0, 0, 0});
    Picture picture;
    ASSERT_TRUE(picture.load(folder.file("alpha.png")));
    EXPECT_EQ(picture.colourAt(0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(picture.colourAt(1, 0), (Rgb{255, 127, 127}));
    EXPECT_EQ(picture.colourAt(2, 0), (Rgb{255, 255, 255}));

    writePng(folder.file("grey16.png"), 2, 1, 1, {10, 200}, 16);
    ASSERT_TRUE(picture.load(folder.file("grey16.png")));
    EXPECT_EQ(picture.colourAt(0, 0), (Rgb{10, 10, 10}));
    EXPECT_EQ(picture.colourAt(1, 0), (Rgb{200, 200, 200}));

    const Picture original = gradient(33, 17);
    writePng(folder.file("interlaced.png"), 33, 17, 3,
             std::vector(original.pixels().begin(), original.pixels().end()), 8, true);
    ASSERT_TRUE(picture.load(folder.file("interlaced.png")));
    EXPECT_EQ(meanDifference(picture, original), 0.0);
}

// A BMP file written byte by byte: a header of 14 + 40 bytes, an optional palette, rows bottom-up
// and padded to four bytes.
std::string bmp(int width, int height, int bits, const std::string& palette, const std::string& rows) {
    std::string bytes;
    const auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    const auto offset = static_cast<std::uint32_t>(14 + 40 + palette.size());
    bytes += "BM";
    put(offset + static_cast<std::uint32_t>(rows.size()), 4);
    put(0, 4);
    put(offset, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(static_cast<std::uint32_t>(bits), 2);
    put(0, 4);
    put(static_cast<std::uint32_t>(rows.size()), 4);
    put(2835, 4);
    put(2835, 4);
    put(static_cast<std::uint32_t>(palette.size() / 4), 4);
    put(0, 4);
    return bytes + palette + rows;
}

TEST(BmpDecoding, ReadsColourAndPaletteBitmapsBottomUpAndTopDown) {
    TempFolder folder;
    // 2 x 2, 24-bit, stored bottom-up in blue, green, red order: the lower row first.
    folder.write("colour.bmp",
                 bmp(2, 2, 24, "",
                     std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8) +       // red, green + padding
                         std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8)));  // blue, white
    Picture picture;
    ASSERT_TRUE(picture.load(folder.file("colour.bmp")));
    EXPECT_EQ(picture.colourAt(0, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(picture.colourAt(1, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(picture.colourAt(0, 1), (Rgb{255, 0, 0}));
    EXPECT_EQ(picture.colourAt(1, 1), (Rgb{0, 255, 0}));

    // 3 x 1, 4-bit palette, top-down (negative height): indices 1, 0, 1.
    folder.write("palette.bmp", bmp(3, -1, 4, std::string("\x00\x00\x00\x00\x10\x20\x30\x00", 8),
                                    std::string("\x10\x10\x00\x00", 4)));
    ASSERT_TRUE(picture.load(folder.file("palette.bmp")));
    EXPECT_EQ(picture.colourAt(0, 0), (Rgb{0x30, 0x20, 0x10}));
    EXPECT_EQ(picture.colourAt(1, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(picture.colourAt(2, 0), (Rgb{0x30, 0x20, 0x10}));
}

TEST(Decoding, DamagedAndHostileFilesFailCleanlyOrKeepWhatIsThere) {
    TempFolder folder;
    const std::string jpeg = jpegBytes(gradient(64, 48));
    const std::string progressive = jpegBytes(gradient(64, 48), JpegKind::Progressive);
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (auto& c : noise)
        c = static_cast<char>(random());
    std::string hugeJpeg = jpeg;  // the frame header claims 65000 x 65000
    const auto frame = hugeJpeg.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    hugeJpeg.replace(frame + 5, 4, "\xFD\xE8\xFD\xE8");
    // The last scan of a progressive file repeated until the file has far more scans than any encoder
    // writes: decoding them all would take long on a large picture.
    std::string manyScans = progressive.substr(0, progressive.size() - 2);
    const std::string lastScan = manyScans.substr(manyScans.rfind("\xFF\xDA"));
    for (int i = 0; i < 1500; ++i)
        manyScans += lastScan;
    manyScans += "\xFF\xD9";
    writePng(folder.file("whole.png"), 20, 20, 3, std::vector<std::uint8_t>(1200, 99));
    const std::string png = folder.read("whole.png");

    // Each row: the file, the type given to the load, and whether what was there may be shown.
    const struct {
        const char* name;
        std::string bytes;
        PictureType type;
        bool partialAllowed;
    } rows[] = {
        {"random bytes as JPEG", noise, PictureType::Jpeg, false},
        {"random bytes as TIFF", noise, PictureType::Tiff, false},
        {"random bytes by content", noise, PictureType::Unknown, false},
        {"empty file", "", PictureType::Jpeg, false},
        {"JPEG signature only", "\xFF\xD8\xFF\xE0", PictureType::Jpeg, false},
        {"JPEG claiming 65000 x 65000", hugeJpeg, PictureType::Jpeg, false},
        {"JPEG cut in half", jpeg.substr(0, jpeg.size() / 2), PictureType::Jpeg, true},
        {"progressive JPEG cut in half", progressive.substr(0, progressive.size() / 2), PictureType::Jpeg,
         true},
        {"progressive JPEG with 1500 more scans", manyScans, PictureType::Jpeg, false},
        {"TIFF claiming 100000 x 100000", tiffClaimingSize(100000, 100000), PictureType::Tiff, false},
        {"TIFF whose pixel data is missing", tiffClaimingSize(64, 48), PictureType::Tiff, true},
        {"TIFF header only", std::string("II*\0\x08\0\0\0", 8), PictureType::Tiff, false},
        {"PNG cut in half", png.substr(0, png.size() / 2), PictureType::Unknown, false},
        {"BMP claiming 100000 x 100000", bmp(100000, 100000, 24, "", "abc"), PictureType::Unknown, false},
        {"BMP with its rows missing", bmp(64, 48, 24, "", "abc"), PictureType::Unknown, false},
    };
    for (const auto& row : rows) {
        folder.write("damaged", row.bytes);
        Picture picture;
        const bool loaded = picture.load(folder.file("damaged"), row.type);
        EXPECT_EQ(loaded, picture.isValid()) << row.name;
        if (!row.partialAllowed) {
            EXPECT_FALSE(loaded) << row.name;
        } else if (loaded) {
            EXPECT_EQ(picture.width(), 64) << row.name;
            EXPECT_EQ(picture.height(), 48) << row.name;
        }
    }

    Picture missing = gradient(2, 2);
    EXPECT_FALSE(missing.load(folder.file("no such file.jpg"), PictureType::Jpeg));
    EXPECT_FALSE(missing.isValid());
}

TEST(Decoding, OpensFilesByTheirCp1250Names) {
    TempFolder folder;
    writeJpeg(folder.file("\xC4\x8D\x65rven\xC3\xA1.jpg"), solid(8, 8, {200, 0, 0}));  // červená.jpg in UTF-8
    Picture picture;
    EXPECT_TRUE(picture.load(folder.path() + "/\xE8\x65rven\xE1.jpg", PictureType::Jpeg));
}

TEST(Decoding, ALoadForAThumbnailDecodesSmallerButGivesTheSameThumbnail) {
    TempFolder folder;
    const std::string path = folder.file("large.jpg");
    writeJpeg(path, gradient(2400, 1800));

    Picture full;
    ASSERT_TRUE(full.load(path, PictureType::Jpeg));
    EXPECT_EQ(full.width(), 2400);
    EXPECT_EQ(full.ownWidth(), 2400);

    Picture reduced;
    ASSERT_TRUE(reduced.load(path, PictureType::Jpeg, ThumbnailBox{400, 300}));
    EXPECT_EQ(reduced.ownWidth(), 2400);
    EXPECT_EQ(reduced.ownHeight(), 1800);
    EXPECT_LT(reduced.width(), 2400);
    EXPECT_GE(reduced.width(), 400);
    EXPECT_GE(reduced.height(), 300);

    full.thumbnail(400, 300, Rgb{176, 176, 176});
    reduced.thumbnail(400, 300, Rgb{176, 176, 176});
    ASSERT_EQ(reduced.width(), 400);
    EXPECT_EQ(reduced.ownWidth(), 400);
    EXPECT_LT(meanDifference(full, reduced), 1.0);

    // A picture smaller than the box is decoded in full.
    writeJpeg(path, gradient(300, 200));
    ASSERT_TRUE(reduced.load(path, PictureType::Jpeg, ThumbnailBox{400, 300}));
    EXPECT_EQ(reduced.width(), 300);
}

}  // namespace
