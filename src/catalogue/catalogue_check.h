// Whether a file is a catalogue the program can work with, before it replaces the one in use.
//
// The lab's server hands out the catalogue as a download; a reply with a success status may still be
// anything (an empty body, a proxy's or a hotspot's page). Only a file that has the sections the windows
// fill their lists from may become the catalogue, or every list of the program would go empty.
#pragma once

#include <cstdint>
#include <string_view>

namespace catalogue_check {

// No real catalogue comes near this size; a larger download is refused before it is read.
inline constexpr std::uint64_t kCatalogueSizeLimit = 4 * 1024 * 1024;

// True when the file is at most kCatalogueSizeLimit bytes and its sections "format", "surface",
// "margin", "pay" and "delivery" each hold at least one entry.
bool isUsableCatalogue(std::string_view path);

}  // namespace catalogue_check
