#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <stop_token>
#include <string>

#include "image/picture.h"
#include "picture_files.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"

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
        {"8-bit RGB in strips", TiffKind::Rgb8, 0},  {"16-bit RGB", TiffKind::Rgb16, 0},
        {"LZW compressed", TiffKind::Lzw, 0},        {"tiled", TiffKind::Tiled, 0},
        {"stored bottom up", TiffKind::BottomUp, 0}, {"CMYK", TiffKind::Cmyk, 1.0},
        {"16-bit CMYK", TiffKind::Cmyk16, 1.0},      {"multi-page: the first page", TiffKind::TwoPages, 0},
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

TEST(Decoding, DamagedFilesFailCleanlyAndSayWhy) {
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
    // writes: a refinement scan read again no longer fits the data.
    std::string manyScans = progressive.substr(0, progressive.size() - 2);
    const std::string lastScan = manyScans.substr(manyScans.rfind("\xFF\xDA"));
    for (int i = 0; i < 1500; ++i)
        manyScans += lastScan;
    manyScans += "\xFF\xD9";
    writePng(folder.file("whole.png"), 20, 20, 3, std::vector<std::uint8_t>(1200, 99));
    const std::string png = folder.read("whole.png");
    writeTiff(folder.file("whole.tif"), gradient(64, 48), TiffKind::Lzw);
    const std::string tiff = folder.read("whole.tif");
    // A byte in the middle of the entropy-coded data turned into a marker that does not belong there.
    std::string corrupt = jpeg;
    const auto data = jpeg.find("\xFF\xDA");
    corrupt.replace(data + (jpeg.size() - data) / 2, 2, "\xFF\xC8");

    // Each row: the file, the type given to the load, and what must come of it. Nothing damaged is
    // ever shown in part.
    const struct {
        const char* name;
        std::string bytes;
        PictureType type;
        LoadOutcome expected;
    } rows[] = {
        {"random bytes as JPEG", noise, PictureType::Jpeg, LoadOutcome::NotAPicture},
        {"random bytes as TIFF", noise, PictureType::Tiff, LoadOutcome::NotAPicture},
        {"random bytes by content", noise, PictureType::Unknown, LoadOutcome::NotAPicture},
        {"text named .tiff", std::string("Dobrý den\r\n"_cz), PictureType::Tiff, LoadOutcome::NotAPicture},
        {"empty file", "", PictureType::Jpeg, LoadOutcome::NotAPicture},
        {"JPEG signature only", "\xFF\xD8\xFF\xE0", PictureType::Jpeg, LoadOutcome::Damaged},
        {"JPEG claiming 65000 x 65000", hugeJpeg, PictureType::Jpeg, LoadOutcome::TooDemanding},
        {"JPEG cut in half", jpeg.substr(0, jpeg.size() / 2), PictureType::Jpeg, LoadOutcome::Damaged},
        {"JPEG without its end marker", jpeg.substr(0, jpeg.size() - 2), PictureType::Jpeg,
         LoadOutcome::Loaded},
        {"JPEG with a corrupt byte", corrupt, PictureType::Jpeg, LoadOutcome::Damaged},
        {"progressive JPEG cut in half", progressive.substr(0, progressive.size() / 2), PictureType::Jpeg,
         LoadOutcome::Damaged},
        {"progressive JPEG whose last scan is repeated", manyScans, PictureType::Jpeg, LoadOutcome::Damaged},
        {"TIFF claiming 100000 x 100000", tiffClaimingSize(100000, 100000), PictureType::Tiff,
         LoadOutcome::TooDemanding},
        {"TIFF whose pixel data is missing", tiffClaimingSize(64, 48), PictureType::Tiff,
         LoadOutcome::Damaged},
        {"TIFF header only", std::string("II*\0\x08\0\0\0", 8), PictureType::Tiff, LoadOutcome::Damaged},
        {"TIFF cut in half", tiff.substr(0, tiff.size() / 2), PictureType::Tiff, LoadOutcome::Damaged},
        {"PNG cut in half", png.substr(0, png.size() / 2), PictureType::Unknown, LoadOutcome::Damaged},
        {"BMP claiming 100000 x 100000", bmp(100000, 100000, 24, "", "abc"), PictureType::Unknown,
         LoadOutcome::TooDemanding},
        {"BMP with its rows missing", bmp(64, 48, 24, "", "abc"), PictureType::Unknown, LoadOutcome::Damaged},
    };
    for (const auto& row : rows) {
        folder.write("damaged", row.bytes);
        Picture picture;
        EXPECT_EQ(picture.load(folder.file("damaged"), row.type, LoadOptions{}).outcome, row.expected)
            << row.name;
        EXPECT_EQ(picture.isValid(), row.expected == LoadOutcome::Loaded) << row.name;
    }

    Picture missing = gradient(2, 2);
    EXPECT_EQ(missing.load(folder.file("no such file.jpg"), PictureType::Jpeg, LoadOptions{}).outcome,
              LoadOutcome::Unreadable);
    EXPECT_FALSE(missing.isValid());
}

