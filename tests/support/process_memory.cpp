#include "support/process_memory.h"

#include <fstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
// psapi.h needs the types windows.h declares.
#include <psapi.h>
#endif

namespace testing_support {

long processStatusKiB(std::string_view field) {
#ifdef _WIN32
    // Windows keeps the same two figures as the process's working set.
    PROCESS_MEMORY_COUNTERS counters{};
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    if (field == "VmRSS")
        return static_cast<long>(counters.WorkingSetSize / 1024);
    if (field == "VmHWM")
        return static_cast<long>(counters.PeakWorkingSetSize / 1024);
    return -1;
#else
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(field) + ":";
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::stol(line.substr(prefix.size()));
    }
    return -1;
#endif
}

}  // namespace testing_support
