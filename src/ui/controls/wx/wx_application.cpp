#include "ui/controls/wx/wx_application.h"

#include <clocale>

#include <wx/app.h>
#include <wx/init.h>

#include "ui/controls/wx/wx_desktop.h"

namespace ui::wxgui {

namespace {

class Application final : public wxApp {
  public:
    explicit Application(std::function<void(DesktopServices&)> body) : body_(std::move(body)) {}

    bool OnInit() override {
        std::setlocale(LC_NUMERIC, "C");  // whatever the toolkit's start did to it
        WxDesktop desktop;
        body_(desktop);
        return false;  // the windows have closed: no event loop follows
    }

  private:
    std::function<void(DesktopServices&)> body_;
};

}  // namespace

void useCzechLocale() {
    bool czech = false;
    for (const char* name : {"cs_CZ.UTF-8", "cs_CZ.utf8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            czech = true;
            break;
        }
    }
    if (!czech && std::setlocale(LC_ALL, "C.UTF-8") == nullptr)
        std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
}

int runApplication(int argc, char** argv, std::function<void(DesktopServices&)> body) {
    useCzechLocale();
    wxApp::SetInstance(new Application(std::move(body)));
    wxEntry(argc, argv);
    return 0;
}

}  // namespace ui::wxgui
