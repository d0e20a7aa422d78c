#include "text/columns.h"

#include <gtest/gtest.h>

#include "text/cp1250.h"

namespace {

TEST(FitColumn, CentresShortTextsOneBlankLeftOfCentre) {
    struct Case {
        std::string_view value;
        std::size_t width;
        std::string_view expected;
    };
    const Case cases[] = {
        {"Formát"_cz, 12, "  Form\xE1t    "},
        {"1", 7, "  1    "},
        {"Papír"_cz, 7, "Pap\xEDr  "},
        {"123", 7, " 123   "},
        {"abcdef", 7, "abcdef "},  // one short: no leading blank
        {"", 7, "       "},
        {"", 12, "            "},
        {"x", 1, " "},  // not shorter than the width: cut to width - 1 and a blank
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text::fitColumn(c.value, c.width), c.expected) << c.value;
    }
}

TEST(FitColumn, CutsTextsThatDoNotFitAndEndsThemInABlank) {
    EXPECT_EQ(text::fitColumn("abcdefg", 7), "abcdef ");
    EXPECT_EQ(text::fitColumn("10x15-glossy-extra", 12), "10x15-gloss ");
}

}  // namespace
