// params.sno: the server's answer to the parameters request that opens every order transfer.
//
// The file holds four tokens separated by white space: the order date, the server folder for this order,
// the customer number and the order number. The file comes from the network, and the two numbers become
// parts of file names on the customer's disk and on the server, so a token is taken only when it fits
// its field and, for the numbers, can stand inside a file name.
// Called on the user-interface thread once the download has completed.
#pragma once

#include <string_view>

#include "app/state_files.h"
#include "documents/order_document.h"

// The values that stand until the server's file replaces them: "now", "temp", "X", "Y".
OrderIdentity presetOrderIdentity();

// Reads up to four tokens into `identity` in the order date, server folder, customer number, order
// number; a token the file does not hold leaves its value as it was. 0 on success. 1 when the file
// cannot be opened, or when a token is longer than its field (OrderIdentity limits) or a customer or
// order number holds a path separator, "..", a control character or another character that cannot
// stand in a file name; then `identity` is left as it was.
int readOrderIdentity(OrderIdentity& identity, std::string_view path = state_files::kOrderParams);
