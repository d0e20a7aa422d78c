#include "order/order_totals.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;

TEST(OrderTotals, CountsCopiesBytesAndMissingFiles) {
    TempFolder folder;
    folder.write("a.jpg", "12345");
    folder.write("b.jpg", std::string(1000, 'b'));
    std::filesystem::create_directory(folder.file("album.jpg"));
    OrderList order;
    ASSERT_EQ(order.add("F", "P", "B", "2", folder.file("a.jpg")), AddResult::Added);
    ASSERT_EQ(order.add("F", "P", "B", "3", folder.file("a.jpg")), AddResult::Added);  // counts twice
    ASSERT_EQ(order.add("F", "P", "B", " 7", folder.file("b.jpg")), AddResult::Added);
    ASSERT_EQ(order.add("F", "P", "B", "x", folder.file("gone.jpg")), AddResult::Added);   // copies 0
    ASSERT_EQ(order.add("F", "P", "B", "1", folder.file("album.jpg")), AddResult::Added);  // no size

    const OrderTotals totals = computeTotals(order);
    EXPECT_EQ(totals.items, 5u);
    EXPECT_EQ(totals.copies, 2 + 3 + 7 + 0 + 1);
    EXPECT_EQ(totals.bytes, 5u + 5u + 1000u);
    EXPECT_EQ(totals.missingFiles, 1u);
    EXPECT_EQ(totals.invalidSizes, 1u);
}

TEST(OrderTotals, AnOrderBeyond4GiBKeepsItsExactSize) {
    TempFolder folder;
    constexpr std::uint64_t kThreeGiB = 3ull << 30;
    for (const char* name : {"big1.tif", "big2.tif"}) {
        folder.write(name, "");
        std::filesystem::resize_file(folder.file(name), kThreeGiB + 7);  // sparse: takes no disk space
    }
    OrderList order;
    ASSERT_EQ(order.add("F", "P", "B", "1", folder.file("big1.tif")), AddResult::Added);
    ASSERT_EQ(order.add("F", "P", "B", "1", folder.file("big2.tif")), AddResult::Added);
    const OrderTotals totals = computeTotals(order);
    EXPECT_EQ(totals.bytes, 2 * (kThreeGiB + 7));
    EXPECT_EQ(megabytesText(totals.bytes), "6144,00");
}

TEST(OrderTotals, MegabytesWithADecimalComma) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0,00"},
        {5242, "0,00"},
        {5243, "0,01"},
        {1572864, "1,50"},
        {1048576ull * 2500 + 104858, "2500,10"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(megabytesText(bytes), text) << bytes;
}

}  // namespace
