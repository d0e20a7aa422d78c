// Windows-1250 text at the edges of the program.
//
// Every text inside the program is a std::string of cp1250 bytes, one byte per character. Conversions
// happen only where text leaves or enters the program: the UI toolkit, file-system names and source
// literals. A conversion never hides a character it could not carry: it counts it in `rejected`.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cp1250 {

// The Unicode code point of each byte 0x80..0xFF; 0 marks the five bytes that cp1250 leaves undefined.
inline constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021, 0x0000, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// The cp1250 byte of a code point, or -1 when cp1250 has none.
constexpr int byteOf(char32_t codePoint) {
    if (codePoint < 0x80)
        return static_cast<int>(codePoint);
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] != 0 && kHighHalf[i] == codePoint)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

// Decodes one UTF-8 sequence at `pos`, advancing it; returns U+FFFFFFFF for a malformed sequence
// (then `pos` has moved past the offending byte).
constexpr char32_t decodeUtf8(std::string_view utf8, std::size_t& pos) {
    constexpr char32_t kBad = 0xFFFFFFFF;
    const auto lead = static_cast<unsigned char>(utf8[pos++]);
    if (lead < 0x80)
        return lead;
    int more = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3;
        cp = lead & 0x07;
    } else {
        return kBad;
    }
    const std::size_t start = pos;
    for (int i = 0; i < more; ++i) {
        if (pos >= utf8.size())
            return kBad;
        const auto next = static_cast<unsigned char>(utf8[pos]);
        if ((next & 0xC0) != 0x80)
            return kBad;
        cp = (cp << 6) | (next & 0x3F);
        ++pos;
    }
    // Overlong forms, surrogates and values beyond Unicode are malformed.
    constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        pos = start;
        return kBad;
    }
    return cp;
}

// A converted text and the number of characters that could not be carried over.
struct Converted {
    std::string text;
    std::size_t rejected = 0;
    bool complete() const { return rejected == 0; }
};

// UTF-8 to cp1250. A character cp1250 cannot hold, or a malformed sequence, becomes '?' and is counted.
Converted fromUtf8(std::string_view utf8);

// cp1250 to UTF-8. One of the five undefined bytes becomes U+FFFD and is counted.
Converted toUtf8(std::string_view text);

namespace detail {

template <std::size_t N>
struct Utf8Literal {
    char bytes[N]{};
    consteval Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            bytes[i] = s[i];
    }
};

template <std::size_t N>
struct Cp1250Bytes {
    std::array<char, N> bytes{};
    std::size_t size = 0;
};

template <std::size_t N>
consteval Cp1250Bytes<N> convertLiteral(const Utf8Literal<N>& literal) {
    Cp1250Bytes<N> out;
    const std::string_view utf8(literal.bytes, N - 1);
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const int byte = byteOf(decodeUtf8(utf8, pos));
        if (byte < 0)
            throw std::logic_error("literal holds a character that cp1250 cannot hold");
        out.bytes[out.size++] = static_cast<char>(static_cast<unsigned char>(byte));
    }
    return out;
}

template <Utf8Literal L>
inline constexpr auto kConverted = convertLiteral(L);

}  // namespace detail

}  // namespace cp1250

// "Formát"_cz is the cp1250 text of a UTF-8 source literal, converted while compiling: a character that
// cp1250 cannot hold fails the build.
template <cp1250::detail::Utf8Literal L>
consteval std::string_view operator""_cz() {
    return {cp1250::detail::kConverted<L>.bytes.data(), cp1250::detail::kConverted<L>.size};
}
