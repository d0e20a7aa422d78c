// File operations on cp1250 paths.
//
// Every function takes the program's own cp1250 paths (bare names resolve in the current directory,
// which is the working folder) and reports failure by its result; none throws. A path that cannot be
// turned into a file-system name fails like a missing file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Whether the file can be opened for reading (a folder cannot).
bool canOpenForReading(std::string_view path);

// Whether anything (file, folder, other) of that name exists.
bool exists(std::string_view path);

// The size of an existing file (or folder entry), in bytes; none when it cannot be queried.
std::optional<std::uint64_t> fileSize(std::string_view path);

// Deletes a file; false when nothing was deleted.
bool removeFile(std::string_view path);

// Renames `from` to `to`, replacing a file of that name in one step.
bool replaceFile(std::string_view from, std::string_view to);

// Copies the file, replacing the target. The copy goes to a temporary name first, so a failed copy
// leaves the target as it was.
bool copyFile(std::string_view from, std::string_view to);

// Makes the system write what it still holds of the file or folder (its entries) to the medium, so that
// a medium taken out afterwards has it. False when it could not be opened or flushed.
bool flushToDisk(std::string_view path);

// Creates one folder; false when it could not be made (it may exist already).
bool createFolder(std::string_view path);

// Creates a folder and every missing folder above it; false when it does not exist afterwards.
bool createFolders(std::string_view path);

// Changes the process's current directory.
bool changeFolder(std::string_view path);

// The process's current directory; none when cp1250 cannot hold it.
std::optional<std::string> currentFolder();

// Opens a file with fopen semantics; null on failure. The caller closes it.
std::FILE* openFile(std::string_view path, const char* mode);

// The whole content of a file; none when it cannot be read.
std::optional<std::string> readFile(std::string_view path);

// Replaces `path` as one step (durable_file.h): `write` fills a temporary file with a unique name next
// to it, which is flushed to the disk and renamed over `path` only when `write` returned true and every
// write and the close succeeded; then the folder is flushed. On any failure the temporary file is
// removed and `path` keeps its old content.
bool writeFileAtomically(std::string_view path, const std::function<bool(std::FILE*)>& write);
bool writeFileAtomically(std::string_view path, std::string_view content);

}  // namespace platform
