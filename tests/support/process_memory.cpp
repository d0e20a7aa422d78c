#include "support/process_memory.h"

#include <fstream>
#include <string>

namespace testing_support {

long processStatusKiB(std::string_view field) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(field) + ":";
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::stol(line.substr(prefix.size()));
    }
    return -1;
}

}  // namespace testing_support
