// The windows and procedures that the main window starts but that live elsewhere: the order parameters
// dialog, the sending dialog, the update from the lab's server and the photobook.
//
// The application wires them when it creates the main window; an empty hook means the step is not part
// of this program yet, and the main window then stops where that step would begin. Every hook runs on the
// UI thread, from a handler of the main window, and may run nested modal windows and pump events.
#pragma once

#include <functional>

class CMainOrderDlg;

struct MainWindowHooks {
    // Runs the order parameters dialog modally. True when it ended with OK; it has then handed the order
    // parameters to the order document. False for Cancel: nothing is sent.
    std::function<bool(CMainOrderDlg&)> runOrderParams;

    // Runs the sending dialog modally and returns its sentFlag once it closed: 1 when the order was sent
    // (the order document then holds the order id the server gave), 0 otherwise.
    std::function<int(CMainOrderDlg&)> runSending;

    // The downloads of an update: the catalogue, the header picture and the news message. The main window
    // disables its send and photobook buttons and shows "Nahrávám" before, and reloads its lists, header
    // and buttons after; the hook shows in between, through ShowStatus, whether the catalogue came.
    std::function<void(CMainOrderDlg&)> runUpdate;

    // The photobook: lets the user pick its folder, fills the order document with it and sends it with
    // CMainOrderDlg::SendPhotobookDocument.
    std::function<void(CMainOrderDlg&)> sendPhotobook;
};
