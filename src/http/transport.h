// The transport under the client: one HTTP/1.1 POST over its own connection, driven step by step.
//
// The request line and headers go out in SendHeaders; Write hands body bytes over (collected into
// pieces of 64 KiB, so that small steps do not each become a network packet, and pushed out at once
// when the body is complete); EndRequest waits for the reply's headers; Read delivers the reply body
// from a bounded receive buffer. Every wait is bounded: connecting (and sending the headers) by the
// connect limit, every later wait by the stall limit, counted from the last byte that moved in either
// direction. A failing step raises its own code (407, 408, 409, 401) with the network library's error
// number and text kept in the exception.
//
// A stop asked for on another thread reaches a waiting step through the request's abort check: every
// wait looks at it in each of its slices (at most kWaitSlice apart), and a check that answers true ends
// the step at once with its code and the library's "aborted" number (42), as a broken connection
// would. A stalled server therefore holds a stopped step for one slice, not for the stall limit.
//
// An https:// address is reached over TLS: the server's certificate must be vouched for by a trusted
// authority and must name the host of the address; otherwise connecting fails (407) as for a server
// that cannot be reached.
//
// One thread drives a transport; it is not shared. Destroying it closes the connection.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Tarvo {

// How long the transport waits before it gives a step up.
struct TimeLimits {
    std::chrono::milliseconds connect{60000};  // to connect and send the request headers
    std::chrono::milliseconds stall{60000};    // without any byte moving in either direction
};

// The longest single wait of a transport between two looks at its limits and its abort check.
inline constexpr std::chrono::milliseconds kWaitSlice{100};

// Answers true when the step under way is to stop; called on the thread that drives the transport.
using AbortCheck = std::function<bool()>;

struct TransportRequest {
    std::string baseUrl;               // "scheme://host:port/": where to connect
    std::string requestTarget;         // what the request line carries, exactly
    std::string proxy;                 // the proxy to go through; empty for none
    std::vector<std::string> headers;  // "Name: value" lines beyond Host, Accept and Content-Length
    std::string userAgent;
    std::uint32_t bodyLength = 0;
    TimeLimits limits;
    // For https://: the file of the certificate authorities to trust (PEM) in place of the system's
    // store; none: the system's store.
    std::optional<std::string> certificateAuthorities;
    // Looked at in every slice of every wait; none: the step runs until it ends or a limit passes.
    AbortCheck abortCheck;
};

class Transport {
  public:
    // Prepares the request; nothing is connected yet. Raises 402 when the network library cannot be
    // set up, 404 when the request cannot be prepared, 405 when its headers cannot be.
    explicit Transport(const TransportRequest& request);
    ~Transport();
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    // Connects and sends the request line and headers (407).
    void SendHeaders();
    // Hands body bytes over (408). Bytes beyond the announced length are refused with 408.
    void Write(const char* data, std::size_t size);
    // Sends what is still collected and waits for the reply's headers (409). A body shorter than
    // announced is refused with 409.
    void EndRequest();

    // The reply's status code (after EndRequest).
    std::uint32_t StatusCode() const;
    // The reply's Content-Length; none when the reply has none.
    std::optional<std::uint64_t> ContentLength() const;
    // Up to `size` bytes of the reply body; 0 at its end (401 on failure).
    std::size_t Read(char* buffer, std::size_t size);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace Tarvo
