// A raw loopback TCP server for the HTTP client's tests: it accepts connections on an ephemeral port
// of 127.0.0.1, records every byte each one sends, and then behaves as its script says: answer with a
// canned reply, close the connection in the middle of the body, or hold it open without reading or
// answering (a stalled server).
//
// Connections are served one after the other on the server's own thread, each by the next script (the
// last script serves every further connection). Test threads read what was recorded through waits
// that end as soon as the awaited bytes are there (bounded by a generous safety limit, never slept).
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace http_testing {

struct ConnectionScript {
    enum class Action {
        Reply,         // read the whole request (headers and Content-Length body), send `reply`, close
        ReplyAndHold,  // the same, but keep the connection open after sending `reply` until the client closes
        CloseAfter,    // read `closeAfter` bytes, then reset the connection
        HoldWithoutReading,  // accept, then neither read nor answer until the client closes
        ReadThenHold,        // read `closeAfter` bytes, then neither read nor answer until the client closes
    };
    Action action = Action::Reply;
    std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nOK";
    // Bytes sent after `reply` (a generated body: 'a' to 'z' repeated), for large replies.
    std::uint64_t generatedBody = 0;
    // CloseAfter, ReadThenHold: how many request bytes are read first.
    std::uint64_t closeAfter = 0;
    // Keep the received bytes (false: only count them, for very large bodies).
    bool keepBytes = true;
    // Answer an "Expect: 100-continue" request with "100 Continue" before reading its body.
    bool answerExpect = false;
};

ConnectionScript replyWith(std::string reply);
ConnectionScript closeAfter(std::uint64_t bytes);
ConnectionScript holdWithoutReading();
ConnectionScript readThenHold(std::uint64_t bytes);

class RawServer {
  public:
    // `receiveBuffer`: when not 0, the receive buffer size of accepted connections (small values make
    // a server that does not read stall its client quickly).
    explicit RawServer(std::vector<ConnectionScript> scripts = {ConnectionScript{}}, int receiveBuffer = 0);
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    std::uint16_t port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by `rest`.
    std::string url(std::string_view rest = "/") const;

    // The bytes connection `index` sent, once it has ended (its client closed it or the script did).
    std::string received(std::size_t index = 0);
    // Waits until the bytes of connection `index` satisfy `ready`; false after the safety limit.
    bool waitFor(std::size_t index, const std::function<bool(const std::string&)>& ready);
    // How many bytes connection `index` sent, once it has ended.
    std::uint64_t receivedCount(std::size_t index = 0);
    // Waits until connection `index` has ended; false after the safety limit.
    bool awaitEnd(std::size_t index);
    std::size_t connectionCount();

  private:
    struct State;
    std::shared_ptr<State> state_;
    std::uint16_t port_ = 0;
};

// A loopback port on which nothing listens.
std::uint16_t unusedPort();

// The header block of a recorded request split into lines, without the blank line; the request line
// first.
std::vector<std::string> headerLines(std::string_view request);
// The body of a recorded request (everything after the first blank line).
std::string bodyOf(std::string_view request);

}  // namespace http_testing
