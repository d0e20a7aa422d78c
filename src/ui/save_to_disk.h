// Save to disk: the order written into a new numbered folder that the customer brings to the shop.
//
// The sending dialog runs it, after the login check, the catalogue refresh and the order id from the
// server, instead of uploading the photographs. UI thread only; it may run modal windows (the folder
// browser, the closing message).
#pragma once

#include "ui/order_session.h"

// Shows the main window, lets the customer choose a folder and writes the order into a new numbered
// folder there. True only when the whole order is in the folder and on the medium; false when the
// customer cancelled the folder browser or something could not be written (the customer has then been
// told what).
bool SaveOrderToDisk(OrderSession& session);
