// A file that is always full, for the tests of writers that must report a disk that fills up.
#pragma once

#include <optional>
#include <string>

namespace testing_support {

// A path that opens for writing and refuses every byte written to it (the disk is full): /dev/full on
// Linux; under Wine on Windows the same device through Wine's drive Z:, which maps the Linux root.
// None on a Windows without it: Windows itself has no such device.
std::optional<std::string> fullDevice();

}  // namespace testing_support
