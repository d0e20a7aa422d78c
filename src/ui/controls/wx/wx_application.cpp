#include "ui/controls/wx/wx_application.h"

#include <clocale>
#include <cstdlib>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/toplevel.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif
#ifdef __WXMSW__
#include <windows.h>
#endif

#include "ui/controls/wx/wx_desktop.h"
#include "ui/controls/wx/wx_text.h"

namespace ui::wxgui {

namespace {

#ifdef __WXGTK__
// The theme's check mark is 14 pixels; the windows' check boxes are laid out for the 13-pixel marks of
// the desktop they were designed on, and GTK complains about every box that is a pixel short.
void fitThemeToTheLayout() {
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, "checkbutton check { min-width: 12px; min-height: 12px; }", -1,
                                    nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}
#else
void fitThemeToTheLayout() {}
#endif

// The start-up measurement's end: the first idle moment with the main window, the first window made,
// shown and no other window shown (no message box, no news).
void quitWhenIdle(wxIdleEvent& event) {
    event.Skip();
    if (wxTopLevelWindows.IsEmpty())
        return;
    const wxWindow* main = wxTopLevelWindows.GetFirst()->GetData();
    if (!main->IsShown())
        return;
    for (const wxWindow* window : wxTopLevelWindows) {
        if (window != main && window->IsShown())
            return;
    }
    std::_Exit(0);
}

class Application final : public wxApp {
  public:
    explicit Application(std::function<void(DesktopServices&, const ProgramArguments&)> body)
        : body_(std::move(body)) {}

    bool OnInit() override {
        std::setlocale(LC_NUMERIC, "C");  // whatever the toolkit's start did to it
        fitThemeToTheLayout();
        ProgramArguments arguments;
        // argv[i] is a temporary string: its text is copied out whole.
        for (int i = 1; i < argc; ++i)
            arguments.push_back(toFsPath(argv[i]));
        if (std::getenv("SNAPORD_QUIT_WHEN_IDLE") != nullptr)
            Bind(wxEVT_IDLE, &quitWhenIdle);
        WxDesktop desktop;
        body_(desktop, arguments);
        return false;  // the windows have closed: no event loop follows
    }

  private:
    std::function<void(DesktopServices&, const ProgramArguments&)> body_;
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

int runApplication(int argc, char** argv,
                   std::function<void(DesktopServices&, const ProgramArguments&)> body) {
    useCzechLocale();
    wxApp::SetInstance(new Application(std::move(body)));
#ifdef __WXMSW__
    // The C library's argv is in the ANSI code page, which drops the letters of names it lacks (a "ř"
    // on a Western system): the toolkit takes the arguments from the wide command line instead.
    (void)argc;
    (void)argv;
    wxEntry(::GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOWNORMAL);
#else
    wxEntry(argc, argv);
#endif
    return 0;
}

}  // namespace ui::wxgui
