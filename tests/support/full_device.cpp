#include "support/full_device.h"

#include <filesystem>
#include <system_error>

namespace testing_support {

std::optional<std::string> fullDevice() {
#ifdef _WIN32
    const char* const device = "Z:\\dev\\full";
#else
    const char* const device = "/dev/full";
#endif
    std::error_code error;
    if (!std::filesystem::exists(device, error))
        return std::nullopt;
    return std::string(device);
}

}  // namespace testing_support
