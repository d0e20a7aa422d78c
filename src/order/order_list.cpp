#include "order/order_list.h"

#include <algorithm>

AddResult OrderList::add(std::string_view format, std::string_view paper, std::string_view border,
                         std::string_view copiesField, std::string_view path) {
    if (path.size() > order_item::kPathLimit)
        return AddResult::PathTooLong;
    if (path.empty() || path.find_first_of("\r\n") != std::string_view::npos)
        return AddResult::PathUnusable;
    rows_.push_back({order_item::make(format, paper, border, copiesField, path), false});
    return AddResult::Added;
}

void OrderList::appendRow(std::string text) {
    rows_.push_back({std::move(text), false});
}

void OrderList::setColumnOnSelected(order_item::Column column, std::string_view value) {
    for (Row& row : rows_) {
        if (row.selected)
            order_item::setColumn(row.text, column, value);
    }
}

std::optional<std::size_t> OrderList::removeSelected() {
    const auto lastSelected =
        std::find_if(rows_.rbegin(), rows_.rend(), [](const Row& row) { return row.selected; });
    if (lastSelected == rows_.rend())
        return std::nullopt;
    // The row after the last deleted one moves up by the number of rows deleted before it.
    const auto following = static_cast<std::size_t>(rows_.rend() - lastSelected);
    const auto deleted = static_cast<std::size_t>(
        std::count_if(rows_.begin(), rows_.end(), [](const Row& row) { return row.selected; }));
    const bool hasFollowing = following < rows_.size();
    std::erase_if(rows_, [](const Row& row) { return row.selected; });
    if (!hasFollowing)
        return std::nullopt;
    return following - deleted;
}

void OrderList::setSelected(std::size_t index, bool selected) {
    if (index < rows_.size())
        rows_[index].selected = selected;
}

void OrderList::clearSelection() {
    for (Row& row : rows_)
        row.selected = false;
}
