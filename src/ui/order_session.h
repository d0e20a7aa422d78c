// What the main window lends the windows and procedures it starts (the order parameters dialog, the
// sending dialog, the update and the photobook): the program's order document and server request, the
// desktop, and the few operations of the main window they call.
//
// The application owns the one order document and the one server request of the run; the main window
// builds a session over them for each action it starts, and a test builds one over instances of its own.
// UI thread only.
#pragma once

#include <string_view>

#include "documents/order_document.h"
#include "transfer/server_request.h"
#include "ui/controls/desktop_services.h"

// The main window's operations for the windows that open over it.
class MainWindowLink {
  public:
    virtual ~MainWindowLink() = default;

    // Shows or hides the main window (the sending dialog hides it while it is minimised).
    virtual void ShowWindow(bool visible) = 0;
    // Shows a text in the main window's status line.
    virtual void ShowStatus(std::string_view text) = 0;
    // Set while the send path runs for a photobook: the order document then holds the photobook, not the
    // order list, and the sending asks no price.
    virtual bool photobookMode() const = 0;
    // Runs the send path (order parameters, then the sending dialog) for the photobook that already
    // stands in the order document, with photobookMode set for the duration.
    virtual void SendPhotobookDocument() = 0;
};

struct OrderSession {
    OrderDocument& document;
    ServerRequest& request;
    ui::DesktopServices& services;
    MainWindowLink& mainWindow;
};
