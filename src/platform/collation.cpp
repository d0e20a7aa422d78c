#include "platform/collation.h"

#include <cstring>
#include <string>

#include "text/cp1250.h"

#ifndef _WIN32
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

#ifndef _WIN32
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
    return compareBytes(a, b);
#endif
}

bool hasCzechCollation() {
#ifndef _WIN32
    return czechCollation() != static_cast<locale_t>(0);
#else
    return false;
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
