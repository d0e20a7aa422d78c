#include "transfer/lab_update.h"

#include <string>

#include "app/state_files.h"
#include "app/ui_texts.h"
#include "buildinfo/build_constants.h"
#include "platform/files.h"
#include "transfer/lab_files.h"

namespace {

// The lab publishes the files of each client version in a folder named after it.
std::string published(std::string_view name) {
    return std::string(build::kVersion) + "/" + std::string(name);
}

// Sets the request's anonymous download for the lifetime of the object, then puts back what was set.
class AnonymousDownloadScope {
  public:
    explicit AnonymousDownloadScope(ServerRequest& request)
        : request_(request), before_(request.AnonymousDownload()) {
        request_.SetAnonymousDownload(true);
    }
    ~AnonymousDownloadScope() { request_.SetAnonymousDownload(before_); }
    AnonymousDownloadScope(const AnonymousDownloadScope&) = delete;
    AnonymousDownloadScope& operator=(const AnonymousDownloadScope&) = delete;

  private:
    ServerRequest& request_;
    bool before_;
};

}  // namespace

RequestState LabUpdate::WaitUpdateDownload(ServerRequest& request, std::string_view localFile,
                                           std::string_view serverPath, UpdateView& view) {
    // Refused before the request is touched: the download under way needs its settings as they are.
    if (downloadBusy_.isSet())
        return RequestState::Failed;
    AnonymousDownloadScope anonymous(request);
    return runCommand(request, downloadBusy_, {ServerCommand::GetFile, localFile, serverPath, ""},
                      lookInterval_, [&view] { view.BetweenLooks(); });
}

UpdateOutcome LabUpdate::RunUpdate(ServerRequest& request, UpdateView& view) {
    request.SetCredentials("", "");

    // The catalogue first: without it the lab's other files are not fetched either. A download that
    // is not a usable catalogue (an error page that came with a success status, one larger than any
    // catalogue) counts as failed, and the catalogue in use stays. The download leaves no file behind
    // when it fails, and installCatalogue none when it refuses; nothing is deleted here, as a download
    // that failed because another update's is under way must not take that one's file away.
    const RequestState catalogue =
        WaitUpdateDownload(request, state_files::kCatalogueUpdate, published(state_files::kCatalogue), view);
    if (catalogue != RequestState::Ok || !lab_files::installCatalogue(state_files::kCatalogueUpdate)) {
        view.ShowStatus(uiText(UiText::UpdateFailed));
        return UpdateOutcome::CatalogueKept;
    }

    // A lab that publishes no header picture (or whose picture did not come) gets the built-in one.
    const RequestState picture = WaitUpdateDownload(request, state_files::kHeaderPictureUpdate,
                                                    published(state_files::kHeaderPicture), view);
    if (picture == RequestState::Ok)
        lab_files::installHeaderPicture(state_files::kHeaderPictureUpdate);
    else
        platform::removeFile(state_files::kHeaderPicture);

    // A message left by an earlier failed download is not shown as if it had come now.
    platform::removeFile(state_files::kNewsMessage);
    const RequestState message =
        WaitUpdateDownload(request, state_files::kNewsMessage, published(state_files::kNewsMessage), view);
    if (message == RequestState::Ok)
        view.ShowNewsMessage();
    view.ShowStatus(uiText(UiText::Done));
    return UpdateOutcome::Done;
}
