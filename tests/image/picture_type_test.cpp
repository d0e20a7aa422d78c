#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/codecs.h"
#include "image/picture.h"

namespace {

TEST(PictureTypeOfName, DecidesByTheEndOfTheNameIgnoringCase) {
    const struct {
        const char* path;
        PictureType expected;
    } rows[] = {
        {"C:\\fotky\\a.jpg", PictureType::Jpeg},
        {"a.JPEG", PictureType::Jpeg},
        {"a.JpG", PictureType::Jpeg},
        {".jpg", PictureType::Jpeg},
        {"scan.tif", PictureType::Tiff},
        {"scan.TIFF", PictureType::Tiff},
        {"a.jpe", PictureType::Unknown},
        {"a.png", PictureType::Unknown},
        {"a.bmp", PictureType::Unknown},
        {"jpg", PictureType::Unknown},
        {"a.jpg.txt", PictureType::Unknown},
        {"C:\\fotky\\dovolen\xE1", PictureType::Unknown},  // a folder
        {"", PictureType::Unknown},
    };
    for (const auto& row : rows)
        EXPECT_EQ(pictureTypeOfName(row.path), row.expected) << row.path;
}

TEST(PictureTypeByContent, RecognisesTheSignatures) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        PictureType expected;
    } rows[] = {
        {"JFIF", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1}, PictureType::Jpeg},
        {"Exif", {0xFF, 0xD8, 0xFF, 0xE1, 0, 16, 'E', 'x', 'i', 'f', 0, 0}, PictureType::Jpeg},
        {"PNG", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13}, PictureType::Png},
        {"TIFF Intel", {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0}, PictureType::Tiff},
        {"TIFF Motorola", {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0, 0, 0}, PictureType::Tiff},
        {"BigTIFF", {'I', 'I', 43, 0, 8, 0, 0, 0, 16, 0, 0, 0}, PictureType::Tiff},
        {"BMP", {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0}, PictureType::Bmp},
        {"BM too short", {'B', 'M'}, PictureType::Unknown},
        {"JPEG cut after two bytes", {0xFF, 0xD8}, PictureType::Unknown},
        {"PNG signature damaged", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x00}, PictureType::Unknown},
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!'}, PictureType::Unknown},
        {"empty", {}, PictureType::Unknown},
    };
    for (const auto& row : rows)
        EXPECT_EQ(codecs::detectPictureType(row.bytes), row.expected) << row.name;
}

}  // namespace
