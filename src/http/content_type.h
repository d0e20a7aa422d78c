// The content type of an upload file, recognised from its first bytes.
#pragma once

#include <string>
#include <string_view>

namespace Tarvo {

// How many leading bytes of a file the recognition looks at.
inline constexpr std::size_t kSniffLength = 256;
inline constexpr std::string_view kOctetStream = "application/octet-stream";

// The MIME type of content that starts with `head` (at most kSniffLength bytes are looked at): JPEG,
// PNG, GIF, TIFF and BMP pictures, PDF, ZIP, XML ("text/xml") and plain text; anything else, and empty
// content, is "application/octet-stream".
std::string SniffContentType(std::string_view head);

}  // namespace Tarvo
