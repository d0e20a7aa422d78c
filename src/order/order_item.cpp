#include "order/order_item.h"

#include "text/columns.h"
#include "text/numbers.h"

namespace order_item {

namespace {
constexpr std::size_t kCopiesTaken = 5;
}

std::string copiesValue(std::string_view copiesField) {
    if (copiesField.empty())
        return "1";
    return std::string(copiesField.substr(0, kCopiesTaken));
}

std::string make(std::string_view format, std::string_view paper, std::string_view border,
                 std::string_view copiesField, std::string_view path) {
    std::string row;
    row.reserve(kPathStart + path.size());
    row += text::fitColumn(format, span(Column::Format).width);
    row += text::fitColumn(paper, span(Column::Paper).width);
    row += text::fitColumn(border, span(Column::Border).width);
    row += text::fitColumn(copiesValue(copiesField), span(Column::Copies).width);
    row += path;
    return row;
}

void setColumn(std::string& row, Column which, std::string_view value) {
    const ColumnSpan s = span(which);
    if (row.size() < s.start + s.width)
        row.resize(s.start + s.width, ' ');
    const std::string fitted =
        text::fitColumn(which == Column::Copies ? copiesValue(value) : std::string(value), s.width);
    row.replace(s.start, s.width, fitted);
}

std::string_view column(std::string_view row, Column which) {
    const ColumnSpan s = span(which);
    if (row.size() <= s.start)
        return {};
    return row.substr(s.start, s.width);
}

std::string_view path(std::string_view row) {
    return row.size() <= kPathStart ? std::string_view() : row.substr(kPathStart);
}

std::int32_t copies(std::string_view row) {
    return text::leadingInt(column(row, Column::Copies));
}

std::string_view lookupKey(std::string_view columnText) {
    const auto first = columnText.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto rest = columnText.substr(first);
    return rest.substr(0, rest.find(' '));
}

}  // namespace order_item
