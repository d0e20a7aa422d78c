#include "ui/progress_send_dlg.h"

#include <array>
#include <string>

#include "app/ui_texts.h"
#include "image/builtin_pictures.h"
#include "text/cp1250.h"
#include "ui/desktop_open.h"
#include "ui/dialog_resources.h"
#include "ui/resource_ids.h"
#include "ui/save_to_disk.h"

namespace {

using namespace sending_ids;

const ui::Font kBoldFont{"Arial", -11, ui::Font::kBold, false};
constexpr std::array<int, 3> kBoldButtons = {kSend, kStorno, kSaveToDisk};

int controlId(SendControl control) {
    switch (control) {
        case SendControl::Login:
            return kLogin;
        case SendControl::Password:
            return kPassword;
        case SendControl::LoginLabel:
            return kLoginLabel;
        case SendControl::PasswordLabel:
            return kPasswordLabel;
        case SendControl::Pause:
            return kPause;
        case SendControl::AutoResume:
            return kAutoResume;
        case SendControl::Send:
            return kSend;
        case SendControl::Storno:
            return kStorno;
        case SendControl::SaveToDisk:
            return kSaveToDisk;
    }
    return kStatus;
}

}  // namespace

CDialogProgressSend::CDialogProgressSend(OrderSession& session, TransferTimings timings)
    : session_(session), transfer_(session.document, session.request, *this, timings) {}

void CDialogProgressSend::onInit() {
    ui::DialogHost& window = host();
    saveIcons_.Attach(window.button(kSaveToDisk));
    saveIcons_.SetIcon(builtin::kSendIcon, CButtonIcons::kBothSides);
    sendIcons_.Attach(window.button(kSend));
    sendIcons_.SetIcon(builtin::kSendIcon, CButtonIcons::kBothSides);
    stornoIcons_.Attach(window.button(kStorno));
    stornoIcons_.SetIcon(builtin::kStornoIcon, CButtonIcons::kBothSides);
    for (int id : kBoldButtons)
        window.control(id).setFont(kBoldFont);
    window.check(kPause).show(false);
    window.edit(kLogin).focus();

    window.label(kLoginLabel).setText(uiText(UiText::LoginLabel));
    window.label(kPasswordLabel).setText(uiText(UiText::PasswordLabel));
    window.check(kPause).setText(uiText(UiText::PauseAfterPhoto));
    window.check(kAutoResume).setText(uiText(UiText::AutoResume));
    window.label(kOverallLabel).setText(uiText(UiText::OverallProgress));
    window.label(kFileLabel).setText(uiText(UiText::FileProgress));
    window.button(kStorno).setText(uiText(UiText::Storno));
    window.button(kSend).setText(uiText(UiText::SendButton));
    window.label(kHelpLink).setText(uiText(UiText::HelpLink));
    window.setTitle("Snapord - " + uiText(UiText::SendingTitle));
    window.check(kAutoResume).setChecked(true);
}

void CDialogProgressSend::onOk() {
    OkAction();
}

void CDialogProgressSend::onCancel() {
    CancelAction();
}

void CDialogProgressSend::onCommand(int id) {
    switch (id) {
        case kSend:
            saveToDisk_ = false;
            session_.mainWindow.ShowWindow(true);
            OkAction();
            break;
        case kSaveToDisk:
            saveToDisk_ = true;
            OkAction();
            saveToDisk_ = false;
            break;
        case kStorno:
            CancelAction();
            break;
        case kPause:
            transfer_.SetPause(host().check(kPause).isChecked());
            break;
        case kHelpLink:
            Help();
            break;
        default:
            break;
    }
}

void CDialogProgressSend::onStateChange(ui::WindowState state) {
    // Minimised, the dialog takes the main window out of sight with it.
    session_.mainWindow.ShowWindow(state != ui::WindowState::Minimised);
}

