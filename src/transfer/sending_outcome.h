// What became of an order that the sending dialog had: the main window decides from it whether to open
// the payment page and whether to offer a new order.
#pragma once

enum class SendingOutcome {
    Nothing,      // closed before the order reached the lab, or after a failure, refusal or cancel
    Sent,         // the lab confirmed the end of the order, and it was not cancelled
    SavedToDisk,  // the order was written to a folder for the shop
};
