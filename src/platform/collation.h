// Comparing names the way Czech users expect them sorted.
#pragma once

#include <string_view>

namespace platform {

// Czech collation of two cp1250 texts ("ch" after "h", accented letters after their base letter, case
// only as a tie-breaker): negative, zero or positive. Falls back to the byte order when the system has no
// Czech collation.
int collateCzech(std::string_view a, std::string_view b);

// Whether the system has the Czech collation (the cs_CZ locale on Linux, "cs-CZ" on Windows); without it
// collateCzech is the byte order.
bool hasCzechCollation();

// Like collateCzech, but runs of digits compare by their value, so "foto2" sorts before "foto10".
int compareNaturally(std::string_view a, std::string_view b);

}  // namespace platform
