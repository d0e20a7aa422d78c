// The state of the server request: what the user-interface thread sees of the command under way.
#pragma once

#include <cstdint>

enum class RequestState : std::int32_t {
    Idle = 0,         // nothing under way; Prepare accepts a new command
    Prepared = 1,     // arguments stored, the worker has not taken them yet
    NotPrepared = 2,  // the worker found no prepared command; nothing was sent
    Running = 3,      // the exchange with the server is under way
    Ok = 4,           // the server accepted the command
    Warning = 5,      // "getvalidity": the server has a remark about the order
    Failed = 6,       // no connection, a broken exchange, an error status or an unexpected reply
    NotFound = 7,     // "getfile": the server has no such file
    BadLogin = 8,     // the server refused the login
    Cancelled = 9,    // the user's cancel stopped the upload
};

// A caller waits while the state is Prepared or Running; every other state is final.
constexpr bool isFinal(RequestState state) {
    return state != RequestState::Prepared && state != RequestState::Running;
}
