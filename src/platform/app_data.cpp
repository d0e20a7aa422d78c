#include "platform/app_data.h"

#include <cstdlib>
#include <cstring>

#include "platform/path.h"
#include "text/cp1250.h"

#ifdef _WIN32
#include <windows.h>
// shlobj.h needs the types windows.h declares.
#include <shlobj.h>

#include <filesystem>
#endif

namespace platform {

namespace {

#ifdef _WIN32
std::string utf8Of(const std::wstring& wide) {
    const std::u8string utf8 = std::filesystem::path(wide).u8string();
    return std::string(utf8.begin(), utf8.end());
}

// The shell's application-data folder (CSIDL_APPDATA, for the user of this process, no token, flags 0)
// in UTF-8; none when the shell has none.
std::optional<std::string> shellApplicationData() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, folder)))
        return std::nullopt;
    return utf8Of(folder);
}

// The environment's values in UTF-8, as on Linux: the C library's narrow environment is in the ANSI
// code page, so the variable is read as UTF-16.
std::optional<std::string> environmentVariable(const char* name) {
    const std::size_t length = std::strlen(name);
    const std::wstring wideName(name, name + length);  // variable names are ASCII
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring value(size, L'\0');
    const DWORD copied = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    if (copied >= size)
        return std::nullopt;  // it grew in between
    value.resize(copied);
    return utf8Of(value);
}
#endif

}  // namespace

std::optional<std::string> systemEnvironment(const char* name) {
#ifdef _WIN32
    if (std::strcmp(name, kShellApplicationData) == 0)
        return shellApplicationData();
    return environmentVariable(name);
#else
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
#endif
}

std::string applicationDataFolder(const EnvironmentLookup& environment) {
    const auto usable = [&](const char* name) -> std::optional<std::string> {
        const auto value = environment(name);
        if (!value || value->empty())
            return std::nullopt;
        auto text = cp1250::fromUtf8(*value);
        if (!text.complete())
            return std::nullopt;
        return std::move(text.text);
    };
#ifdef _WIN32
    if (auto folder = usable(kShellApplicationData))
        return *folder;
    if (auto profile = usable("USERPROFILE"))
        return *profile;
#else
    if (auto folder = usable("XDG_DATA_HOME"))
        return *folder;
    if (auto home = usable("HOME"))
        return joinPath(joinPath(*home, ".local"), "share");
#endif
    if (auto temp = usable("TEMP"))
        return *temp;
    if (auto tmp = usable("TMP"))
        return *tmp;
    return std::string();
}

}  // namespace platform
