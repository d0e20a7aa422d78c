#include "platform/app_data.h"

#include <cstdlib>

#include "platform/fs_names.h"
#include "platform/path.h"

namespace platform {

std::optional<std::string> systemEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

std::string applicationDataFolder(const EnvironmentLookup& environment) {
    const auto usable = [&](const char* name) -> std::optional<std::string> {
        const auto value = environment(name);
        if (!value || value->empty())
            return std::nullopt;
        return fromFsName(*value);
    };
#ifdef _WIN32
    const char* const kFirst = "APPDATA";
    const char* const kHome = "USERPROFILE";
#else
    const char* const kFirst = "XDG_DATA_HOME";
    const char* const kHome = "HOME";
#endif
    if (auto folder = usable(kFirst))
        return *folder;
    if (auto home = usable(kHome)) {
#ifdef _WIN32
        return *home;
#else
        return joinPath(joinPath(*home, ".local"), "share");
#endif
    }
    if (auto temp = usable("TEMP"))
        return *temp;
    if (auto tmp = usable("TMP"))
        return *tmp;
    return std::string();
}

}  // namespace platform
