// What the tests read of their own process's memory.
#pragma once

#include <string_view>

namespace testing_support {

// A field of /proc/self/status in KiB: "VmRSS" (resident now), "VmHWM" (the peak so far); -1 when the
// field cannot be read.
long processStatusKiB(std::string_view field);

}  // namespace testing_support
