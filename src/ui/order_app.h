// COrderApp: the application. Runs the main window modally; the program ends when it closes.
#pragma once

#include "platform/app_data.h"
#include "platform/shell_namespace.h"
#include "ui/controls/desktop_services.h"

class COrderApp {
  public:
    COrderApp(ui::DesktopServices& services, const platform::ShellNamespace& shell,
              platform::EnvironmentLookup environment = platform::systemEnvironment);

    // Runs the main window until it ends. Returns false: no message loop follows the main window.
    bool InitInstance();

  private:
    ui::DesktopServices& services_;
    const platform::ShellNamespace& shell_;
    platform::EnvironmentLookup environment_;
};
