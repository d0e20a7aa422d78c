// Snapord: the ordering client of a photo-printing lab.
#include <memory>

#include "platform/shell_namespace.h"
#include "ui/controls/wx/wx_application.h"
#include "ui/order_app.h"

int main(int argc, char** argv) {
    return ui::wxgui::runApplication(argc, argv, [](ui::DesktopServices& services) {
        const std::unique_ptr<platform::ShellNamespace> shell = platform::localShellNamespace();
        COrderApp app(services, *shell);
        app.InitInstance();
    });
}
