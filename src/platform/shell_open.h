// Opening a document or an address with the application the desktop associates with it.
#pragma once

#include <string_view>

namespace platform {

// Opens `target`: an address with a scheme ("http://...", "mailto:...") as it stands, anything else as
// a cp1250 path of a file or folder (a relative path resolves in the current folder). Returns at once;
// false when the target names no existing file or no opener could be started. The opened application
// runs on its own, detached from this process.
bool openWithShell(std::string_view target);

// Whether `target` is an address with a scheme rather than a path.
bool isAddress(std::string_view target);

}  // namespace platform
