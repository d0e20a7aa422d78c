// The desktop of the product's backend: real message boxes, the toolkit's event pump, the busy cursor,
// the shell and the folder browser, and modal runs of WxDialogs. UI thread only, except runOnUiThread,
// which queues the action as an event of the application object.
#pragma once

#include <vector>

#include "ui/controls/desktop_services.h"

class wxWindow;

namespace ui::wxgui {

class WxDialog;

class WxDesktop final : public DesktopServices {
  public:
    MessageAnswer messageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons buttons) override;
    void pumpEvents() override;
    void runOnUiThread(std::function<void()> action) override;
    void sleep(int milliseconds) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void beginKeepAwake() override;
    void endKeepAwake() override;
    bool openWithShell(std::string_view target) override;
    std::optional<std::string> browseForFolder(std::string_view title) override;
    int runModal(Dialog& dialog, const DialogTemplate& dialogTemplate) override;

    // The innermost window of a modal run; null when none runs. New modal windows open over it.
    WxDialog* activeWindow() const { return running_.empty() ? nullptr : running_.back(); }

  private:
    std::vector<WxDialog*> running_;
    int keepAwakeDepth_ = 0;
};

}  // namespace ui::wxgui
