// The files that come with the program: where they lie, found from the program's own location.
//
// Installed under a prefix, the program is <prefix>/bin/snapord and its files lie in
// <prefix>/share/snapord (the shipped catalogue, the help in help/). Run from its build folder, or from
// a folder it was unpacked into (Windows), they lie next to the program. Paths are cp1250; none of
// these functions throws. Any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The name of the folder under <prefix>/share that holds the program's files.
inline constexpr char kProgramDataName[] = "snapord";
// The help page, relative to the program's data folder.
inline constexpr char kHelpPage[] = "help/index.html";

// The folder that holds the running program; none when the system does not tell it or cp1250 cannot
// hold its path.
std::optional<std::string> programFolder();

// The program's data folder for a program in `programFolder`: <programFolder>/../share/snapord when
// that folder exists (an installed program), else `programFolder` itself. The installed folder is
// given without the "..": <prefix>/share/snapord.
std::string programDataFolder(std::string_view programFolder);

// The data folder of the running program; none when its own folder is unknown.
std::optional<std::string> programDataFolder();

// The help document the help actions open: on Windows "help.chm" by its bare name (it resolves in the
// working folder, the current directory); elsewhere the HTML page in the program's data folder. The
// path is where the document belongs even when it is missing, so that the user can be told; empty only
// when the program's own folder is unknown.
std::string helpDocument();

}  // namespace platform