void CDialogProgressSend::OkAction() {
    if (host().isEnding())
        return;
    switch (transfer_.state()) {
        case SendDialogState::Ready:
            transfer_.Run(saveToDisk_);
            break;
        case SendDialogState::Finished:
            CancelAction();
            break;
        default:
            break;
    }
}

void CDialogProgressSend::CancelAction() {
    if (host().isEnding())
        return;
    const SendDialogState state = transfer_.state();
    if (state == SendDialogState::Ready || state == SendDialogState::Finished) {
        EndDialog();
        return;
    }
    // Once the end of the order has begun there is nothing left to cancel.
    if (!transfer_.Cancellable())
        return;
    if (session_.services.messageBox(uiText(UiText::AskCancelSending), "", ui::MessageIcon::Question,
                                     ui::MessageButtons::YesNo) == ui::MessageAnswer::Yes)
        transfer_.ConfirmCancel();
}

void CDialogProgressSend::EndDialog() {
    host().end(ui::kIdCancel);
    session_.mainWindow.ShowWindow(true);
}

void CDialogProgressSend::Help() {
    OpenHelp(session_.services);
}

std::string CDialogProgressSend::LoginText() {
    return host().edit(kLogin).text();
}

std::string CDialogProgressSend::PasswordText() {
    return host().edit(kPassword).text();
}

bool CDialogProgressSend::AutoResumeTicked() {
    return host().check(kAutoResume).isChecked();
}

bool CDialogProgressSend::photobookMode() {
    return session_.mainWindow.photobookMode();
}

void CDialogProgressSend::ShowStatus(std::string_view text) {
    host().label(kStatus).setText(text);
}

void CDialogProgressSend::SetOverallBar(int percent) {
    host().progress(kOverallBar).setPosition(percent);
}

void CDialogProgressSend::SetOverallText(std::string_view text) {
    host().label(kOverallText).setText(text);
}

void CDialogProgressSend::SetFileBar(int percent) {
    host().progress(kFileBar).setPosition(percent);
}

void CDialogProgressSend::SetFileText(std::string_view text) {
    host().label(kFileText).setText(text);
}

void CDialogProgressSend::EnableControl(SendControl control, bool enabled) {
    host().control(controlId(control)).enable(enabled);
}

void CDialogProgressSend::ShowControl(SendControl control, bool visible) {
    host().control(controlId(control)).show(visible);
}

void CDialogProgressSend::FocusControl(SendControl control) {
    host().control(controlId(control)).focus();
}

void CDialogProgressSend::ShowFinished() {
    ui::DialogHost& window = host();
    window.label(kStatus).setFont(kBoldFont);
    window.button(kStorno).setText("Zavřít okno"_cz);
    stornoIcons_.SetIcon(builtin::kRemoveIcon, CButtonIcons::kBothSides);
    window.button(kStorno).focus();
}

void CDialogProgressSend::Warn(std::string_view text) {
    session_.services.messageBox(text, "", ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
}

bool CDialogProgressSend::Ask(std::string_view text, std::string_view caption) {
    return session_.services.messageBox(text, caption, ui::MessageIcon::Question,
                                        ui::MessageButtons::YesNo) == ui::MessageAnswer::Yes;
}

void CDialogProgressSend::PumpEvents() {
    session_.services.pumpEvents();
}

void CDialogProgressSend::Sleep(int milliseconds) {
    session_.services.sleep(milliseconds);
}

void CDialogProgressSend::BeginKeepAwake() {
    session_.services.beginKeepAwake();
}

void CDialogProgressSend::EndKeepAwake() {
    session_.services.endKeepAwake();
}

bool CDialogProgressSend::SaveToDisk() {
    return SaveOrderToDisk(session_);
}

void CDialogProgressSend::CloseWindow() {
    EndDialog();
}

SendingOutcome runSending(OrderSession& session) {
    CDialogProgressSend dialog(session);
    session.services.runModal(dialog, sendingTemplate());
    return dialog.outcome();
}
