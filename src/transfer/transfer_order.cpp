#include "transfer/transfer_order.h"

#include <unordered_map>

#include "app/state_files.h"
#include "app/ui_texts.h"
#include "buildinfo/build_constants.h"
#include "documents/order_identity_file.h"
#include "platform/files.h"
#include "platform/path.h"
#include "text/cp1250.h"
#include "text/format.h"
#include "transfer/lab_files.h"

namespace {

// The status texts of the sending that the text table does not hold.
constexpr std::string_view kCheckingLogin = "Provádím ověření uživatele..."_cz;
constexpr std::string_view kTryLoginAgain = "Zkuste zadat přihlašovací údaje znovu."_cz;
constexpr std::string_view kSendingParameters = "Odesílám parametry objednávky..."_cz;
constexpr std::string_view kAskingPrice = "Zjišťuji cenu objednávky..."_cz;
constexpr std::string_view kRetryAfterError = "Chyba přenosu."_cz;
constexpr std::string_view kEndingOrder = "Ukončuji objednávku..."_cz;
constexpr std::string_view kEndFailed = "Nepodařilo se ukončit objednávku."_cz;
constexpr std::string_view kOrderCancelled = "Objednávka byla stornována před dokončením."_cz;
constexpr std::string_view kOrderSent = "Objednávka byla v pořádku odeslána."_cz;
constexpr std::string_view kEndingTransfer = "Ukončuji přenos souborů objednávky..."_cz;

// The lab publishes the files of each client version in a folder named after it.
std::string published(std::string_view name) {
    return std::string(build::kVersion) + "/" + std::string(name);
}

// A product ticked in the order that the lab prices (the product 2, archiving only, costs nothing).
bool needsPrice(const OrderParams& params) {
    for (const OrderOption& product : params.products) {
        if (product.used == 1 && product.id != 2 && product.value == 1)
            return true;
    }
    return false;
}

int percentOf(std::int64_t part, std::int64_t whole) {
    if (whole <= 0)
        return 0;
    return static_cast<int>(static_cast<double>(part) / static_cast<double>(whole) * 100.0);
}

// Holds the window's keep-awake for the lifetime of the object.
class KeepAwakeScope {
  public:
    explicit KeepAwakeScope(TransferWindow& window) : window_(window) { window_.BeginKeepAwake(); }
    ~KeepAwakeScope() { window_.EndKeepAwake(); }
    KeepAwakeScope(const KeepAwakeScope&) = delete;
    KeepAwakeScope& operator=(const KeepAwakeScope&) = delete;

  private:
    TransferWindow& window_;
};

}  // namespace

TransferOrder::TransferOrder(OrderDocument& document, ServerRequest& request, TransferWindow& window,
                             TransferTimings timings)
    : document_(document), request_(request), window_(window), timings_(timings) {}

std::string TransferOrder::RemoteName(int number, std::string_view orderId, std::string_view fileName) {
    return text::format("%03d_%s_%s", number, orderId, fileName);
}

bool TransferOrder::Cancellable() const {
    const bool sending = state_ == SendDialogState::Sending || state_ == SendDialogState::Cancelling;
    return sending && stage_ != Stage::Ending;
}

void TransferOrder::ConfirmCancel() {
    if (!Cancellable())
        return;
    request_.RequestCancel();
    state_ = SendDialogState::Cancelling;
    window_.ShowStatus(kEndingTransfer);
}

RequestState TransferOrder::WaitSendFile(std::string_view local, std::string_view remote,
                                         std::string_view folder) {
    return runCommand(
        request_, sendFileBusy_, {ServerCommand::SendFile, local, remote, folder}, timings_.fileLook, [this] {
            const std::int32_t percent = request_.Percent();
            window_.SetFileText(
                formatUiText(ui_format::BytesProgress, percent, request_.Posted(), request_.Total()));
            window_.SetFileBar(percent);
            window_.PumpEvents();
        });
}

RequestState TransferOrder::WaitOnlyCopy(std::string_view earlier, std::string_view remote,
                                         std::string_view folder) {
    return runCommand(request_, onlyCopyBusy_, {ServerCommand::OnlyCopy, earlier, remote, folder},
                      timings_.fileLook, [this] {
                          window_.SetFileText(uiText(UiText::OnlyRecorded));
                          window_.SetFileBar(request_.Percent());
                          window_.PumpEvents();
                      });
}

RequestState TransferOrder::WaitGetFile(std::string_view local, std::string_view remote) {
    return runCommand(request_, getFileBusy_, {ServerCommand::GetFile, local, remote, ""}, timings_.fileLook,
                      [this] { window_.PumpEvents(); });
}

