// Starting the toolkit and running the program's windows in it.
#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "ui/controls/desktop_services.h"

namespace ui::wxgui {

// The process locale the windows expect: Czech (for collation and the toolkit's own texts) when the
// system has it, with numbers always formatted the C way so that files written with printf stay the same.
// Call before the toolkit starts.
void useCzechLocale();

// The arguments of the command line that the toolkit left (it takes its own options, such as
// --display), as file-system paths in the order given.
using ProgramArguments = std::vector<std::filesystem::path>;

// Starts the toolkit, runs `body` with the desktop services and the program's arguments, and returns
// when it returns; no event loop runs after it. Returns the process's exit code.
//
// For measuring the start-up: while the environment variable SNAPORD_QUIT_WHEN_IDLE is set, the process
// ends at once (exit code 0, nothing saved) the first time the toolkit runs out of events to handle
// while exactly one window, the main window, is shown.
int runApplication(int argc, char** argv,
                   std::function<void(DesktopServices&, const ProgramArguments&)> body);

}  // namespace ui::wxgui
