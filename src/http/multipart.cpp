#include "http/multipart.h"

#include <cstdio>
#include <random>

namespace Tarvo {

std::string MakeBoundary() {
    try {
        std::random_device source;
        std::string boundary = "----TARVO-";
        for (int i = 0; i < 4; ++i) {
            char digits[9];
            std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(source()));
            boundary += digits;
        }
        return boundary + "-";
    } catch (const std::exception&) {
        return std::string(kFixedBoundary);
    }
}

std::string MultipartContentType(std::string_view boundary) {
    return "multipart/form-data; boundary=" + std::string(boundary);
}

std::string PlainPartOpening(std::string_view boundary, std::string_view name) {
    std::string out = "--";
    out.append(boundary)
        .append("\r\nContent-Disposition: form-data; name=\"")
        .append(name)
        .append("\"\r\n\r\n");
    return out;
}

std::string FilePartOpening(std::string_view boundary, std::string_view name, std::string_view path,
                            std::string_view mimeType) {
    std::string out = "--";
    out.append(boundary)
        .append("\r\nContent-Disposition: form-data; name=\"")
        .append(name)
        .append("\"; filename=\"")
        .append(path)
        .append("\"\r\nContent-Type: ")
        .append(mimeType)
        .append("\r\n\r\n");
    return out;
}

std::string ClosingBoundary(std::string_view boundary) {
    return "--" + std::string(boundary) + "--\r\n";
}

std::string EmptyBody(std::string_view boundary) {
    return "\r\n" + ClosingBoundary(boundary);
}

}  // namespace Tarvo
