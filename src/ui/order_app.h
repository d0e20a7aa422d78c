// COrderApp: the application. Runs the main window modally; the program ends when it closes.
#pragma once

#include "platform/app_data.h"
#include "platform/shell_namespace.h"
#include "ui/controls/desktop_services.h"
#include "ui/main_window_hooks.h"

class COrderApp {
  public:
    // `hooks` are the windows and procedures the main window starts (see MainWindowHooks).
    COrderApp(ui::DesktopServices& services, const platform::ShellNamespace& shell,
              platform::EnvironmentLookup environment = platform::systemEnvironment,
              MainWindowHooks hooks = {});

    // Runs the main window until it ends. Returns false: no message loop follows the main window.
    bool InitInstance();

  private:
    ui::DesktopServices& services_;
    const platform::ShellNamespace& shell_;
    platform::EnvironmentLookup environment_;
    MainWindowHooks hooks_;
};
