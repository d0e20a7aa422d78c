// Sending an order to the lab: the login check, the catalogue refresh, the order's identity from the
// server, both order documents, the price question, every photograph under its numbered name with
// pause, cancel and retries, and the end of the order on the server. For Save to disk it stops after
// the order documents and hands over to the window.
//
// The procedure opens no window. What it needs of the sending dialog it asks through TransferWindow:
// the typed-in login, the status line, the two bars and their texts, the controls it enables and shows,
// the questions, the dispatching of the windows' events between two looks at a running command, and the
// save to disk. The dialog's handlers, dispatched from inside the procedure's waits, steer it through
// SetPause and ConfirmCancel.
//
// UI thread only. Each server command runs on a worker thread of its own and meets the procedure only
// in the ServerRequest; no worker touches a window.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "documents/order_document.h"
#include "transfer/command_wait.h"
#include "transfer/request_state.h"
#include "transfer/sending_outcome.h"
#include "transfer/server_request.h"

enum class SendDialogState : std::int32_t { Ready = 0, Finished = 1, Sending = 2, Cancelling = 4 };

// The controls of the sending dialog that the procedure enables, shows or focuses.
enum class SendControl {
    Login,
    Password,
    LoginLabel,
    PasswordLabel,
    Pause,
    AutoResume,
    Send,
    Storno,
    SaveToDisk
};

// How the last run of the procedure ended.
enum class TransferResult {
    NotRun,
    CredentialsTooShort,    // login or password shorter than three characters
    LoginRefused,           // the login check: the server refused the login
    DocumentsFailed,        // no order identity, a document not written whole, or not uploaded
    PriceDeclined,          // the customer did not want to go on after the price question
    SavedToDisk,            // handed over to Save to disk, which saved the order
    NotSavedToDisk,         // handed over to Save to disk, which saved nothing
    CancelledBeforePhotos,  // a cancel confirmed before the first photograph was sent
    NoPhotographs,          // the order holds no photograph: it is not ended on the server
    PhotoFailed,            // a photograph's upload failed (connection, server) and was not retried
    PhotoUnreadable,        // a photograph cannot be read on this computer
    PhotoLoginRefused,      // the server refused the login for a photograph
    UploadCancelled,        // the customer's cancel stopped an upload; the order is not ended
    EndFailed,              // the end of the order failed; the order stays open on the server
    CancelledOrder,         // cancelled between two photographs; the order was ended as cancelled
    Sent,                   // every photograph was sent and the order was ended
};

// What the procedure asks of the sending dialog. UI thread only.
class TransferWindow {
  public:
    virtual ~TransferWindow() = default;

    // The texts of the login and password fields.
    virtual std::string LoginText() = 0;
    virtual std::string PasswordText() = 0;
    // Whether the automatic-resume check box is ticked.
    virtual bool AutoResumeTicked() = 0;
    // The document holds a photobook (the main window's photobook mode): no price is asked.
    virtual bool photobookMode() = 0;

    virtual void ShowStatus(std::string_view text) = 0;
    virtual void SetOverallBar(int percent) = 0;
    virtual void SetOverallText(std::string_view text) = 0;
    virtual void SetFileBar(int percent) = 0;
    virtual void SetFileText(std::string_view text) = 0;
    virtual void EnableControl(SendControl control, bool enabled) = 0;
    virtual void ShowControl(SendControl control, bool visible) = 0;
    virtual void FocusControl(SendControl control) = 0;
    // After the end of the order: the status line bold, Storno enabled, reading "Zavřít okno" with its
    // closing picture, and focused.
    virtual void ShowFinished() = 0;

    // A warning with an OK button.
    virtual void Warn(std::string_view text) = 0;
    // A question with Yes and No; true for Yes. An empty caption shows the program's name.
    virtual bool Ask(std::string_view text, std::string_view caption) = 0;

    // Dispatches the windows' pending events; the dialog's handlers run inside.
    virtual void PumpEvents() = 0;
    // Sleeps on the UI thread (the tests' desktop advances its clock instead).
    virtual void Sleep(int milliseconds) = 0;
    // Keeps the computer awake while the order is being uploaded; counted.
    virtual void BeginKeepAwake() = 0;
    virtual void EndKeepAwake() = 0;

