// The desktop of the tests' backend.
//
// Message boxes: a box with only an OK button is answered OK; a Yes/No box takes the next scripted
// answer, and without one the script has failed (HeadlessScriptError). Every box is recorded.
// Actions posted with runOnUiThread, from any thread, run in the next pumpEvents(), in order.
// Time: sleep() advances a virtual clock and costs no real time; actions scheduled for a moment of that
// clock, or for the next pump, run inside pumpEvents() once due, as events would be dispatched there.
// Nested windows: runModal() builds a headless window, runs its onInit and then the test callback
// registered for its template id, which acts on the window; the window must have ended by then.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/controls/desktop_services.h"
#include "ui/controls/dialog.h"
#include "ui/controls/headless/headless_window.h"

namespace ui::headless {

struct MessageRecord {
    std::string text;
    // The caption as shown: the program's name when the window gave none.
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer answer = MessageAnswer::Ok;
};

class HeadlessDesktop final : public DesktopServices {
  public:
    using WindowScript = std::function<void(HeadlessWindow&)>;

    HeadlessDesktop();
    ~HeadlessDesktop() override;

    // --- DesktopServices
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

    // --- Scripting
    // The answer to the next Yes/No message box.
    void answerNextQuestion(MessageAnswer answer);
    // The folder the user picks in the next folder browser; none cancels it.
    void chooseNextFolder(std::optional<std::string> folder);
    // The script of the next modal run of the template with this id (several queue up in order).
    void onModal(int templateId, WindowScript script);
    // Runs `action` in the first pump at or after `milliseconds` on the virtual clock.
    void at(std::int64_t milliseconds, std::function<void()> action);
    // Runs `action` in the next pump.
    void atNextPump(std::function<void()> action);
    // Whether the desktop has an application for what the windows open (a browser, say): without one,
    // openWithShell records the target and answers false. It has one at first.
    void setCanOpen(bool canOpen) { canOpen_ = canOpen; }

    // Opens a window without a modal run, for a test that acts on it directly. The window is built and
    // its onInit has run.
    std::unique_ptr<HeadlessWindow> open(Dialog& dialog, const DialogTemplate& dialogTemplate);

    // --- Records
    const std::vector<MessageRecord>& messages() const { return messages_; }
    const std::vector<std::string>& openedWithShell() const { return opened_; }
    const std::vector<std::string>& folderBrowserTitles() const { return browserTitles_; }
    // The template ids of the modal runs, in the order they started.
    const std::vector<int>& modalRuns() const { return modalRuns_; }
    std::int64_t now() const { return now_; }
    int pumps() const { return pumps_; }
    bool waitCursorShown() const { return waitCursorDepth_ > 0; }
    int waitCursorBegins() const { return waitCursorBegins_; }
    bool keptAwake() const { return keepAwakeDepth_ > 0; }
    int keepAwakeBegins() const { return keepAwakeBegins_; }
    // Scripted answers and window scripts that were never used.
    std::size_t unusedScripts() const;

  private:
    struct Scheduled {
        std::int64_t due = 0;
        std::function<void()> action;
    };

    std::deque<MessageAnswer> answers_;
    std::deque<std::optional<std::string>> folders_;
    std::map<int, std::deque<WindowScript>> windowScripts_;
    std::vector<Scheduled> scheduled_;
    std::mutex postedLock_;
    std::vector<std::function<void()>> posted_;  // guarded by postedLock_
    std::vector<MessageRecord> messages_;
    std::vector<std::string> opened_;
    std::vector<std::string> browserTitles_;
    std::vector<int> modalRuns_;
    std::int64_t now_ = 0;
    int pumps_ = 0;
    int waitCursorDepth_ = 0;
    int waitCursorBegins_ = 0;
    int keepAwakeDepth_ = 0;
    int keepAwakeBegins_ = 0;
    bool canOpen_ = true;
};

}  // namespace ui::headless
