#include "text/format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "text/cp1250.h"

namespace {

using text::FormatArgKind;

TEST(Format, FillsNumbersAndTextsAsPrintfWould) {
    EXPECT_EQ(text::format("%d fotek, %d kopií, %s MB"_cz, 3, 5, std::string("15,99")),
              "3 fotek, 5 kopií, 15,99 MB"_cz);
    EXPECT_EQ(text::format("%d%% (%ld/%ld bytů)"_cz, 50, std::uint32_t{1024}, std::int64_t{2048}),
              "50% (1024/2048 bytů)"_cz);
    EXPECT_EQ(text::format("%03d_%s_%s", 7, "A123", std::string_view("IMG_0042.JPG")),
              "007_A123_IMG_0042.JPG");
    EXPECT_EQ(text::format("%03d_%s_%s", 1000, "", "a.jpg"), "1000__a.jpg");
    EXPECT_EQ(text::format("Snapord-save-%04d", 12), "Snapord-save-0012");
    EXPECT_EQ(text::format("[%5d|%-5d|%05d|%3s|%-3s]", -42, 7, -42, "a", "b"), "[  -42|7    |-0042|  a|b  ]");
    EXPECT_EQ(text::format("%lld %u", LLONG_MIN, UINT64_MAX), "-9223372036854775808 18446744073709551615");
    EXPECT_EQ(text::format("100%%"), "100%");
}

TEST(Format, APatternTakesExactlyTheKindsOfItsConversions) {
    constexpr FormatArgKind kNumberText[] = {FormatArgKind::Number, FormatArgKind::Text};
    struct Row {
        const char* pattern;
        bool accepted;
    };
    const Row rows[] = {
        {"%d und %s", true},  {"%ld und %s", true}, {"%i %s", true},   {"%05lld/%-3s", true},
        {"%d%% %s", true},    {"%s %d", false},     {"%d", false},     {"%d %s %d", false},
        {"%f %s", false},     {"%d %ls", false},    {"%d %s%", false}, {"%d %.2s", false},
        {"%lllld %s", false}, {"%d %999s", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pattern);
        EXPECT_EQ(text::patternTakes(row.pattern, kNumberText), row.accepted);
    }
    EXPECT_TRUE(text::patternTakes("bez konverzí, 100%%", {}));
}

TEST(Format, AnArgumentListThatDoesNotFitIsRefusedAtRunTime) {
    const text::FormatArg number(1);
    const text::FormatArg words("a");
    const text::FormatArg args[] = {number, words};
    EXPECT_THROW(text::formatPattern("%s %s", args), std::invalid_argument);
    EXPECT_THROW(text::formatPattern("%d", args), std::invalid_argument);
    EXPECT_EQ(text::formatPattern("%d %s", args), "1 a");
}

}  // namespace
