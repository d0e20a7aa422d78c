// Names that clients give for the server's files, checked before they reach the file system.
//
// Every name a request carries is hostile until checked: a target name, an order folder, a download
// path. A name is taken only when it stays inside the folder it is meant for. Names arrive as cp1250
// bytes and are stored under their UTF-8 spelling, so that the lab's people see the Czech names.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace labserver {

// The file-system name (UTF-8) of one file or folder name, or none when the name is refused: empty,
// longer than 255 bytes once converted, "." or ".." or any name starting with '.' (the server keeps
// its own records under such names), holding '/', '\', a control character, or a byte that cp1250
// leaves undefined.
std::optional<std::string> fileSystemName(std::string_view cp1250Name);

// A download path of names joined by '/' ("2.0.24.3/hlavicka.jpg") as a relative file-system path, or
// none when the path is empty, absolute, has an empty component or any component that
// fileSystemName() refuses.
std::optional<std::filesystem::path> relativeDownloadPath(std::string_view cp1250Path);

// `text` (cp1250) as UTF-8 for log lines and pages: control characters become '?', so that a request
// cannot add lines to the log.
std::string printable(std::string_view cp1250Text);

}  // namespace labserver
