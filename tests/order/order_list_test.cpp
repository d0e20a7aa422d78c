#include "order/order_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using order_item::Column;

std::vector<std::string> texts(const OrderList& order) {
    std::vector<std::string> result;
    for (const auto& row : order.rows())
        result.push_back(row.text);
    return result;
}

struct AddCase {
    const char* name;
    const char* format;
    const char* paper;
    const char* border;
    const char* copies;
    std::string row;
};

TEST(OrderList, AddBuildsTheRowInFixedColumns) {
    const AddCase cases[] = {
        {"every column filled", "9x13", "L", "B", "2", "   9x13       L      B      2    /f/a.jpg"},
        {"no entry chosen gives blank columns", "", "", "", "3", std::string(26, ' ') + "  3    /f/a.jpg"},
        {"empty copies field counts as 1", "9x13", "L", "B", "", "   9x13       L      B      1    /f/a.jpg"},
        {"abbreviations too long for their column are cut", "ABCDEFGHIJKLMN", "PAPERXYZ", "BORDERS", "12",
         "ABCDEFGHIJK PAPERX BORDER  12    /f/a.jpg"},
        {"copies take five characters", "9x13", "L", "B", "123456",
         "   9x13       L      B    12345  /f/a.jpg"},
    };
    for (const AddCase& c : cases) {
        OrderList order;
        ASSERT_EQ(order.add(c.format, c.paper, c.border, c.copies, "/f/a.jpg"), AddResult::Added) << c.name;
        ASSERT_EQ(order.size(), 1u);
        EXPECT_EQ(order[0].text, c.row) << c.name;
        EXPECT_EQ(order_item::path(order[0].text), "/f/a.jpg") << c.name;
        EXPECT_FALSE(order[0].selected);
    }
}

TEST(OrderList, RefusesPathsThatARowCannotHold) {
    OrderList order;
    const std::string longest = "/" + std::string(order_item::kPathLimit - 1, 'p');
    ASSERT_EQ(order.add("F", "P", "B", "1", longest), AddResult::Added);
    EXPECT_EQ(order[0].text.size(), order_item::kRowLimit);
    EXPECT_EQ(order.add("F", "P", "B", "1", longest + "x"), AddResult::PathTooLong);
    EXPECT_EQ(order.add("F", "P", "B", "1", ""), AddResult::PathUnusable);
    EXPECT_EQ(order.add("F", "P", "B", "1", "/f/a\nb.jpg"), AddResult::PathUnusable);
    EXPECT_EQ(order.size(), 1u);
}

TEST(OrderList, SetColumnChangesOnlySelectedRowsAndKeepsThemSelected) {
    OrderList order;
    for (const char* path : {"/f/a.jpg", "/f/b.jpg", "/f/c.jpg"})
        ASSERT_EQ(order.add("9x13", "L", "B", "1", path), AddResult::Added);
    order.setSelected(0, true);
    order.setSelected(2, true);
    order.setSelected(7, true);  // beyond the list: ignored

    order.setColumnOnSelected(Column::Format, "10x15");
    order.setColumnOnSelected(Column::Paper, "M");
    order.setColumnOnSelected(Column::Border, "");
    order.setColumnOnSelected(Column::Copies, "");

    EXPECT_EQ(texts(order), (std::vector<std::string>{
                                "  10x15       M             1    /f/a.jpg",
                                "   9x13       L      B      1    /f/b.jpg",
                                "  10x15       M             1    /f/c.jpg",
                            }));
    EXPECT_TRUE(order[0].selected);
    EXPECT_FALSE(order[1].selected);
    EXPECT_TRUE(order[2].selected);
    order.setColumnOnSelected(Column::Copies, "25");
    EXPECT_EQ(order_item::copies(order[2].text), 25);
    EXPECT_EQ(order_item::copies(order[1].text), 1);
}

struct RemoveCase {
    const char* name;
    std::vector<std::size_t> selected;
    std::vector<std::string> remaining;
    std::optional<std::size_t> following;
};

TEST(OrderList, RemoveSelectedReportsTheRowAfterTheLastDeletedOne) {
    const RemoveCase cases[] = {
        {"two apart", {1, 3}, {"a", "c", "e"}, 2},
        {"the first two", {0, 1}, {"c", "d", "e"}, 0},
        {"the last", {4}, {"a", "b", "c", "d"}, std::nullopt},
        {"all", {0, 1, 2, 3, 4}, {}, std::nullopt},
        {"none", {}, {"a", "b", "c", "d", "e"}, std::nullopt},
    };
    for (const RemoveCase& c : cases) {
        OrderList order;
        for (const char* name : {"a", "b", "c", "d", "e"})
            order.appendRow(std::string(33, ' ') + name);
        for (const std::size_t index : c.selected)
            order.setSelected(index, true);
        EXPECT_EQ(order.removeSelected(), c.following) << c.name;
        std::vector<std::string> paths;
        for (const auto& row : order.rows()) {
            paths.emplace_back(order_item::path(row.text));
            EXPECT_FALSE(row.selected) << c.name;
        }
        EXPECT_EQ(paths, c.remaining) << c.name;
    }
}

}  // namespace
