// The user's application-data folder, under which the working folder lives.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {

// Looks up a value of the user's session by name: an environment variable, or kShellApplicationData.
// None when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The name under which a lookup answers the folder the Windows shell gives for application data (the
// shell's own name for that folder). The process's lookup asks the shell; a test's lookup answers it
// like any variable. No environment variable can clash with it.
inline constexpr char kShellApplicationData[] = "shell:AppData";

// The process's own environment; on Windows kShellApplicationData comes from the shell.
std::optional<std::string> systemEnvironment(const char* name);

// The base folder for the program's state, as a cp1250 path. On Windows the shell's application-data
// folder (kShellApplicationData), else %USERPROFILE%; on Linux $XDG_DATA_HOME, else $HOME/.local/share.
// When neither is set, $TEMP, then $TMP, then the empty text. A value that is empty, or that cp1250
// cannot hold, counts as not set.
std::string applicationDataFolder(const EnvironmentLookup& environment = systemEnvironment);

}  // namespace platform