// Hostile files as they are met in the wild, made small here. Each fails within its work limit, most
// of them before doing any real work; their smaller twins load, so the files are what they claim.
TEST(Decoding, HostileFilesAreRefusedWithinTheirWorkLimit) {
    TempFolder folder;
    const struct {
        const char* name;
        std::string bytes;
        LoadOutcome expected;
        std::uint64_t mostWork;  // of the limit, in per mille
    } rows[] = {
        // 16384 x 16384 in 999 scans of 4 bytes, 17 KB: the coefficients of the whole picture would take
        // 512 MB, refused before any scan is read.
        {"progressive JPEG of 999 empty scans", jpegOfEmptyScans(16384, 16384, 999),
         LoadOutcome::TooDemanding, 300},
        // 883 valid scans over 262144 blocks: 231 million blocks, far more than the limit allows.
        {"progressive JPEG of 883 scans", jpegOfManyValidScans(4096, 4096), LoadOutcome::TooDemanding, 1001},
        // One row of 268 million pixels: refused before libpng allocates its rows.
        {"PNG of one row 268 million pixels wide", pngClaimingSize(1u << 28, 1), LoadOutcome::TooDemanding,
         0},
        // 16384 x 16384 in one strip inflating to 268 MB, refused before inflating.
        {"Deflate bomb TIFF", tiffDeflateBomb(16384, 16384), LoadOutcome::TooDemanding, 0},
        // Damaged in its first scan, after counting the blocks of the picture once.
        {"progressive JPEG of 999 empty scans, 4096 x 4096", jpegOfEmptyScans(4096, 4096, 999),
         LoadOutcome::Damaged, 20},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        folder.write("hostile", row.bytes);
        Picture picture;
        const LoadReport report =
            picture.load(folder.file("hostile"), PictureType::Unknown, LoadOptions{{400, 300}, {}});
        EXPECT_EQ(report.outcome, row.expected);
        EXPECT_FALSE(picture.isValid());
        EXPECT_GT(report.workLimit, 0u);
        EXPECT_LE(report.work, report.workLimit / 1000 * row.mostWork);
    }
    EXPECT_LE(pngClaimingSize(1u << 28, 1).size(), 68u);
    EXPECT_LE(tiffDeflateBomb(16384, 16384).size(), 300u * 1024);

    const struct {
        const char* name;
        std::string bytes;
    } twins[] = {
        {"progressive JPEG of 883 scans, 256 x 256", jpegOfManyValidScans(256, 256)},
        {"PNG of 3 x 1", pngClaimingSize(3, 1)},
        {"Deflate bomb TIFF of 64 x 64", tiffDeflateBomb(64, 64)},
    };
    for (const auto& twin : twins) {
        SCOPED_TRACE(twin.name);
        folder.write("twin", twin.bytes);
        Picture picture;
        const LoadReport report = picture.load(folder.file("twin"), PictureType::Unknown, LoadOptions{});
        if (std::string_view(twin.name).starts_with("PNG")) {
            // Its stream holds no rows: all the same a PNG, only damaged.
            EXPECT_EQ(report.outcome, LoadOutcome::Damaged);
            continue;
        }
        ASSERT_EQ(report.outcome, LoadOutcome::Loaded);
        EXPECT_LT(report.work, report.workLimit / 10);
        const Rgb expected =
            std::string_view(twin.name).starts_with("Deflate") ? Rgb{0, 0, 0} : Rgb{128, 128, 128};
        EXPECT_EQ(picture.colourAt(picture.width() / 2, picture.height() / 2), expected);
    }
}

TEST(Decoding, AWithdrawnLoadEndsAsCancelled) {
    TempFolder folder;
    writeJpeg(folder.file("photo.jpg"), gradient(640, 480), JpegKind::Progressive);
    std::stop_source stop;
    stop.request_stop();
    Picture picture;
    const LoadReport report =
        picture.load(folder.file("photo.jpg"), PictureType::Jpeg, LoadOptions{{400, 300}, stop.get_token()});
    EXPECT_EQ(report.outcome, LoadOutcome::Cancelled);
    EXPECT_FALSE(picture.isValid());
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

    // Other formats are reduced while they are decoded, to the very same thumbnail.
    writeTiff(folder.file("large.tif"), gradient(1203, 901), TiffKind::Lzw);
    Picture wholeTiff;
    Picture reducedTiff;
    ASSERT_TRUE(wholeTiff.load(folder.file("large.tif"), PictureType::Tiff));
    ASSERT_TRUE(reducedTiff.load(folder.file("large.tif"), PictureType::Tiff, ThumbnailBox{400, 300}));
    EXPECT_EQ(reducedTiff.width(), 400);
    EXPECT_EQ(reducedTiff.height(), 299);
    EXPECT_EQ(reducedTiff.ownWidth(), 1203);
    wholeTiff.thumbnail(400, 300, Rgb{176, 176, 176});
    reducedTiff.thumbnail(400, 300, Rgb{176, 176, 176});
    EXPECT_EQ(meanDifference(wholeTiff, reducedTiff), 0.0);
}

}  // namespace
