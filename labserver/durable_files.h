// Files the server writes for the lab: a reply of "OK" means the bytes are on the disk.
//
// Received files are written to a temporary name, flushed to the disk and only then renamed to
// their final name, so a crash or a full disk never leaves a half-written file under a name that the
// lab would process. The replacement itself is the client's (platform/durable_file.h); this adds what
// only the server needs: moving a received file across file systems and copying stored files.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/durable_file.h"

namespace labserver {

// A file being received: created under a unique temporary name in a folder, filled piece by piece,
// then flushed to the disk (finish) and moved to its place (moveDurably, then release).
using ReceivedFile = platform::DurableFile;

// Renames `from` over `to` (replacing it) and flushes the folder of `to`, falling back to a copy when
// the two lie on different file systems. False when `to` was not replaced.
bool moveDurably(const std::filesystem::path& from, const std::filesystem::path& to);

// Replaces `path` by a file holding exactly `content`, written and flushed under a temporary name
// first. False when `path` was not replaced.
bool writeDurably(const std::filesystem::path& path, std::string_view content);

// Copies `from` to `to` (replacing it) through a temporary name in the folder of `to`.
bool copyDurably(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes what a server that stopped in the middle of a request left in `folder`: the temporary
// files of this header's functions.
void removeLeftovers(const std::filesystem::path& folder);

}  // namespace labserver
