// The windows and procedures that the main window starts but that live elsewhere: the order parameters
// dialog, the sending dialog, the update from the lab's server and the photobook.
//
// The application wires them when it creates the main window (programHooks); an empty hook means the
// step is not part of this program, and the main window then stops where that step would begin. Every
// hook runs on the UI thread, from a handler of the main window, with the session of that action, and
// may run nested modal windows and pump events.
#pragma once

#include <functional>

#include "transfer/sending_outcome.h"
#include "ui/order_session.h"

struct MainWindowHooks {
    // Runs the order parameters dialog modally. True when it ended with OK; it has then handed the order
    // parameters to the order document. False for Cancel: nothing is sent.
    std::function<bool(OrderSession&)> runOrderParams;

    // Runs the sending dialog modally and tells, once it closed, what became of the order; when it was
    // sent, the order document holds the order id the server gave.
    std::function<SendingOutcome(OrderSession&)> runSending;

    // The downloads of an update: the catalogue, the header picture and the news message. The main window
    // disables its send and photobook buttons and shows "Nahrávám" before, and reloads its lists, header
    // and buttons after; the hook shows in between, through the main window's status line, whether the
    // catalogue came.
    std::function<void(OrderSession&)> runUpdate;

    // The photobook: lets the user pick its folder, fills the order document with it and sends it with
    // MainWindowLink::SendPhotobookDocument.
    std::function<void(OrderSession&)> sendPhotobook;
};

// The hooks of the product: every window and procedure the program has.
MainWindowHooks programHooks();
