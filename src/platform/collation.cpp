#include "platform/collation.h"

#include <cstring>
#include <string>

#include "text/cp1250.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <locale.h>
#include <clocale>
#endif

namespace platform {

namespace {

int sign(int value) {
    return (value > 0) - (value < 0);
}

int compareBytes(std::string_view a, std::string_view b) {
    return sign(a.compare(b));
}

#ifdef _WIN32
constexpr wchar_t kCzech[] = L"cs-CZ";

// The UTF-16 text of a cp1250 text, by the program's own table: every cp1250 character is one UTF-16
// unit; the five undefined bytes become U+FFFD.
std::wstring wideOf(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const char16_t unit = byte < 0x80 ? byte : cp1250::kHighHalf[byte - 0x80];
        wide.push_back(static_cast<wchar_t>(unit != 0 ? unit : 0xFFFD));
    }
    return wide;
}

bool czechCollationAvailable() {
    static const bool available = IsValidLocaleName(kCzech) != 0;
    return available;
}
#else
// The Czech collation, created once; null when the system lacks the locale.
locale_t czechCollation() {
    static const locale_t collation = [] {
        for (const char* name : {"cs_CZ.UTF-8", "cs_CZ.utf8", "cs_CZ"}) {
            if (locale_t created = newlocale(LC_COLLATE_MASK, name, static_cast<locale_t>(0)))
                return created;
        }
        return static_cast<locale_t>(0);
    }();
    return collation;
}
#endif

}  // namespace

int collateCzech(std::string_view a, std::string_view b) {
#ifndef _WIN32
    const locale_t collation = czechCollation();
    if (collation == static_cast<locale_t>(0))
        return compareBytes(a, b);
    const std::string left = cp1250::toUtf8(a).text;
    const std::string right = cp1250::toUtf8(b).text;
    const int order = sign(strcoll_l(left.c_str(), right.c_str(), collation));
    return order != 0 ? order : compareBytes(a, b);
#else
    if (!czechCollationAvailable())
        return compareBytes(a, b);
    const std::wstring left = wideOf(a);
    const std::wstring right = wideOf(b);
    // CSTR_LESS_THAN, CSTR_EQUAL, CSTR_GREATER_THAN are 1, 2, 3; 0 is a failure.
    const int result = CompareStringEx(kCzech, 0, left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                       static_cast<int>(right.size()), nullptr, nullptr, 0);
    const int order = result == 0 ? 0 : result - CSTR_EQUAL;
    return order != 0 ? order : compareBytes(a, b);
#endif
}

bool hasCzechCollation() {
#ifndef _WIN32
    return czechCollation() != static_cast<locale_t>(0);
#else
    return czechCollationAvailable();
#endif
}

int compareNaturally(std::string_view a, std::string_view b) {
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digitsA = isDigit(a[i]);
        const bool digitsB = isDigit(b[j]);
        std::size_t endA = i;
        std::size_t endB = j;
        while (endA < a.size() && isDigit(a[endA]) == digitsA)
            ++endA;
        while (endB < b.size() && isDigit(b[endB]) == digitsB)
            ++endB;
        std::string_view runA = a.substr(i, endA - i);
        std::string_view runB = b.substr(j, endB - j);
        if (digitsA && digitsB) {
            // Values compare by their significant digits: more digits is larger, else digit by digit.
            const auto significantA = runA.substr(std::min(runA.find_first_not_of('0'), runA.size()));
            const auto significantB = runB.substr(std::min(runB.find_first_not_of('0'), runB.size()));
            if (significantA.size() != significantB.size())
                return significantA.size() < significantB.size() ? -1 : 1;
            if (const int order = compareBytes(significantA, significantB); order != 0)
                return order;
        } else if (digitsA != digitsB) {
            return digitsA ? -1 : 1;
        } else if (const int order = collateCzech(runA, runB); order != 0) {
            return order;
        }
        i = endA;
        j = endB;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return collateCzech(a, b);
}

}  // namespace platform
