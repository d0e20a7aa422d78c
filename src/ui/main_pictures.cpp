// The pictures of the main window: the preview of the chosen photograph and the lab's header.
#include "app/ui_texts.h"
#include "text/cp1250.h"
#include "text/format.h"
#include "ui/main_order_dlg.h"
#include "ui/resource_ids.h"

namespace {

using namespace main_ids;

// Where the preview stands inside its frame.
constexpr int kPreviewInset = 2;
// Where the header stands in the window.
constexpr int kHeaderLeft = 2;
constexpr int kHeaderTop = 2;

// What the status line says after the path when the picture cannot be shown.
std::string_view failureText(LoadOutcome outcome) {
    switch (outcome) {
        case LoadOutcome::Unreadable:
            return " (soubor nelze přečíst)"_cz;
        case LoadOutcome::NotAPicture:
            return " (soubor není obrázek)"_cz;
        case LoadOutcome::Damaged:
            return " (poškozený obrázek)"_cz;
        case LoadOutcome::TooDemanding:
            return " (obrázek je na náhled příliš velký)"_cz;
        case LoadOutcome::Loaded:
        case LoadOutcome::Cancelled:
            break;
    }
    return {};
}

}  // namespace

void CMainOrderDlg::Preview(const std::string& path) {
    if (!preview_.choose(path))
        return;
    askedSincePreviewChosen_ = false;
    previewStatus_ = uiText(UiText::Loading) + path + "...";
    ShowStatus(previewStatus_);
    // The picture shown so far is gone at once, not only when the window is next painted.
    preview_.clear();
    host().redraw();
    if (!previewWait_)
        previewWait_.emplace(services());
    if (!previewLoader_) {
        previewLoader_ = std::make_unique<PreviewLoader>(
            services(), [this](const std::string& loaded, PreviewPicture picture) {
                PreviewLoaded(loaded, std::move(picture));
            });
    }
    // Made for the screen's device pixels, so that a high-resolution screen shows the photograph sharp.
    previewLoader_->load(path, host().pixelScale());
}

void CMainOrderDlg::PreviewLoaded(const std::string& path, PreviewPicture preview) {
    previewWait_.reset();
    if (!hasHost() || host().isEnding())
        return;
    const LoadOutcome outcome = preview.outcome;
    const int width = preview.width;
    const int height = preview.height;
    preview_.show(std::move(preview));
    host().redraw();
    // What the status line says meanwhile (a folder chosen) stays.
    const bool statusUnchanged = host().label(kStatus).text() == previewStatus_;
    if (outcome != LoadOutcome::Loaded) {
        if (statusUnchanged)
            ShowStatus(path + std::string(failureText(outcome)));
        return;
    }
    if (statusUnchanged)
        ShowStatus(path + text::format(" (%dx%d)", width, height));
    RefreshSummary(!askedSincePreviewChosen_);
}

void CMainOrderDlg::WaitForPreview() {
    if (previewLoader_)
        previewLoader_->waitUntilPosted();
}

void CMainOrderDlg::DrawWindow(ui::Canvas& canvas) {
    // A minimised window shows only its icon, which the desktop draws.
    if (host().state() == ui::WindowState::Minimised)
        return;
    if (preview_.picture().isValid()) {
        const ui::Rect frame = host().control(kPreview).rect();
        canvas.drawPictureAtScale(preview_.picture(), frame.x + kPreviewInset, frame.y + kPreviewInset,
                                  preview_.scale());
    }
    const Picture& header = header_.pictureToDraw();
    if (header.isValid())
        canvas.drawPicture(header, kHeaderLeft, kHeaderTop);
    // The add and remove buttons draw their icons themselves whenever they are painted (CButtonIcons).
}
