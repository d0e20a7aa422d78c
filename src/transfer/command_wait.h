// Running one server command to its end on the user-interface thread, as the waiting routines of the
// sending and of the update do: prepare, start the worker, look at the state until it is final, then
// reset the request.
//
// Between two looks the caller's `betweenLooks` runs: it updates the display and dispatches the
// windows' pending events, so the windows stay alive and their handlers (Storno, the pause box, a second
// press of a button) run meanwhile. A look ends as soon as the state is final, never later than
// `interval`, so no command waits for a timer it does not need.
//
// Each waiting routine has a busy flag of its own: a routine entered again from inside its own wait (a
// handler that the event pump ran) fails at once and leaves the request to the first call.
#pragma once

#include <chrono>
#include <functional>
#include <string_view>

#include "transfer/request_state.h"
#include "transfer/server_request.h"

class BusyFlag {
  public:
    bool isSet() const { return busy_; }

  private:
    friend class BusyScope;
    bool busy_ = false;
};

// Sets a busy flag for the lifetime of the object.
class BusyScope {
  public:
    explicit BusyScope(BusyFlag& flag) : flag_(flag) { flag_.busy_ = true; }
    ~BusyScope() { flag_.busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    BusyFlag& flag_;
};

struct CommandCall {
    ServerCommand command;
    std::string_view a;
    std::string_view b;
    std::string_view c;
};

// Runs `call` on `request` and returns its final state, the request Reset afterwards. Failed at once,
// with the request untouched, while `busy` is set.
RequestState runCommand(ServerRequest& request, BusyFlag& busy, const CommandCall& call,
                        std::chrono::milliseconds interval, const std::function<void()>& betweenLooks);
