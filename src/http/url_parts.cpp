#include "http/url_parts.h"

#include "http/checked_math.h"
#include "http/error_codes.h"
#include "http/exceptions.h"

namespace Tarvo {

namespace {

std::string_view partOf(std::string_view url, std::uint32_t start, std::uint32_t length) {
    return url.substr(start, length);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool isHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

bool isSafeInRequestLine(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte != 0x7F;
}

std::uint16_t portOf(std::string_view port, std::uint16_t defaultPort) {
    if (port.empty())
        return defaultPort;
    if (port.size() > 5)
        RaiseHttpClientError(kErrInvalidPort);
    std::uint32_t value = 0;
    for (const char c : port) {
        if (c < '0' || c > '9')
            RaiseHttpClientError(kErrInvalidPort);
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (value > 65535)
        RaiseHttpClientError(kErrInvalidPort);
    // Port 0 is the platform's "no port given": the scheme's default applies.
    return value == 0 ? defaultPort : static_cast<std::uint16_t>(value);
}

}  // namespace

urlpartsA AnalyzeUrl(std::string_view url) {
    urlpartsA parts;
    const std::uint32_t end = Checked32(url.size());
    std::uint32_t at = 0;

    if (const auto separator = url.find("://"); separator != std::string_view::npos) {
        parts.schemeLength = static_cast<std::uint32_t>(separator);
        at = static_cast<std::uint32_t>(separator + 3);
    }

    parts.hostStart = at;
    bool inPort = false;
    for (; at < end && url[at] != '/' && url[at] != '?' && url[at] != '#'; ++at) {
        if (inPort) {
            ++parts.portLength;
        } else if (url[at] == ':') {
            inPort = true;
            parts.portStart = at + 1;
        } else {
            ++parts.hostLength;
        }
    }
    if (!inPort)
        parts.portStart = at;

    parts.pathStart = at;
    bool inQuery = false;
    for (; at < end && url[at] != '#'; ++at) {
        if (!inQuery && url[at] == '?') {
            inQuery = true;
            parts.queryStart = at;
        }
        ++(inQuery ? parts.queryLength : parts.pathLength);
    }
    if (!inQuery)
        parts.queryStart = at;

    parts.fragmentStart = at;
    parts.fragmentLength = end - at;
    return parts;
}

PostAddress ResolvePostAddress(std::string_view url) {
    const urlpartsA parts = AnalyzeUrl(url);
    PostAddress address;
    address.secure = equalsIgnoringCase(partOf(url, parts.schemeStart, parts.schemeLength), "https");
    address.port = portOf(partOf(url, parts.portStart, parts.portLength), address.secure ? 443 : 80);

    address.host = partOf(url, parts.hostStart, parts.hostLength);
    if (address.host.empty())
        RaiseHttpClientError(kErrInvalidUrl);
    for (const char c : address.host) {
        if (!isHostCharacter(c))
            RaiseHttpClientError(kErrInvalidUrl);
    }

    const std::string_view rest = url.substr(parts.pathStart);
    address.objectName = parts.pathLength != 0 ? std::string(rest) : "/" + std::string(rest);
    for (const char c : address.objectName) {
        if (!isSafeInRequestLine(c))
            RaiseHttpClientError(kErrInvalidUrl);
    }
    return address;
}

}  // namespace Tarvo
