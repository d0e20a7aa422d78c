// The totals of the order shown in the main window's summary line.
//
// Computed anew after every change of the order: every file is looked at each time, so a photograph
// that disappeared since it was added shows up as missing at once. Runs on the user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "order/order_list.h"

struct OrderTotals {
    std::size_t items = 0;
    // The copies columns summed; a column that holds no number counts 0.
    std::int64_t copies = 0;
    // The sizes of the files that exist, summed exactly (beyond 4 GiB too).
    std::uint64_t bytes = 0;
    // Rows whose file does not exist (any more).
    std::size_t missingFiles = 0;
    // Rows whose file exists but whose size could not be taken (a folder, for one); they add nothing to
    // `bytes`. The window reports each as "invalid size".
    std::size_t invalidSizes = 0;
};

OrderTotals computeTotals(const OrderList& order);

// The byte count in megabytes with two decimals and a decimal comma, as the summary line shows it:
// 1572864 bytes give "1,50".
std::string megabytesText(std::uint64_t bytes);
