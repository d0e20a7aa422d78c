// The files that come with the program: where they lie, found from the program's own location.
//
// Installed under a prefix on Linux, the program is <prefix>/bin/snapord and its files lie in
// <prefix>/share/snapord (the shipped catalogue, the help in help/). On Windows everything installed
// lies beside snapord.exe (the catalogue, help.chm). Run from its build folder, the files lie next to
// the program too. Paths are cp1250; none of these functions throws. Any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The name of the folder under <prefix>/share that holds the program's files.
inline constexpr char kProgramDataName[] = "snapord";
// The help page, relative to the program's data folder.
inline constexpr char kHelpPage[] = "help/index.html";
// The Windows help file, beside the program.
inline constexpr char kHelpFile[] = "help.chm";

// The folder that holds the running program; none when the system does not tell it or cp1250 cannot
// hold its path.
std::optional<std::string> programFolder();

// The program's data folder for a program in `programFolder`. On Linux <programFolder>/../share/snapord
// when that folder exists (an installed program), given without the "..": <prefix>/share/snapord; else
// `programFolder` itself. On Windows always `programFolder`.
std::string programDataFolder(std::string_view programFolder);

// The data folder of the running program; none when its own folder is unknown.
std::optional<std::string> programDataFolder();

// The help document the help actions open: on Windows help.chm beside the program, or the HTML page
// (help\index.html) beside it when only that was installed; elsewhere the HTML page in the program's
// data folder. The path is where the document belongs even when it is missing (help.chm on Windows), so
// that the user can be told; empty only when the program's own folder is unknown.
std::string helpDocument();

}  // namespace platform
