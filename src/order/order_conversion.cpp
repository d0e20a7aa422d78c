#include "order/order_conversion.h"

#include "platform/path.h"

namespace {

const std::string& nameOfId(const OptionList& list, std::int32_t id) {
    static const std::string kNone;
    for (int position = 0; position < list.count(); ++position) {
        if (list.idAt(position) == id)
            return list.nameAt(position);
    }
    return kNone;
}

}  // namespace

std::int32_t lookupId(const OptionList& list, std::string_view columnText) {
    const std::string_view key = order_item::lookupKey(columnText);
    for (int position = 0; position < list.count(); ++position) {
        if (list.abbreviationAt(position) == key)
            return list.idAt(position);
    }
    return -1;
}

PhotoRecord photoRecordOf(std::string_view row, const ParameterLists& lists) {
    using order_item::Column;
    PhotoRecord record;
    record.mark = 0;
    record.formatId = lookupId(lists.formats, order_item::column(row, Column::Format));
    record.paperId = lookupId(lists.surfaces, order_item::column(row, Column::Paper));
    record.marginId = lookupId(lists.margins, order_item::column(row, Column::Border));
    record.copies = order_item::copies(row);
    record.description = nameOfId(lists.formats, record.formatId) + "-" +
                         nameOfId(lists.surfaces, record.paperId) + "-" +
                         nameOfId(lists.margins, record.marginId) + "-" + std::to_string(record.copies) + "x";
    return record;
}

ConversionResult convertOrder(const OrderList& order, const ParameterLists& lists, OrderDocument& document) {
    ConversionResult result;
    for (const OrderList::Row& row : order.rows()) {
        document.setCurrentPhoto(photoRecordOf(row.text, lists));
        const auto split = platform::splitAtLastSeparator(order_item::path(row.text));
        if (document.addEntry(split.folder, split.name) == AddEntryResult::Added)
            ++result.added;
        else
            ++result.leftOut;
    }
    return result;
}
