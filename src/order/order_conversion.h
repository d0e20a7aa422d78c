// Turning the order in progress into the order document for sending.
//
// Each row becomes one document entry: its abbreviations are looked up in the window's parameter lists
// and replaced by catalogue ids, a readable description is built, and the path is split into folder and
// file name. Called on the user-interface thread by the send path, after the document was reset.
#pragma once

#include <cstddef>

#include "catalogue/option_list.h"
#include "documents/order_document.h"
#include "order/order_list.h"

struct ParameterLists {
    const OptionList& formats;
    const OptionList& surfaces;
    const OptionList& margins;
};

struct ConversionResult {
    std::size_t added = 0;
    // Rows that are not in the document: the document was full, or a folder or file name was too long
    // for it. The caller must not send a partial order.
    std::size_t leftOut = 0;
};

// The catalogue id of the first entry whose abbreviation equals the column's lookup key exactly; -1 when
// none does.
std::int32_t lookupId(const OptionList& list, std::string_view columnText);

// The photo record of one row: ids, copies and the description "format-paper-border-<copies>x" from
// the names of the entries with those ids (empty where no entry has the id).
PhotoRecord photoRecordOf(std::string_view row, const ParameterLists& lists);

// Adds one entry per row, in list order, to `document`.
ConversionResult convertOrder(const OrderList& order, const ParameterLists& lists, OrderDocument& document);
