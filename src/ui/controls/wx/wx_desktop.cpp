#include "ui/controls/wx/wx_desktop.h"

#include <chrono>
#include <filesystem>
#include <thread>

// The generic message box needs the message box base declared first.
#include <wx/msgdlg.h>

#include <wx/generic/msgdlgg.h>

#include <wx/app.h>
#include <wx/dirdlg.h>
#include <wx/power.h>
#include <wx/utils.h>

#include "buildinfo/build_constants.h"
#include "platform/fs_names.h"
#include "platform/shell_open.h"
#include "text/cp1250.h"
#include "ui/controls/wx/wx_dialog.h"
#include "ui/controls/wx/wx_text.h"

namespace ui::wxgui {

namespace {

long iconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation:
            return wxICON_EXCLAMATION;
        case MessageIcon::Question:
            return wxICON_QUESTION;
        case MessageIcon::Information:
            return wxICON_INFORMATION;
        case MessageIcon::None:
            return wxICON_NONE;
    }
    return wxICON_NONE;
}

}  // namespace

MessageAnswer WxDesktop::messageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                                    MessageButtons buttons) {
    // The generic box: it shows the icon the message asks for and can be answered by tests; the
    // native one of GTK shows no icon.
    const long style = (buttons == MessageButtons::YesNo ? wxYES_NO : wxOK) | iconStyle(icon) | wxCENTRE;
    wxGenericMessageDialog box(activeWindow(), toWx(text),
                               toWx(caption.empty() ? build::kProductName : caption), style);
    if (buttons == MessageButtons::YesNo)
        box.SetYesNoLabels(toWx("&Ano"), toWx("&Ne"));
    const int answer = box.ShowModal();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return answer == wxID_YES ? MessageAnswer::Yes : MessageAnswer::No;
}

void WxDesktop::pumpEvents() {
    // Dispatches what is pending and returns; nested inside another pump of the same loop it returns
    // at once, so a handler that waits never re-enters the waiting code's own dispatching.
    if (wxTheApp != nullptr)
        wxTheApp->Yield(true);
}

void WxDesktop::runOnUiThread(std::function<void()> action) {
    // Queuing an event is safe from any thread; the application object lives as long as the windows.
    if (wxTheApp != nullptr)
        wxTheApp->CallAfter(std::move(action));
}

void WxDesktop::sleep(int milliseconds) {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void WxDesktop::beginWaitCursor() {
    wxBeginBusyCursor();
}

void WxDesktop::endWaitCursor() {
    if (wxIsBusy())
        wxEndBusyCursor();
}

void WxDesktop::beginKeepAwake() {
    // The desktop may refuse (no power manager on the session bus); the transfer goes on regardless.
    if (keepAwakeDepth_++ == 0)
        wxPowerResource::Acquire(wxPOWER_RESOURCE_SYSTEM, wxString::FromUTF8("Snapord sends an order"));
}

void WxDesktop::endKeepAwake() {
    if (keepAwakeDepth_ > 0 && --keepAwakeDepth_ == 0)
        wxPowerResource::Release(wxPOWER_RESOURCE_SYSTEM);
}

bool WxDesktop::openWithShell(std::string_view target) {
    return platform::openWithShell(target);
}

std::optional<std::string> WxDesktop::browseForFolder(std::string_view title) {
    wxDirDialog browser(nullptr, toWx(title), wxString(), wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (browser.ShowModal() != wxID_OK)
        return std::nullopt;
    auto folder = platform::fromFsName(toFsPath(browser.GetPath()));
    if (!folder) {
        messageBox(
            "Cestu k vybrané složce program neumí zapsat: její název obsahuje znaky mimo češtinu.\r\n"
            "Vyberte prosím jinou složku."_cz,
            "", MessageIcon::Exclamation, MessageButtons::Ok);
        return std::nullopt;
    }
    return folder;
}

int WxDesktop::runModal(Dialog& dialog, const DialogTemplate& dialogTemplate) {
    WxDialog window(activeWindow(), *this, dialog, dialogTemplate);
    running_.push_back(&window);
    const int result = window.run();
    running_.pop_back();
    return result;
}

}  // namespace ui::wxgui