void TransferOrder::Run(bool saveToDisk) {
    if (state_ != SendDialogState::Ready)
        return;
    state_ = SendDialogState::Sending;
    stage_ = Stage::Preparing;
    result_ = TransferResult::NotRun;
    outcome_ = SendingOutcome::Nothing;

    if (!CheckLogin(saveToDisk))
        return;
    RefreshCatalogue();
    if (!SendDocuments(saveToDisk))
        return;
    if (!PriceAccepted())
        return;

    StartPhotographs();
    if (state_ == SendDialogState::Cancelling) {
        window_.ShowStatus(uiText(UiText::CancelledByUser));
        Stop(TransferResult::CancelledBeforePhotos);
        return;
    }
    // The documents are on the server: keep the computer awake until the order is ended.
    KeepAwakeScope awake(window_);
    const RequestState photographs = SendPhotographs();
    if (photographs == RequestState::Ok)
        EndOrder();
    for (SendControl control : {SendControl::Login, SendControl::Password, SendControl::Send})
        window_.EnableControl(control, true);
}

bool TransferOrder::CheckLogin(bool saveToDisk) {
    const std::string login = window_.LoginText();
    const std::string password = window_.PasswordText();
    // Save to disk with cash payment at the shop needs no login: the order gets its number anonymously.
    const bool anonymousAllowed = saveToDisk && document_.params().paymentAbbrev == "hot";
    if ((login.size() < 3 || password.size() < 3) && !anonymousAllowed) {
        window_.Warn(uiText(UiText::CredentialsTooShort));
        window_.FocusControl(SendControl::Login);
        state_ = SendDialogState::Ready;
        result_ = TransferResult::CredentialsTooShort;
        return false;
    }
    for (SendControl control : {SendControl::Login, SendControl::Password, SendControl::Pause,
                                SendControl::Send, SendControl::Storno, SendControl::SaveToDisk})
        window_.EnableControl(control, false);
    request_.SetCredentials(login, password);
    // Every download of a sending goes to the customer's endpoint, whatever an update left set.
    request_.SetAnonymousDownload(false);
    window_.ShowStatus(kCheckingLogin);

    // The header picture doubles as the login check. It lands under a name of its own and replaces the
    // one in use only when it came whole; a server out of reach keeps the lab's picture. A lab that
    // answers that it has none withdrew it, as the update treats it.
    const RequestState check =
        WaitGetFile(state_files::kHeaderPictureCheck, published(state_files::kHeaderPicture));
    if (check == RequestState::Ok) {
        lab_files::installHeaderPicture(state_files::kHeaderPictureCheck);
    } else {
        platform::removeFile(state_files::kHeaderPictureCheck);
        if (check == RequestState::NotFound)
            platform::removeFile(state_files::kHeaderPicture);
    }
    if (check == RequestState::BadLogin && (!login.empty() || !password.empty())) {
        window_.Warn(uiText(UiText::CredentialsInvalid));
        window_.ShowStatus(kTryLoginAgain);
        for (SendControl control :
             {SendControl::Login, SendControl::Password, SendControl::Send, SendControl::SaveToDisk})
            window_.EnableControl(control, true);
        state_ = SendDialogState::Ready;
        result_ = TransferResult::LoginRefused;
        return false;
    }
    // Any other result goes on: a server out of reach shows when the order's identity does not come.
    return true;
}

void TransferOrder::RefreshCatalogue() {
    // Only a download that reads as a catalogue replaces the one in use, by a rename over it; the lists
    // in memory stay as they are for this order.
    const RequestState catalogue =
        WaitGetFile(state_files::kCatalogueRefresh, published(state_files::kCatalogue));
    if (catalogue == RequestState::Ok)
        lab_files::installCatalogue(state_files::kCatalogueRefresh);
    else
        platform::removeFile(state_files::kCatalogueRefresh);
}

int TransferOrder::FetchOrderParams() {
    identity_ = presetOrderIdentity();
    const RequestState params = WaitGetFile(state_files::kOrderParams, "params");
    if (params == RequestState::BadLogin)
        return 2;
    if (params != RequestState::Ok)
        return 1;
    // The download is complete once the command is Ok: the file can be read at once.
    return readOrderIdentity(identity_) == 0 ? 0 : 1;
}

