// URL analysis: where a post goes and what its request line carries.
//
// Texts are single-byte (Windows-1250): every byte is one character, so there are no double-byte
// characters whose second byte could be mistaken for a delimiter. Pure functions, safe on any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Tarvo {

// Character offsets of the parts of a URL; lengths of absent parts are 0.
struct urlpartsA {
    std::uint32_t schemeStart = 0;
    std::uint32_t schemeLength = 0;
    std::uint32_t hostStart = 0;
    std::uint32_t hostLength = 0;
    std::uint32_t portStart = 0;
    std::uint32_t portLength = 0;
    std::uint32_t pathStart = 0;
    std::uint32_t pathLength = 0;
    std::uint32_t queryStart = 0;
    std::uint32_t queryLength = 0;
    std::uint32_t fragmentStart = 0;
    std::uint32_t fragmentLength = 0;

    bool operator==(const urlpartsA&) const = default;
};

// Splits a URL: an optional scheme before "://"; the host up to the first '/', '?' or '#', with an
// optional ":port"; the path up to the first '?' (the '/' belongs to the path); the query from that '?'
// up to '#'; the fragment from '#' to the end. An empty URL gives all zeros.
urlpartsA AnalyzeUrl(std::string_view url);

// Where a post goes, derived from a URL as the begin of a post needs it.
struct PostAddress {
    bool secure = false;  // the scheme is "https" in any case
    std::string host;
    std::uint16_t port = 0;  // 443 when secure, else 80, unless the URL names one
    std::string objectName;  // path, query and fragment exactly as written; "/" when the path is empty
};

// Raises 107 for a port part longer than 5 characters, holding a non-digit or above 65535 (an empty
// port part, or port 0, keeps the default); then 103 for an empty host. Beyond that, a host holding
// anything but letters, digits, '-', '.' and '_', or an object name holding a blank or a control
// character, raises 103: such bytes would change the meaning of the request line or of the address
// the network library connects to.
PostAddress ResolvePostAddress(std::string_view url);

}  // namespace Tarvo
