#include "ui/order_app.h"

#include "ui/dialog_resources.h"
#include "ui/main_order_dlg.h"

COrderApp::COrderApp(ui::DesktopServices& services, const platform::ShellNamespace& shell,
                     platform::EnvironmentLookup environment, MainWindowHooks hooks)
    : services_(services), shell_(shell), environment_(std::move(environment)), hooks_(std::move(hooks)) {}

bool COrderApp::InitInstance() {
    CMainOrderDlg mainWindow(document_, request_, shell_, environment_, hooks_);
    mainWindow.AddAtStart(startFiles_);
    services_.runModal(mainWindow, mainWindowTemplate());
    return false;
}