bool TransferOrder::SendDocuments(bool saveToDisk) {
    window_.SetOverallBar(0);
    window_.SetFileBar(0);
    int progress = 0;
    window_.ShowStatus(kSendingParameters);

    if (FetchOrderParams() == 0) {
        progress = 25;
        window_.SetFileBar(progress);
        document_.setIdentity(identity_);
        // A document that could not be written whole (a full disk) must not reach the lab cut short.
        const bool orderFile = document_.writeOrderFile(state_files::kOrderFile) == 0;
        const bool laceFile = document_.writeLaceFile(state_files::kLaceFile) == 0;
        if (orderFile && laceFile) {
            progress = 50;
            window_.SetFileBar(progress);
        }
    }

    if (saveToDisk) {
        const bool saved = window_.SaveToDisk();
        result_ = saved ? TransferResult::SavedToDisk : TransferResult::NotSavedToDisk;
        outcome_ = saved ? SendingOutcome::SavedToDisk : SendingOutcome::Nothing;
        state_ = SendDialogState::Finished;
        window_.CloseWindow();
        return false;
    }

    if (progress == 50) {
        const std::string folder = identity_.serverFolder;
        const std::string prefix = "000_" + identity_.orderId;
        if (WaitSendFile(state_files::kLaceFile, prefix + ".lace", folder) == RequestState::Ok) {
            progress += 25;
            window_.SetFileBar(progress);
        }
        if (WaitSendFile(state_files::kOrderFile, prefix + ".snf", folder) == RequestState::Ok) {
            progress += 25;
            window_.SetFileBar(progress);
        }
    }
    platform::removeFile(state_files::kOrderFile);
    platform::removeFile(state_files::kLaceFile);

    if (state_ == SendDialogState::Cancelling) {
        window_.ShowStatus(uiText(UiText::CancelledByUser));
        Stop(TransferResult::CancelledBeforePhotos);
        return false;
    }
    if (progress != 100) {
        window_.Warn(uiText(UiText::OrderParamsFailed));
        Stop(TransferResult::DocumentsFailed);
        return false;
    }
    return true;
}

bool TransferOrder::PriceAccepted() {
    if (!needsPrice(document_.params()) || window_.photobookMode())
        return true;
    window_.ShowStatus(kAskingPrice);
    const RequestState price =
        runCommand(request_, priceBusy_,
                   {ServerCommand::GetPrice, build::kVersion, identity_.orderId, identity_.customerId},
                   timings_.quickLook, [this] { window_.PumpEvents(); });
    const std::string question = price == RequestState::Ok
                                     ? formatUiText(ui_format::PriceQuestion, request_.Price())
                                     : uiText(UiText::PriceUnknown);
    if (!window_.Ask(question, uiText(UiText::PriceCaption)) || state_ == SendDialogState::Cancelling) {
        if (state_ == SendDialogState::Cancelling)
            window_.ShowStatus(uiText(UiText::CancelledByUser));
        Stop(state_ == SendDialogState::Cancelling ? TransferResult::CancelledBeforePhotos
                                                   : TransferResult::PriceDeclined);
        return false;
    }
    return true;
}

void TransferOrder::StartPhotographs() {
    window_.Sleep(500);
    window_.SetFileBar(0);
    window_.ShowControl(SendControl::Pause, true);
    window_.ShowControl(SendControl::AutoResume, true);
    for (SendControl control :
         {SendControl::LoginLabel, SendControl::Password, SendControl::PasswordLabel, SendControl::Login})
        window_.ShowControl(control, false);
    window_.EnableControl(SendControl::Pause, true);
    window_.EnableControl(SendControl::Storno, true);
    stage_ = Stage::Photographs;
}

void TransferOrder::SetOverall(int sent, int count) {
    const int percent = percentOf(sent, count);
    window_.SetOverallText(formatUiText(ui_format::FilesProgress, percent, sent, count));
    window_.SetOverallBar(percent);
}

void TransferOrder::WaitWhilePaused() {
    bool shown = false;
    while (pause_ && state_ != SendDialogState::Cancelling) {
        if (!shown) {
            window_.ShowStatus(uiText(UiText::SendingPaused));
            shown = true;
        }
        window_.Sleep(kStepMilliseconds);
        window_.PumpEvents();
    }
}

bool TransferOrder::CountDownToRetry() {
    for (int step = kResumeSteps; step > 0; --step) {
        if (state_ == SendDialogState::Cancelling)
            return false;
        window_.ShowStatus(text::format("Chyba přenosu, za %d sekund se pokusím znova..."_cz,
                                        step * kStepMilliseconds / 1000));
        window_.Sleep(kStepMilliseconds);
        window_.PumpEvents();
    }
    return true;
}

