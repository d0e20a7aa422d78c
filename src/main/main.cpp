// Snapord: the ordering client of a photo-printing lab.
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/shell_namespace.h"
#include "ui/controls/wx/wx_application.h"
#include "ui/order_app.h"

namespace {

// The photographs and folders named on the command line (the desktop's "Open with" names them), made
// absolute here: the program changes into its working folder before it adds them.
ui::DroppedFiles namedFiles(const ui::wxgui::ProgramArguments& arguments) {
    std::vector<std::filesystem::path> items;
    for (const auto& argument : arguments) {
        std::error_code error;
        auto absolute = std::filesystem::absolute(argument, error);
        items.push_back(error ? argument : absolute.lexically_normal());
    }
    return ui::droppedFiles(items);
}

}  // namespace

int main(int argc, char** argv) {
    return ui::wxgui::runApplication(
        argc, argv, [](ui::DesktopServices& services, const ui::wxgui::ProgramArguments& arguments) {
            const std::unique_ptr<platform::ShellNamespace> shell = platform::localShellNamespace();
            COrderApp app(services, *shell);
            app.AddAtStart(namedFiles(arguments));
            app.InitInstance();
        });
}
