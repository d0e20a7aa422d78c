#include "order/order_state_file.h"

#include <string>

#include "platform/files.h"

namespace {

// The longest line kept whole; the rest of a longer line is read as the next line, as order.sno has
// always been read.
constexpr std::size_t kLineLimit = 293;

void keepIfRow(OrderList& order, std::string_view line) {
    if (line.size() > order_item::kPathStart)
        order.appendRow(std::string(line));
}

}  // namespace

bool saveOrder(const OrderList& order, std::string_view path) {
    std::string content;
    for (const OrderList::Row& row : order.rows()) {
        content += row.text;
        content += "\r\n";
    }
    return platform::writeFileAtomically(path, content);
}

bool loadOrder(OrderList& order, std::string_view path) {
    const auto content = platform::readFile(path);
    if (!content)
        return false;
    std::string_view rest(*content);
    while (!rest.empty()) {
        std::size_t end = rest.find_first_of("\r\n");
        if (end == std::string_view::npos)
            end = rest.size();
        if (end > kLineLimit) {
            keepIfRow(order, rest.substr(0, kLineLimit));
            rest.remove_prefix(kLineLimit);
            continue;
        }
        keepIfRow(order, rest.substr(0, end));
        rest.remove_prefix(end == rest.size() ? end : end + 1);
    }
    return true;
}
