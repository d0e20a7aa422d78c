// The order in progress: its rows in the order they were added, and which of them are selected.
//
// Each row is one order_item text, the only record of the item. The selection is the order list's:
// the main window mirrors rows and selection into its list box after every change and hands the user's
// selection back with setSelected, so operations on "the selected rows" are answered here. Lives on the
// user-interface thread for the whole run; not thread-safe.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "order/order_item.h"

enum class AddResult {
    Added,
    PathTooLong,   // longer than order_item::kPathLimit: a cut path would name another file
    PathUnusable,  // empty, or holding a line break that order.sno could not keep in one line
};

class OrderList {
  public:
    struct Row {
        std::string text;
        bool selected = false;
    };

    // Appends an unselected row for `path` with the abbreviations of the entries chosen in the format,
    // paper and border lists (empty when none is chosen) and the copies field as it stands.
    AddResult add(std::string_view format, std::string_view paper, std::string_view border,
                  std::string_view copiesField, std::string_view path);

    // Appends a row text exactly as it stands (rows read back from order.sno).
    void appendRow(std::string text);

    // Replaces that column of every selected row by `value` fitted to it; the rows keep their places and
    // stay selected. For the copies column the empty text counts as "1".
    void setColumnOnSelected(order_item::Column column, std::string_view value);

    // Deletes every selected row, keeping the others in order. Returns the index, in the list as it is
    // afterwards, of the row that followed the last deleted one; none when nothing was deleted or the
    // last deleted row was the last row.
    std::optional<std::size_t> removeSelected();

    void removeAll() { rows_.clear(); }

    // Out-of-range indices are ignored.
    void setSelected(std::size_t index, bool selected);
    void clearSelection();

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const Row& operator[](std::size_t index) const { return rows_[index]; }
    const std::vector<Row>& rows() const { return rows_; }

  private:
    std::vector<Row> rows_;
};
