#include "http/content_type.h"

#include <array>

namespace Tarvo {

namespace {

struct Signature {
    std::string_view magic;
    std::string_view type;
};

constexpr std::array<Signature, 11> kSignatures = {{
    {std::string_view("\xFF\xD8\xFF", 3), "image/jpeg"},
    {std::string_view("\x89PNG\r\n\x1A\n", 8), "image/png"},
    {"GIF87a", "image/gif"},
    {"GIF89a", "image/gif"},
    {std::string_view("II*\0", 4), "image/tiff"},
    {std::string_view("MM\0*", 4), "image/tiff"},
    {"BM", "image/bmp"},
    {"%PDF-", "application/pdf"},
    {std::string_view("PK\x03\x04", 4), "application/zip"},
    {std::string_view("PK\x05\x06", 4), "application/zip"},
    {"<?xml", "text/xml"},
}};

// Text as a file of this system holds it: single-byte characters, so bytes of 128 and above are
// letters; of the control bytes only tab, line ends and form feed occur in text.
bool looksLikeText(std::string_view head) {
    for (const char c : head) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f')
            return false;
        if (byte == 0x7F)
            return false;
    }
    return true;
}

std::string_view withoutLeadingBlanks(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);  // UTF-8 byte-order mark
    const auto first = text.find_first_not_of(" \t\r\n");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

}  // namespace

std::string SniffContentType(std::string_view head) {
    head = head.substr(0, kSniffLength);
    if (head.empty())
        return std::string(kOctetStream);
    for (const auto& signature : kSignatures) {
        if (head.substr(0, signature.magic.size()) == signature.magic)
            return std::string(signature.type);
    }
    if (withoutLeadingBlanks(head).substr(0, 5) == "<?xml")
        return "text/xml";
    if (looksLikeText(head))
        return "text/plain";
    return std::string(kOctetStream);
}

}  // namespace Tarvo
