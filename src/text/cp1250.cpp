#include "text/cp1250.h"

namespace cp1250 {

namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

Converted fromUtf8(std::string_view utf8) {
    Converted out;
    out.text.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const int byte = byteOf(decodeUtf8(utf8, pos));
        if (byte < 0) {
            out.text += '?';
            ++out.rejected;
        } else {
            out.text += static_cast<char>(static_cast<unsigned char>(byte));
        }
    }
    return out;
}

Converted toUtf8(std::string_view text) {
    Converted out;
    out.text.reserve(text.size() + text.size() / 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out.text += c;
            continue;
        }
        char32_t cp = kHighHalf[byte - 0x80];
        if (cp == 0) {
            cp = 0xFFFD;
            ++out.rejected;
        }
        appendUtf8(out.text, cp);
    }
    return out;
}

}  // namespace cp1250
