// Opening a document or an address with the application the desktop associates with it.
#pragma once

#include <string_view>

namespace platform {

// Opens `target`: an address with a scheme ("http://...", "mailto:...") as it stands, anything else as
// a cp1250 path of a file or folder (a relative path resolves in the current folder). False when the
// target names no existing file, no opener could be started, or the opener found no application for
// the target (no browser installed, say). Returns once the opener has told, within a few seconds; the
// opened application runs on its own, detached from this process.
bool openWithShell(std::string_view target);

// Whether `target` is an address with a scheme rather than a path.
bool isAddress(std::string_view target);

}  // namespace platform
