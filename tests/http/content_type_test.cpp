// Recognising the content type of an upload file from its first bytes.
#include <gtest/gtest.h>

#include "http/content_type.h"

namespace {

using Tarvo::SniffContentType;

TEST(ContentType, RecognisesTheCommonUploadsByTheirFirstBytes) {
    struct Row {
        const char* name;
        std::string head;
        const char* type;
    };
    const Row rows[] = {
        {"JPEG",
         std::string("\xFF\xD8\xFF\xE1\0\x18"
                     "Exif",
                     10),
         "image/jpeg"},
        {"PNG", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), "image/png"},
        {"GIF", "GIF89a\x01\x00", "image/gif"},
        {"TIFF little-endian", std::string("II*\0\x08\0\0\0", 8), "image/tiff"},
        {"TIFF big-endian", std::string("MM\0*\0\0\0\x08", 8), "image/tiff"},
        {"BMP", std::string("BM\x36\x10\0\0", 6), "image/bmp"},
        {"PDF", "%PDF-1.7\n%\xE2\xE3", "application/pdf"},
        {"ZIP", std::string("PK\x03\x04\x14\0", 6), "application/zip"},
        {"XML", "<?xml version=\"1.0\"?><iof/>", "text/xml"},
        {"XML after a byte-order mark and blanks", "\xEF\xBB\xBF \r\n<?xml version=\"1.0\"?>", "text/xml"},
        {"cp1250 text", "Objedn\xE1vka \xE8\xED\x73lo 17\r\n", "text/plain"},
        {"binary", std::string("\x01\x02\x03\x00\x7F", 5), "application/octet-stream"},
        {"text with a NUL byte", std::string("abc\0def", 7), "application/octet-stream"},
        {"empty", "", "application/octet-stream"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SniffContentType(row.head), row.type);
    }
}

TEST(ContentType, LooksOnlyAtTheFirst256Bytes) {
    EXPECT_EQ(SniffContentType(std::string(256, 'a') + std::string("\0\1", 2)), "text/plain");
    EXPECT_EQ(SniffContentType(std::string(255, 'a') + std::string("\0", 1)), "application/octet-stream");
}

}  // namespace
