// The pieces of a multipart/form-data body and the boundary that separates them.
//
// A body is, for each parameter in list order, its opening (boundary line and part headers), its
// content and "\r\n", then the closing boundary line; a body without parameters is EmptyBody().
#pragma once

#include <string>
#include <string_view>

namespace Tarvo {

// The boundary used when no random source is available; tests use it too, for bodies they can write
// down by hand.
inline constexpr std::string_view kFixedBoundary = "----TARVO-FB3B405B7EAE495aB0C0295C54D4E096-";

// "----TARVO-", 32 lower-case hexadecimal digits from the system's random source and "-"; the fixed
// boundary when the random source fails.
std::string MakeBoundary();

// "multipart/form-data; boundary=" and the boundary.
std::string MultipartContentType(std::string_view boundary);

// "--B\r\nContent-Disposition: form-data; name="N"\r\n\r\n".
std::string PlainPartOpening(std::string_view boundary, std::string_view name);
// The same with "; filename="P"" and a "Content-Type: M" line. Names and paths go out as their bytes.
std::string FilePartOpening(std::string_view boundary, std::string_view name, std::string_view path,
                            std::string_view mimeType);
inline constexpr std::string_view kPartEnd = "\r\n";
// "--B--\r\n" after the last part.
std::string ClosingBoundary(std::string_view boundary);
// "\r\n--B--\r\n": the whole body of a post without parameters.
std::string EmptyBody(std::string_view boundary);

}  // namespace Tarvo
