// What a window needs from the desktop, behind one interface.
//
// The product's backend talks to the real desktop; the tests' backend answers from a script, records
// what was asked and advances a virtual clock instead of sleeping. Windows and long operations receive
// the services from their host and never reach the desktop by any other way. UI thread only, except
// runOnUiThread.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

class Dialog;
struct DialogTemplate;

enum class MessageIcon { None, Exclamation, Question, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class DesktopServices {
  public:
    virtual ~DesktopServices() = default;

    // Shows a modal message box and returns the button the user chose; closing a Yes/No box without a
    // choice answers No. An empty caption shows the program's name. Line breaks are "\r\n".
    virtual MessageAnswer messageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                                     MessageButtons buttons) = 0;

    // Dispatches every pending event of the windows, then returns. Handlers run inside this call, so a
    // caller that waits this way must expect its own window's handlers (even closing) meanwhile.
    virtual void pumpEvents() = 0;

    // Any thread: runs `action` on the UI thread later, where events are dispatched (the event loop,
    // pumpEvents), never inside this call. Actions run in the order they were posted. The poster keeps
    // whatever the action touches alive, or lets the action find out that it is gone; an action still
    // pending when the program ends is dropped.
    virtual void runOnUiThread(std::function<void()> action) = 0;

    // Blocks the UI thread for `milliseconds` (the tests' backend only advances its clock).
    virtual void sleep(int milliseconds) = 0;

    // The wait cursor, counted: shown while at least one begin is not yet ended. Use WaitCursor.
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;

    // Keeps the computer from going to sleep, counted like the wait cursor: held while at least one
    // begin is not yet ended (a transfer under way). Use KeepAwake.
    virtual void beginKeepAwake() = 0;
    virtual void endKeepAwake() = 0;

    // Opens a file (a bare name resolves in the current folder) or an address with the application the
    // desktop associates with it. False when nothing could be started.
    virtual bool openWithShell(std::string_view target) = 0;

    // Lets the user choose a folder of the file system; none when the user cancelled or the chosen
    // folder's path cannot be carried as cp1250 (the user is told so).
    virtual std::optional<std::string> browseForFolder(std::string_view title) = 0;

    // Builds the window from `dialogTemplate`, runs it modally over the current window and returns the
    // result it ended with. `dialog` must outlive the call.
    virtual int runModal(Dialog& dialog, const DialogTemplate& dialogTemplate) = 0;
};

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
  public:
    explicit WaitCursor(DesktopServices& services) : services_(services) { services_.beginWaitCursor(); }
    ~WaitCursor() { services_.endWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    DesktopServices& services_;
};

// Keeps the computer awake for the lifetime of the object.
class KeepAwake {
  public:
    explicit KeepAwake(DesktopServices& services) : services_(services) { services_.beginKeepAwake(); }
    ~KeepAwake() { services_.endKeepAwake(); }
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;

  private:
    DesktopServices& services_;
};

}  // namespace ui
