// CDialogProgressSend: the sending dialog, where the customer logs in, sends the order and watches the
// transfer, or saves the order to disk instead.
//
// The main window builds it anew after the order parameters dialog ended with OK and runs it modally on
// its template; once it closed, outcome() tells what became of the order. All the work is done by
// TransferOrder, which runs inside the Send and Save to disk handlers with this dialog as its window;
// the handlers dispatched from inside its waits (Storno, the close box, Esc, the pause box, minimising)
// steer it. UI thread only; the session must outlive the dialog.
#pragma once

#include "transfer/sending_outcome.h"
#include "transfer/transfer_order.h"
#include "ui/button_icons.h"
#include "ui/controls/dialog.h"
#include "ui/order_session.h"

class CDialogProgressSend : public ui::Dialog, private TransferWindow {
  public:
    // `timings`: how often the transfer's waits look at a running command.
    explicit CDialogProgressSend(OrderSession& session, TransferTimings timings = {});
    CDialogProgressSend(const CDialogProgressSend&) = delete;
    CDialogProgressSend& operator=(const CDialogProgressSend&) = delete;

    void onInit() override;
    // Enter outside a push button.
    void onOk() override;
    // Esc and the close box.
    void onCancel() override;
    void onCommand(int id) override;
    void onStateChange(ui::WindowState state) override;

    // What became of the order: sent only when the lab confirmed the end of an order that was not
    // cancelled; saved when Save to disk saved it; else nothing.
    SendingOutcome outcome() const { return transfer_.outcome(); }

    // --- State the tests look at
    const TransferOrder& transfer() const { return transfer_; }
    const CButtonIcons& stornoIcons() const { return stornoIcons_; }
    const CButtonIcons& sendIcons() const { return sendIcons_; }
    const CButtonIcons& saveIcons() const { return saveIcons_; }

  private:
    void OkAction();
    void CancelAction();
    void EndDialog();
    void Help();

    // --- TransferWindow
    std::string LoginText() override;
    std::string PasswordText() override;
    bool AutoResumeTicked() override;
    bool photobookMode() override;
    void ShowStatus(std::string_view text) override;
    void SetOverallBar(int percent) override;
    void SetOverallText(std::string_view text) override;
    void SetFileBar(int percent) override;
    void SetFileText(std::string_view text) override;
    void EnableControl(SendControl control, bool enabled) override;
    void ShowControl(SendControl control, bool visible) override;
    void FocusControl(SendControl control) override;
    void ShowFinished() override;
    void Warn(std::string_view text) override;
    bool Ask(std::string_view text, std::string_view caption) override;
    void PumpEvents() override;
    void Sleep(int milliseconds) override;
    void BeginKeepAwake() override;
    void EndKeepAwake() override;
    bool SaveToDisk() override;
    void CloseWindow() override;

    OrderSession& session_;
    TransferOrder transfer_;
    // Set only while the Save to disk button's action runs.
    bool saveToDisk_ = false;
    CButtonIcons saveIcons_;
    CButtonIcons stornoIcons_;
    CButtonIcons sendIcons_;
};

// Runs the sending dialog modally over the session and tells what became of the order; a hook for
// MainWindowHooks::runSending.
SendingOutcome runSending(OrderSession& session);
