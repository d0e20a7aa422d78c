#include "support/full_device.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <filesystem>
#include <system_error>
#endif

namespace testing_support {

std::optional<std::string> fullDevice() {
#ifdef _WIN32
    // Wine gives a device no file attributes, so the device is looked for by opening it, never by
    // creating a file of that name.
    const HANDLE device = CreateFileW(L"Z:\\dev\\full", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE)
        return std::nullopt;
    CloseHandle(device);
    return std::string("Z:\\dev\\full");
#else
    std::error_code error;
    if (!std::filesystem::exists("/dev/full", error))
        return std::nullopt;
    return std::string("/dev/full");
#endif
}

}  // namespace testing_support
