// The reply to a finished post: its status, its Content-Length and its body.
//
// Handed out by httpformclientA::ProceedPost on the step that completes the body; the caller owns it
// and may keep it after the client is gone. Destroying it closes the connection of the post. Used by
// one thread at a time.
#pragma once

#include <cstdint>
#include <memory>

namespace Tarvo {

class Transport;

class httpreplyA {
  public:
    ~httpreplyA();
    httpreplyA(const httpreplyA&) = delete;
    httpreplyA& operator=(const httpreplyA&) = delete;

    // The HTTP status code of the reply (200, 404, ...).
    std::uint32_t StatusCode() const;
    // The Content-Length of the reply: true and the length; false when the reply has none (the
    // caller then takes the length as 0). Raises 400 for a length that does not fit 32 bits.
    bool GetContentLength(std::uint32_t& length) const;
    // Reads up to `size` bytes of the body into `buffer`; returns how many, 0 at the end of the body.
    // Raises 401 when the connection breaks or stalls for the stall limit.
    std::uint32_t ReadContent(void* buffer, std::uint32_t size);

  private:
    friend class httpformclientA;
    explicit httpreplyA(std::unique_ptr<Transport> transport);

    std::unique_ptr<Transport> transport_;
};

}  // namespace Tarvo