RequestState TransferOrder::SendPhotographs() {
    const int count = static_cast<int>(document_.usedCount());
    const std::string folder = identity_.serverFolder;
    const std::string& orderId = identity_.orderId;
    // The number under which each photograph was first sent: a photograph ordered again is copied on
    // the server from that upload.
    std::unordered_map<std::string, int> firstNumber;
    RequestState result = RequestState::Failed;  // an order without photographs is not ended
    int sent = 0;
    int number = 0;
    for (const DocumentEntry& entry : document_.entries()) {
        if (entry.used == 0)
            continue;
        ++number;
        const std::string source = platform::joinPath(entry.folder, entry.fileName);
        const std::string remote = RemoteName(number, orderId, entry.fileName);
        const auto [earlier, firstTime] = firstNumber.emplace(source, number);
        const std::string earlierRemote =
            firstTime ? std::string() : RemoteName(earlier->second, orderId, entry.fileName);
        for (;;) {
            // A cancel confirmed while paused, or during the countdown, takes effect before anything more
            // is sent; the order is then ended as after a cancel between two photographs.
            if (state_ == SendDialogState::Cancelling)
                return RequestState::Ok;
            WaitWhilePaused();
            if (state_ == SendDialogState::Cancelling)
                return RequestState::Ok;
            SetOverall(sent, count);
            window_.ShowStatus(formatUiText(ui_format::SendingFile, source));

            // A photograph this computer cannot read is no lost connection: retrying it would never end.
            if (firstTime && !platform::canOpenForReading(source)) {
                StopOnUnreadable(source);
                return RequestState::Failed;
            }
            result = firstTime ? WaitSendFile(source, remote, folder)
                               : WaitOnlyCopy(earlierRemote, remote, folder);
            // An upload that broke after the customer confirmed the cancel was stopped by the customer, not
            // lost: it is not tried again, and the order is not ended.
            if (result == RequestState::Failed && state_ == SendDialogState::Cancelling)
                result = RequestState::Cancelled;
            if (result == RequestState::Ok) {
                window_.ShowStatus(uiText(UiText::Ok));
                SetOverall(sent + 1, count);
                ++sent;
                break;
            }
            if (result == RequestState::Failed) {
                if (firstTime && !platform::canOpenForReading(source)) {
                    StopOnUnreadable(source);
                    return RequestState::Failed;
                }
                if (window_.AutoResumeTicked()) {
                    CountDownToRetry();
                    continue;
                }
                if (window_.Ask(uiText(UiText::UploadFailedRetry), "")) {
                    window_.ShowStatus(kRetryAfterError);
                    continue;
                }
                Stop(TransferResult::PhotoFailed);
                return result;
            }
            if (result == RequestState::BadLogin) {
                window_.ShowStatus(uiText(UiText::BadCredentials));
                Stop(TransferResult::PhotoLoginRefused);
            } else if (result == RequestState::Cancelled) {
                window_.ShowStatus(uiText(UiText::CancelledByUser));
                Stop(TransferResult::UploadCancelled);
            } else {
                Stop(TransferResult::PhotoFailed);
            }
            return result;
        }
    }
    if (result != RequestState::Ok)
        Stop(TransferResult::NoPhotographs);
    return result;
}

void TransferOrder::StopOnUnreadable(std::string_view source) {
    window_.Warn(
        text::format("Fotografii nelze přečíst:\r\n%s\r\n"
                     "Odesílání objednávky bylo zastaveno. Zkontrolujte, zda je soubor na svém místě, "
                     "a odešlete objednávku znovu."_cz,
                     source));
    Stop(TransferResult::PhotoUnreadable);
}

void TransferOrder::EndOrder() {
    stage_ = Stage::Ending;
    window_.ShowControl(SendControl::Send, false);
    window_.ShowControl(SendControl::SaveToDisk, false);
    window_.EnableControl(SendControl::Storno, false);
    window_.ShowStatus(kEndingOrder);
    const auto sendEnd = [this] {
        return runCommand(
            request_, endBusy_,
            {ServerCommand::TransEnd, state_files::kOrder, identity_.orderId, identity_.serverFolder},
            timings_.quickLook, [this] { window_.PumpEvents(); });
    };
    RequestState end = sendEnd();
    // A failed end may have closed the order on the server with only its reply lost; sent again, the whole
    // order would reach the lab twice. The lab answers a repeated end of a closed order as the first, so
    // with automatic resume the end itself is tried again, a few times, after the same countdown.
    for (int retry = 0; end == RequestState::Failed && window_.AutoResumeTicked() && retry < kEndRetries &&
                        CountDownToRetry();
         ++retry) {
        window_.ShowStatus(kEndingOrder);
        end = sendEnd();
    }
    if (end != RequestState::Ok) {
        window_.ShowStatus(kEndFailed);
        result_ = TransferResult::EndFailed;
    } else if (state_ == SendDialogState::Cancelling) {
        window_.ShowStatus(kOrderCancelled);
        platform::removeFile(state_files::kOrderParams);
        result_ = TransferResult::CancelledOrder;
    } else {
        window_.ShowStatus(kOrderSent);
        platform::removeFile(state_files::kOrderParams);
        result_ = TransferResult::Sent;
        outcome_ = SendingOutcome::Sent;
    }
    window_.EnableControl(SendControl::Storno, true);
    window_.ShowFinished();
    state_ = SendDialogState::Finished;
}

void TransferOrder::Stop(TransferResult result) {
    result_ = result;
    state_ = SendDialogState::Ready;
    for (SendControl control : {SendControl::Login, SendControl::Password, SendControl::Send})
        window_.EnableControl(control, true);
    window_.CloseWindow();
}
