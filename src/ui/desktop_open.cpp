#include "ui/desktop_open.h"

#include <string>

#include "platform/files.h"
#include "platform/program_files.h"
#include "text/cp1250.h"
#include "text/format.h"

namespace {

void tell(ui::DesktopServices& services, const std::string& text) {
    services.messageBox(text, "", ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
}

}  // namespace

void OpenHelp(ui::DesktopServices& services) {
    OpenHelp(services, platform::helpDocument());
}

void OpenHelp(ui::DesktopServices& services, std::string_view document) {
    if (!document.empty() && services.openWithShell(document))
        return;
    if (document.empty()) {
        tell(services, std::string("Soubor nápovědy nebyl nalezen."_cz));
    } else if (!platform::canOpenForReading(document)) {
        tell(services, text::format("Soubor nápovědy nebyl nalezen. Má být uložen zde:\r\n%s"_cz,
                                    std::string(document)));
    } else {
        tell(services, text::format("Nápovědu nelze otevřít: v systému není program, který by ji "
                                    "zobrazil (webový prohlížeč).\r\nNápověda je uložena v souboru:\r\n%s"_cz,
                                    std::string(document)));
    }
}

bool OpenAddress(ui::DesktopServices& services, std::string_view address) {
    if (services.openWithShell(address))
        return true;
    tell(services, text::format("Stránku nelze otevřít: v systému není webový prohlížeč, který by ji "
                                "zobrazil.\r\nOtevřete v prohlížeči adresu:\r\n%s"_cz,
                                std::string(address)));
    return false;
}
