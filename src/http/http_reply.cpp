#include "http/http_reply.h"

#include <limits>

#include "http/error_codes.h"
#include "http/exceptions.h"
#include "http/transport.h"

namespace Tarvo {

httpreplyA::httpreplyA(std::unique_ptr<Transport> transport) : transport_(std::move(transport)) {}

httpreplyA::~httpreplyA() = default;

std::uint32_t httpreplyA::StatusCode() const {
    return transport_->StatusCode();
}

bool httpreplyA::GetContentLength(std::uint32_t& length) const {
    const auto announced = transport_->ContentLength();
    if (!announced)
        return false;
    if (*announced > std::numeric_limits<std::uint32_t>::max())
        RaiseHttpClientError(kErrQueryInfo);
    length = static_cast<std::uint32_t>(*announced);
    return true;
}

std::uint32_t httpreplyA::ReadContent(void* buffer, std::uint32_t size) {
    try {
        return static_cast<std::uint32_t>(transport_->Read(static_cast<char*>(buffer), size));
    } catch (const std::bad_alloc&) {
        RaiseHttpClientError(kErrOutOfMemory);
    }
}

}  // namespace Tarvo
