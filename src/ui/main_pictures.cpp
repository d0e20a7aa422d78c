// The pictures of the main window: the preview of the chosen photograph and the lab's header.
#include "app/ui_texts.h"
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

}  // namespace

void CMainOrderDlg::Preview(const std::string& path) {
    if (!preview_.choose(path))
        return;
    {
        ui::WaitCursor wait(host().services());
        ShowStatus(uiText(UiText::Loading) + path + "...");
        // A picture that cannot be read leaves the preview empty and the loading text standing.
        if (!preview_.load(path))
            return;
        host().redraw();
        ShowStatus(path + text::format(" (%dx%d)", preview_.loadedWidth(), preview_.loadedHeight()));
    }
    RefreshSummary(true);
}

void CMainOrderDlg::DrawWindow(ui::Canvas& canvas) {
    // A minimised window shows only its icon, which the desktop draws.
    if (host().state() == ui::WindowState::Minimised)
        return;
    if (preview_.picture().isValid()) {
        const ui::Rect frame = host().control(kPreview).rect();
        canvas.drawPicture(preview_.picture(), frame.x + kPreviewInset, frame.y + kPreviewInset);
    }
    const Picture& header = header_.pictureToDraw();
    if (header.isValid())
        canvas.drawPicture(header, kHeaderLeft, kHeaderTop);
    // The add and remove buttons draw their icons themselves whenever they are painted (CButtonIcons).
}
