#include "order/order_conversion.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/path.h"
#include "text/cp1250.h"

namespace {

using namespace std::string_literals;

class Conversion : public ::testing::Test {
  protected:
    OptionList formats;
    OptionList surfaces;
    OptionList margins;
    ParameterLists lists{formats, surfaces, margins};
    OrderDocument document;

    void SetUp() override {
        formats.add("9x13", "9x13", 10, 1);
        formats.add("10x15", "10x15", 11, 0);
        formats.add("A 4", "A 4", 12, 0);
        formats.add("Copy of 9x13", "9x13", 13, 0);  // the first match wins
        surfaces.add("Lesk", "L", 1, 1);
        surfaces.add("Mat", "M", 2, 0);
        margins.add("Bez okraje", "B", 3, 1);
        margins.add("S okrajem", "S", 4, 0);
    }
};

struct RecordCase {
    const char* name;
    std::string row;
    std::int32_t formatId;
    std::int32_t paperId;
    std::int32_t marginId;
    std::int32_t copies;
    const char* description;
};

TEST_F(Conversion, RowsBecomeIdsAndADescription) {
    const auto row = [](const char* f, const char* p, const char* b, const char* c) {
        return order_item::make(f, p, b, c, "/f/a.jpg");
    };
    const RecordCase cases[] = {
        {"known abbreviations", row("9x13", "L", "B", "2"), 10, 1, 3, 2, "9x13-Lesk-Bez okraje-2x"},
        {"format no longer in the catalogue", row("13x18", "M", "S", "1"), -1, 2, 4, 1, "-Mat-S okrajem-1x"},
        {"an abbreviation with a blank never matches", row("A 4", "L", "B", "1"), -1, 1, 3, 1,
         "-Lesk-Bez okraje-1x"},
        {"no paper chosen when added", row("10x15", "", "B", "3"), 11, -1, 3, 3, "10x15--Bez okraje-3x"},
        {"abbreviations compare case-sensitively", row("9X13", "l", "b", "1"), -1, -1, -1, 1, "---1x"},
        {"copies that are no number", row("9x13", "L", "B", "abc"), 10, 1, 3, 0, "9x13-Lesk-Bez okraje-0x"},
    };
    for (const RecordCase& c : cases) {
        const PhotoRecord record = photoRecordOf(c.row, lists);
        EXPECT_EQ(record.mark, 0) << c.name;
        EXPECT_EQ(record.formatId, c.formatId) << c.name;
        EXPECT_EQ(record.paperId, c.paperId) << c.name;
        EXPECT_EQ(record.marginId, c.marginId) << c.name;
        EXPECT_EQ(record.copies, c.copies) << c.name;
        EXPECT_EQ(record.description, c.description) << c.name;
    }
}

TEST_F(Conversion, EveryRowBecomesAnEntryWithFolderAndFileName) {
    // The folder and the name split at the platform's separator.
    const std::string jana = platform::joinPath(platform::joinPath("", "home"), "jana");
    const std::string holiday = platform::joinPath(jana, "dovolená"_cz);
    OrderList order;
    ASSERT_EQ(order.add("9x13", "L", "B", "2", platform::joinPath(jana, "a.jpg")), AddResult::Added);
    ASSERT_EQ(order.add("10x15", "M", "S", "1", platform::joinPath(holiday, "b.jpg")), AddResult::Added);
    ASSERT_EQ(order.add("9x13", "L", "B", "2", platform::joinPath(jana, "a.jpg")),
              AddResult::Added);                      // sent twice
    order.appendRow(std::string(33, ' ') + "c.jpg");  // a loaded row without folder

    const ConversionResult result = convertOrder(order, lists, document);
    EXPECT_EQ(result.added, 4u);
    EXPECT_EQ(result.leftOut, 0u);
    const auto entries = document.entries();
    EXPECT_EQ(entries[0].folder, jana);
    EXPECT_EQ(entries[0].fileName, "a.jpg");
    EXPECT_EQ(entries[0].photo.formatId, 10);
    EXPECT_EQ(entries[1].folder, holiday);
    EXPECT_EQ(entries[1].fileName, "b.jpg");
    EXPECT_EQ(entries[1].photo.description, "10x15-Mat-S okrajem-1x");
    EXPECT_EQ(entries[2].fileName, "a.jpg");
    EXPECT_EQ(entries[3].folder, "");
    EXPECT_EQ(entries[3].fileName, "c.jpg");
    EXPECT_EQ(entries[3].photo.formatId, -1);
    EXPECT_EQ(document.usedCount(), 4u);
}

TEST_F(Conversion, RowsBeyondTheDocumentAreReported) {
    OrderList order;
    for (std::size_t i = 0; i < OrderDocument::kSlotCount + 2; ++i)
        ASSERT_EQ(order.add("9x13", "L", "B", "1", platform::joinPath("f", "p" + std::to_string(i) + ".jpg")),
                  AddResult::Added);
    const ConversionResult result = convertOrder(order, lists, document);
    EXPECT_EQ(result.added, OrderDocument::kSlotCount);
    EXPECT_EQ(result.leftOut, 2u);
    EXPECT_EQ(document.entries().back().fileName, "p1998.jpg");
}

}  // namespace
