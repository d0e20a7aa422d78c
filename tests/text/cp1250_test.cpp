#include "text/cp1250.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1250, LiteralsConvertToTheirWindows1250Bytes) {
    // Bytes written by hand from the Windows-1250 code page.
    EXPECT_EQ("Formát"_cz, std::string_view("Form\xE1t"));
    EXPECT_EQ("Počet"_cz, std::string_view("Po\xE8"
                                           "et"));
    EXPECT_EQ("ŽluťoučkýKůň"_cz, std::string_view("\x8Elu\x9Dou\xE8k\xFDK\xF9\xF2"));
    EXPECT_EQ("€„“”–—"_cz, std::string_view("\x80\x84\x93\x94\x96\x97"));
    EXPECT_EQ(""_cz, std::string_view());
}

TEST(Cp1250, RoundTripsEveryDefinedByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        if (b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98)
            continue;
        all += static_cast<char>(b);
    }
    const auto utf8 = cp1250::toUtf8(all);
    ASSERT_TRUE(utf8.complete());
    const auto back = cp1250::fromUtf8(utf8.text);
    ASSERT_TRUE(back.complete());
    EXPECT_EQ(back.text, all);
}

TEST(Cp1250, ToUtf8ReportsUndefinedBytes) {
    const auto converted = cp1250::toUtf8(
        "a\x81"
        "b\x98");
    EXPECT_EQ(converted.rejected, 2u);
    EXPECT_EQ(converted.text,
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
}

TEST(Cp1250, FromUtf8ReportsWhatCp1250CannotHold) {
    struct Case {
        const char* utf8;
        const char* expected;
        std::size_t rejected;
    };
    const Case cases[] = {
        {"\xC4\x8D"
         "esk\xC3\xBD",
         "\xE8"
         "esk\xFD",
         0},                          // český
        {"\xE2\x82\xAC", "\x80", 0},  // euro sign
        {"a\xE2\x98\x83"
         "b",
         "a?b", 1},                    // a snowman has no cp1250 byte
        {"\xF0\x9F\x93\xB7", "?", 1},  // a camera emoji
        {"\xC3\xA5", "?", 1},          // å is Latin-1 but not cp1250
        {"\xC3", "?", 1},              // truncated sequence
        {"\xC0\x80", "??", 2},         // overlong encoding of NUL
        {"\xED\xA0\x80", "???", 3},    // a lone surrogate
    };
    for (const Case& c : cases) {
        const auto converted = cp1250::fromUtf8(c.utf8);
        EXPECT_EQ(converted.text, c.expected) << c.utf8;
        EXPECT_EQ(converted.rejected, c.rejected) << c.utf8;
    }
}

}  // namespace
