#include "order/order_totals.h"

#include <algorithm>
#include <cstdio>

#include "platform/files.h"

OrderTotals computeTotals(const OrderList& order) {
    OrderTotals totals;
    totals.items = order.size();
    for (const OrderList::Row& row : order.rows()) {
        totals.copies += order_item::copies(row.text);
        const std::string path(order_item::path(row.text));
        if (const auto size = platform::fileSize(path))
            totals.bytes += *size;
        else if (platform::exists(path))
            ++totals.invalidSizes;
        else
            ++totals.missingFiles;
    }
    return totals;
}

std::string megabytesText(std::uint64_t bytes) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%0.2f", static_cast<double>(bytes) / 1024.0 / 1024.0);
    std::string text(buffer);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}
