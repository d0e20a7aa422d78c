// Running tests on real windows of the product's backend.
//
// A test program starts the toolkit once (an X display is needed; scripts/test provides one), then every
// window that opens modally takes the next script queued for its template, run from inside its modal
// loop; message boxes are answered from queued answers and recorded instead of being shown. Toolkit
// assertions fail the running test and the toolkit's log goes to stderr, so nothing ever waits for a
// person.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "contract_backend.h"
#include "ui/controls/wx/wx_desktop.h"
#include "ui/controls/wx/wx_dialog.h"

namespace wxtest {

// Starts the toolkit; false without a display.
bool startToolkit(int& argc, char** argv);
void stopToolkit();

// Runs the test program's tests inside the toolkit: the main of a windowed test program. Without a
// display every test is skipped.
int runAllTests(int argc, char** argv);

// Acts on a real window the way a user would, through the toolkit's events.
class WxActions final : public contract::UserActions {
  public:
    explicit WxActions(ui::wxgui::WxDialog& window) : window_(window) {}
    bool canReach(int id) override;
    void click(int id) override;
    void chooseItem(int comboId, int index) override;
    void clickItem(int listId, int index) override;
    void ctrlClickItem(int listId, int index) override;
    void doubleClickItem(int listId, int index) override;
    void type(int editId, std::string_view characters) override;
    void typeUnicode(int editId, std::u32string_view characters) override;
    void pressKey(int id, const ui::KeyEvent& key) override;
    void pressEnter() override;
    void pressEscape() override;
    void pressF1() override;
    void pressCloseBox() override;
    void chooseSystemMenuItem(int command) override;

  private:
    wxWindow& reachable(int id, const char* action);
    void hook(int keyCode);
    ui::wxgui::WxDialog& window_;
};

// The windows and message boxes of the tests, scripted.
class ScriptedWindows {
  public:
    using Script = contract::Backend::Body;

    static ScriptedWindows& instance();

    void reset();
    void scriptNextWindow(int templateId, Script script);
    void answerNextQuestion(ui::MessageAnswer answer) { answers_.push_back(answer); }
    const std::vector<contract::RecordedBox>& boxes() const { return boxes_; }

    // Called by the toolkit's modal hook.
    int enter(wxDialog* dialog);

  private:
    struct Pending {
        int templateId;
        Script script;
    };
    std::vector<Pending> scripts_;
    std::vector<ui::MessageAnswer> answers_;
    std::vector<contract::RecordedBox> boxes_;
};

// Lets the toolkit dispatch what is pending (paints, deferred calls) for a moment.
void settle();

// Dispatches until `done` holds, for events that the X server sends back later (simulated keys and
// clicks); false when it still does not hold after a generous safety limit.
bool settleUntil(const std::function<bool()>& done);

}  // namespace wxtest
