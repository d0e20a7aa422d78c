// order.sno: the order in progress, kept between runs in the working folder.
//
// One line per row, in list order: the row text followed by CR LF; no header, count or trailer, so an
// empty order is an empty file. Called on the user-interface thread: the load once at start-up, the
// save when the program ends and when the user starts sending.
#pragma once

#include <string_view>

#include "app/state_files.h"
#include "order/order_list.h"

// Writes every row. The file is replaced as one step, so a crash or a full disk while saving leaves the
// order saved before in place. False when nothing could be saved; the caller reports nothing.
bool saveOrder(const OrderList& order, std::string_view path = state_files::kOrder);

// Appends the rows of the file to `order` (unselected). A line ends at CR, at LF or at the end of the
// file; a line longer than 293 characters is cut there and its rest read as the next line. Lines of more
// than 33 characters are appended as they stand; shorter ones (empty lines among them) are skipped.
// False when the file cannot be opened or read; `order` is then unchanged.
bool loadOrder(OrderList& order, std::string_view path = state_files::kOrder);
