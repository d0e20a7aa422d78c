// The main window's "Poslat fotoknihu": a photobook folder, prepared by another tool, sent to the lab
// as an order of its own through the main window's send path.
#pragma once

#include "ui/order_session.h"

// Lets the user choose the photobook's folder, fills the order document with its files and runs the
// main window's send path in photobook mode (MainWindowLink::SendPhotobookDocument). A folder that is
// no photobook, or that could not reach the lab whole, is refused with a message and the order document
// is left as it was. The main window's own order list and its state file are never touched. UI thread.
void SendPhotobook(OrderSession& session);