    // Save to disk, with the order documents written and the order's identity in the document. True
    // when the order was saved.
    virtual bool SaveToDisk() = 0;
    // The dialog's cancel action in the Ready state: the dialog closes.
    virtual void CloseWindow() = 0;
};

// How often the waits look at a running command. A look ends as soon as the command is final; these
// are only the longest times between two updates of the window.
struct TransferTimings {
    std::chrono::milliseconds fileLook{500};   // uploads and downloads, with their progress
    std::chrono::milliseconds quickLook{200};  // the price and the end of the order
};

class TransferOrder {
  public:
    // A photograph whose upload failed with automatic resume ticked is tried again after this many
    // steps of 100 ms, the status counting down the seconds.
    static constexpr int kResumeSteps = 100;
    static constexpr int kStepMilliseconds = 100;
    // With automatic resume, a failed end of the order is tried again at most this many times.
    static constexpr int kEndRetries = 5;

    TransferOrder(OrderDocument& document, ServerRequest& request, TransferWindow& window,
                  TransferTimings timings = {});
    TransferOrder(const TransferOrder&) = delete;
    TransferOrder& operator=(const TransferOrder&) = delete;

    // The whole procedure; does nothing unless the state is Ready. `saveToDisk`: the Save to disk
    // button's run, which hands over after the order documents.
    void Run(bool saveToDisk);

    // The dialog's pause check box.
    void SetPause(bool paused) { pause_ = paused; }
    bool paused() const { return pause_; }

    // Whether a confirmed cancel can still stop something: true while sending, until the end of the
    // order has begun (the order is then ended whatever the customer does).
    bool Cancellable() const;
    // The customer confirmed the cancel: the running upload stops, no further photograph is sent,
    // also while paused.
    void ConfirmCancel();

    SendDialogState state() const { return state_; }
    // Save to disk ends the dialog's work this way.
    void SetFinished() { state_ = SendDialogState::Finished; }
    TransferResult result() const { return result_; }
    // What the main window is told when the dialog closes.
    SendingOutcome outcome() const { return outcome_; }
    const OrderIdentity& identity() const { return identity_; }

    // The name under which the server stores the `number`-th photograph (1-based, used slots only).
    static std::string RemoteName(int number, std::string_view orderId, std::string_view fileName);

  private:
    enum class Stage { Preparing, Photographs, Ending };

    // The waiting routines: each runs one command to its end, the request Reset afterwards.
    RequestState WaitSendFile(std::string_view local, std::string_view remote, std::string_view folder);
    RequestState WaitOnlyCopy(std::string_view earlier, std::string_view remote, std::string_view folder);
    RequestState WaitGetFile(std::string_view local, std::string_view remote);

    bool CheckLogin(bool saveToDisk);
    void RefreshCatalogue();
    // 0: params.sno came and was read; 2: the server refused the login; 1: any other failure.
    int FetchOrderParams();
    bool SendDocuments(bool saveToDisk);
    bool PriceAccepted();
    void StartPhotographs();
    // Sends every photograph; Ok when all were sent or a cancel came between two of them.
    RequestState SendPhotographs();
    // Waits while paused; returns at once when the customer cancels meanwhile.
    void WaitWhilePaused();
    // The countdown before an automatic retry; false when a cancel cut it short.
    bool CountDownToRetry();
    // Tells the customer which photograph cannot be read, and stops.
    void StopOnUnreadable(std::string_view source);
    void EndOrder();
    // An early stop: back to Ready, the dialog closes.
    void Stop(TransferResult result);
    void SetOverall(int sent, int count);

    OrderDocument& document_;
    ServerRequest& request_;
    TransferWindow& window_;
    TransferTimings timings_;

    SendDialogState state_ = SendDialogState::Ready;
    Stage stage_ = Stage::Preparing;
    bool pause_ = false;
    TransferResult result_ = TransferResult::NotRun;
    SendingOutcome outcome_ = SendingOutcome::Nothing;
    OrderIdentity identity_;

    BusyFlag sendFileBusy_;
    BusyFlag onlyCopyBusy_;
    BusyFlag getFileBusy_;
    BusyFlag priceBusy_;
    BusyFlag endBusy_;
};
