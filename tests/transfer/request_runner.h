// Running the server request's commands in tests: prepare, start, and wait with the request's own
// waiting helper; nothing sleeps.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>
#include <string_view>

#include "transfer/server_request.h"

inline void PrintTo(RequestState state, std::ostream* out) {
    static constexpr const char* kNames[] = {"Idle",    "Prepared", "NotPrepared", "Running",  "Ok",
                                             "Warning", "Failed",   "NotFound",    "BadLogin", "Cancelled"};
    const auto index = static_cast<std::size_t>(state);
    *out << (index < std::size(kNames) ? kNames[index] : "?") << " (" << index << ")";
}

namespace transfer_testing {

// Waits until the state is final; fails the test after a safety limit, so that a broken test ends.
inline RequestState awaitFinal(const ServerRequest& request) {
    for (int looks = 0; looks < 120; ++looks) {
        const RequestState state = request.AwaitFinal(std::chrono::seconds(1));
        if (isFinal(state))
            return state;
    }
    ADD_FAILURE() << "the command did not end";
    return request.State();
}

// Prepare, start, wait for the final state and Reset, as every caller does; returns the final state.
inline RequestState run(ServerRequest& request, ServerCommand command, std::string_view a, std::string_view b,
                        std::string_view c) {
    EXPECT_EQ(request.Prepare(a, b, c), 0);
    request.Start(command);
    const RequestState state = awaitFinal(request);
    request.Reset();
    return state;
}

// A request to `baseUrl` with limits short enough for a test, logged in as "demo" / "secret".
inline void setUp(ServerRequest& request, std::string_view baseUrl) {
    request.SetServerUrl(baseUrl);
    request.SetTimeLimits({std::chrono::seconds(10), std::chrono::seconds(10)});
    request.SetCredentials("demo", "secret");
}

// A whole HTTP reply with `body`.
inline std::string httpReply(std::string_view body, std::string_view status = "200 OK") {
    return "HTTP/1.1 " + std::string(status) +
           "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + std::string(body);
}

}  // namespace transfer_testing
