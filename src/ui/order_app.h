// COrderApp: the application. Owns the run's order document and server request, and runs the main
// window modally over them; the program ends when it closes.
#pragma once

#include "documents/order_document.h"
#include "platform/app_data.h"
#include "platform/shell_namespace.h"
#include "transfer/server_request.h"
#include "ui/controls/desktop_services.h"
#include "ui/controls/dialog.h"
#include "ui/main_window_hooks.h"

class COrderApp {
  public:
    // `hooks` are the windows and procedures the main window starts (see MainWindowHooks).
    COrderApp(ui::DesktopServices& services, const platform::ShellNamespace& shell,
              platform::EnvironmentLookup environment = platform::systemEnvironment,
              MainWindowHooks hooks = programHooks());

    // Photographs and folders the main window adds to the order at start-up (named on the command line).
    void AddAtStart(ui::DroppedFiles files) { startFiles_ = std::move(files); }

    // Runs the main window until it ends. Returns false: no message loop follows the main window.
    bool InitInstance();

  private:
    ui::DesktopServices& services_;
    const platform::ShellNamespace& shell_;
    platform::EnvironmentLookup environment_;
    MainWindowHooks hooks_;
    OrderDocument document_;
    ServerRequest request_;
    ui::DroppedFiles startFiles_;
};
