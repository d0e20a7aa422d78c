#include "app/ui_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(UiTexts, HoldsTheFixedCzechTextsAsCp1250Bytes) {
    const UiTexts& texts = uiTexts();
    // Bytes written by hand from the Windows-1250 code page.
    EXPECT_EQ(texts.at(0), "-----MESSAGES HLAVNI OKNO");
    EXPECT_EQ(texts.at(24), "Cen\xEDk");
    EXPECT_EQ(texts.at(29),
              "Po\xE8"
              "et");
    EXPECT_EQ(texts.at(3),
              "Opravdu chcete smazat v\x9A"
              "echny soubory z objedn\xE1vky?\r\n"
              "(Va\x9A"
              "e soubory na disku z\xF9stanou zachov\xE1ny.)");
    EXPECT_EQ(texts.at(63), "%d%% (%ld/%ld soubor\xF9)");
    EXPECT_EQ(texts.at(73), "Zpv\xE1va ze serveru");
    EXPECT_EQ(texts.at(78).substr(0, 12), "Vyberete-li ");
    EXPECT_EQ(texts[UiText::SummaryFormat], "%d fotek, %d kopi\xED, %s MB");
    EXPECT_EQ(texts.at(79), "");
}

TEST(UiTexts, ColumnHeaderLinesUpWithTheOrderRows) {
    const std::string& header = uiTexts()[UiText::ColumnHeader];
    EXPECT_EQ(header,
              "  Form\xE1t    "
              "Pap\xEDr  "
              "Okraj  "
              "Po\xE8"
              "et  "
              "Jm\xE9no fotografie v objedn\xE1vce");
    EXPECT_EQ(header.size(), 62u);
    // The fifth column starts where every order row's path starts.
    EXPECT_EQ(header.find("Jm"), 33u);
}

TEST(UiTexts, EveryEntryIsFilled) {
    for (std::size_t i = 0; i < UiTexts::kCount; ++i)
        EXPECT_FALSE(uiTexts().at(i).empty()) << i;
}

}  // namespace
