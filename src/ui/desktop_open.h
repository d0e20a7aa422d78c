// Opening the program's help and the lab's web pages with the desktop, and telling the user when the
// desktop cannot.
//
// Every help action of every window (a help button, F1, the system menu, the help links of the dialogs)
// calls OpenHelp, so that they all open the same document the same way. UI thread only.
#pragma once

#include <string_view>

#include "ui/controls/desktop_services.h"

// Opens the program's help (platform::helpDocument()) with the desktop. When nothing opens it, a message
// tells where the help file lies, or that it is missing.
void OpenHelp(ui::DesktopServices& services);
// The same for the help document `document`.
void OpenHelp(ui::DesktopServices& services, std::string_view document);

// Opens a web address in the desktop's browser. When nothing opens it, a message says so and shows the
// address, so that the user can type it into a browser. True when it opened.
bool OpenAddress(ui::DesktopServices& services, std::string_view address);
