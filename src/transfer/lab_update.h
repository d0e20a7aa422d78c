// The update from the lab's server: the catalogue, the header picture and the news message that the
// lab publishes for this version of the client, fetched anonymously from "/snapord2/standfile.php".
//
// The engine opens no window. What it needs of the windows it asks through UpdateView: the status
// line, the news message, and the dispatching of the windows' events while a download runs. The
// caller (the main window) disables its send and photobook buttons before and reloads its lists, its
// header picture and its buttons after.
//
// UI thread only. The windows stay alive during the downloads, so a handler may start a second update
// while the first waits: its first download then fails at once (the waiting routine is busy), it
// reports the failure and returns, and the first goes on.
#pragma once

#include <chrono>
#include <string_view>

#include "transfer/command_wait.h"
#include "transfer/request_state.h"
#include "transfer/server_request.h"

// What the update asks of the windows.
class UpdateView {
  public:
    virtual ~UpdateView() = default;
    // Shows a text in the main window's status line.
    virtual void ShowStatus(std::string_view text) = 0;
    // The news message has just been downloaded to "message.txt": show it. The news window reads the
    // file and deletes it, and decides by itself whether the message is new enough to be shown.
    virtual void ShowNewsMessage() = 0;
    // Between two looks at a running download: dispatch the windows' pending events.
    virtual void BetweenLooks() = 0;
};

enum class UpdateOutcome {
    Done,           // the catalogue was replaced; picture and message were fetched
    CatalogueKept,  // no usable catalogue came: the old one stays, nothing else was fetched
};

// One per program: it holds the busy flag of the update's waiting routine.
class LabUpdate {
  public:
    static constexpr std::chrono::milliseconds kLookInterval{200};

    // `lookInterval`: the longest time between two looks at a running download.
    explicit LabUpdate(std::chrono::milliseconds lookInterval = kLookInterval)
        : lookInterval_(lookInterval) {}

    // The whole update, with the status texts "Hotovo" or "Při aktualizaci došlo k chybě, použiji
    // dříve uložené údaje.". Sets empty credentials on the request.
    UpdateOutcome RunUpdate(ServerRequest& request, UpdateView& view);

    // Downloads the lab's file `serverPath` (under the version's folder, "2.0.24.3/snapord2.ini") to
    // `localFile` as an anonymous download, dispatching the windows' events between looks. Returns the final
    // state; Failed at once, with the request untouched, while another download of an update waits.
    RequestState WaitUpdateDownload(ServerRequest& request, std::string_view localFile,
                                    std::string_view serverPath, UpdateView& view);

  private:
    std::chrono::milliseconds lookInterval_;
    BusyFlag downloadBusy_;
};
