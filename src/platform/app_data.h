// The user's application-data folder, under which the working folder lives.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {

// Looks up an environment variable; none when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process's own environment.
std::optional<std::string> systemEnvironment(const char* name);

// The base folder for the program's state, as a cp1250 path. On Linux $XDG_DATA_HOME, else
// $HOME/.local/share; when neither is set, $TEMP, then $TMP, then the empty text. A variable that is
// empty, or whose value cp1250 cannot hold, counts as not set.
std::string applicationDataFolder(const EnvironmentLookup& environment = systemEnvironment);

}  // namespace platform
