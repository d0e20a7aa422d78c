// Helpers that drive an httpformclientA the way the server protocol does, for the HTTP tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "http/exceptions.h"
#include "http/form_client.h"

namespace http_testing {

// Calls ProceedPost until the reply comes, recording the progress after every step. Fails the test
// (and returns null) after `maxSteps` steps without a reply.
inline std::unique_ptr<Tarvo::httpreplyA> proceedToReply(Tarvo::httpformclientA& client,
                                                         std::vector<Tarvo::postprogressA>* steps = nullptr,
                                                         std::uint32_t chunkSize = 1024,
                                                         std::size_t maxSteps = 100000) {
    for (std::size_t i = 0; i < maxSteps; ++i) {
        auto reply = client.ProceedPost(chunkSize);
        if (reply)
            return reply;
        if (steps != nullptr) {
            steps->emplace_back();
            client.QueryProgress(steps->back());
        }
    }
    ADD_FAILURE() << "no reply after " << maxSteps << " steps";
    return nullptr;
}

// Reads the whole reply body in pieces of `piece` bytes.
inline std::string readAll(Tarvo::httpreplyA& reply, std::uint32_t piece = 10239) {
    std::string body;
    std::vector<char> buffer(piece);
    while (const std::uint32_t n = reply.ReadContent(buffer.data(), piece))
        body.append(buffer.data(), n);
    return body;
}

// The code of the httpclientexceptionA that `action` raises; 0 when it raises none.
template <class Action>
std::uint32_t codeRaisedBy(Action action) {
    try {
        action();
    } catch (const Tarvo::httpclientexceptionA& e) {
        return e.ErrorCode();
    }
    return 0;
}

}  // namespace http_testing
