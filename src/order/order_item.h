// One row of the order in progress: a photograph with its print format, paper, border and copies.
//
// The row is a single cp1250 text in fixed columns, and that text is the only record of the item: it is
// what the order list shows, what order.sno stores and what the conversion for sending reads.
//
//   columns  0..11  format abbreviation, fitted     columns 19..25  border abbreviation, fitted
//   columns 12..18  paper abbreviation, fitted      columns 26..32  copies in decimal, fitted
//   columns 33..    full path of the photograph (at most 259 characters)
//
// Every fitted column ends in at least one blank (text::fitColumn). Rows loaded from order.sno are kept
// as they stand, so readers must not assume the columns hold what their names say.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace order_item {

// The four columns that the parameter controls set, numbered as the main window numbers them.
enum class Column { Format = 0, Paper = 1, Border = 2, Copies = 3 };

struct ColumnSpan {
    std::size_t start;
    std::size_t width;
};

constexpr ColumnSpan span(Column column) {
    switch (column) {
        case Column::Format:
            return {0, 12};
        case Column::Paper:
            return {12, 7};
        case Column::Border:
            return {19, 7};
        case Column::Copies:
            return {26, 7};
    }
    return {0, 0};
}

inline constexpr std::size_t kPathStart = 33;
inline constexpr std::size_t kPathLimit = 259;
inline constexpr std::size_t kRowLimit = kPathStart + kPathLimit;

// The copies field as a column value: its first five characters; the empty text counts as "1".
std::string copiesValue(std::string_view copiesField);

// The row for `path` with the given abbreviations and copies field. An empty abbreviation (no entry
// selected in that list) gives a blank column, which keeps the other columns in place.
std::string make(std::string_view format, std::string_view paper, std::string_view border,
                 std::string_view copiesField, std::string_view path);

// The row with one column replaced by `value` fitted to it (copies values as by copiesValue).
void setColumn(std::string& row, Column column, std::string_view value);

// The characters of a column (fewer when the row is short).
std::string_view column(std::string_view row, Column column);

// The path: everything from column 33 on.
std::string_view path(std::string_view row);

// The copies as the decimal number in their column, leading blanks skipped; 0 when unreadable.
std::int32_t copies(std::string_view row);

// What a column is looked up by in the catalogue: its text after leading blanks up to the next blank.
// An all-blank column gives the empty text.
std::string_view lookupKey(std::string_view columnText);

}  // namespace order_item
