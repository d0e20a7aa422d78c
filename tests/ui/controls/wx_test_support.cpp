#include "wx_test_support.h"

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include <gtest/gtest.h>
// The generic message box needs the message box base declared first.
#include <wx/msgdlg.h>

#include <wx/generic/msgdlgg.h>

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/init.h>
#include <wx/listbox.h>
#include <wx/log.h>
#include <wx/modalhook.h>
#include <wx/textctrl.h>

#include "text/cp1250.h"
#include "ui/controls/wx/wx_application.h"
#include "ui/controls/wx/wx_controls.h"
#include "ui/controls/wx/wx_text.h"
#include "ui/controls/wx/wx_widgets.h"

namespace wxtest {

namespace {

using ui::wxgui::WxDialog;

class Hook final : public wxModalDialogHook {
  public:
    int Enter(wxDialog* dialog) override { return ScriptedWindows::instance().enter(dialog); }
    void Exit(wxDialog* /*dialog*/) override {}
};

Hook& hook() {
    static Hook instance;
    return instance;
}

void failOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
    ADD_FAILURE() << "toolkit assertion " << cond.utf8_string() << " in " << func.utf8_string() << " at "
                  << file.utf8_string() << ":" << line << ": " << msg.utf8_string();
}

ui::MessageIcon iconOf(long style) {
    if (style & wxICON_EXCLAMATION)
        return ui::MessageIcon::Exclamation;
    if (style & wxICON_QUESTION)
        return ui::MessageIcon::Question;
    if (style & wxICON_INFORMATION)
        return ui::MessageIcon::Information;
    return ui::MessageIcon::None;
}

}  // namespace

bool startToolkit(int& argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
        return false;
    ui::wxgui::useCzechLocale();
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv))
        return false;
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxSetAssertHandler(failOnAssert);
    hook().Register();
    return true;
}

void stopToolkit() {
    hook().Unregister();
    wxEntryCleanup();
}

namespace {

// Without a display every windowed test is skipped as it starts: its fixture is built, but neither its
// SetUp nor its body runs, and it is reported as skipped, never as passed.
class SkipWithoutDisplay final : public testing::EmptyTestEventListener {
  public:
    void OnTestStart(const testing::TestInfo&) override { skip(); }

  private:
    static void skip() { GTEST_SKIP() << "no X display: the windowed test did not run"; }
};

}  // namespace

int runAllTests(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();  // ctest lists the cases without a display
    const bool started = startToolkit(argc, argv);
    if (!started)
        testing::UnitTest::GetInstance()->listeners().Append(new SkipWithoutDisplay);
    const int result = RUN_ALL_TESTS();
    if (started)
        stopToolkit();
    return result;
}

void settle() {
    for (int i = 0; i < 20; ++i) {
        while (wxTheApp->Pending())
            wxTheApp->Dispatch();
        wxTheApp->Yield(true);
    }
}

bool settleUntil(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        settle();
    }
    return true;
}

// --- Scripts

ScriptedWindows& ScriptedWindows::instance() {
    static ScriptedWindows windows;
    return windows;
}

void ScriptedWindows::reset() {
    scripts_.clear();
    answers_.clear();
    boxes_.clear();
}

void ScriptedWindows::scriptNextWindow(int templateId, Script script) {
    scripts_.push_back({templateId, std::move(script)});
}

int ScriptedWindows::enter(wxDialog* dialog) {
    if (auto* box = dynamic_cast<wxGenericMessageDialog*>(dialog)) {
        const long style = box->GetMessageDialogStyle();
        const bool yesNo = (style & wxYES_NO) != 0;
        boxes_.push_back({ui::wxgui::fromWx(box->GetMessage()), ui::wxgui::fromWx(box->GetCaption()),
                          iconOf(style), yesNo});
        if (!yesNo)
            return wxID_OK;
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected question: " << box->GetMessage().utf8_string();
            return wxID_NO;
        }
        const ui::MessageAnswer answer = answers_.front();
        answers_.erase(answers_.begin());
        return answer == ui::MessageAnswer::Yes ? wxID_YES : wxID_NO;
    }
    auto* window = dynamic_cast<WxDialog*>(dialog);
    if (window == nullptr) {
        ADD_FAILURE() << "unexpected modal window";
        return wxID_CANCEL;
    }
    const int templateId = window->dialogTemplate().id;
    for (auto pending = scripts_.begin(); pending != scripts_.end(); ++pending) {
        if (pending->templateId != templateId)
            continue;
        Script script = std::move(pending->script);
        scripts_.erase(pending);
        window->CallAfter([window, script = std::move(script)] {
            WxActions actions(*window);
            try {
                script(*window, actions);
            } catch (const std::exception& error) {
                ADD_FAILURE() << "script of window " << window->dialogTemplate().id << ": " << error.what();
            }
            if (!window->isEnding())
                window->end(0);
        });
        return wxID_NONE;
    }
    ADD_FAILURE() << "no script for window " << templateId;
    return wxID_CANCEL;
}

// --- User actions

wxWindow& WxActions::reachable(int id, const char* action) {
    ui::Control* control = window_.findControl(id);
    wxWindow* widget = control == nullptr ? nullptr : ui::wxgui::widgetOf(*control);
    if (widget == nullptr)
        throw std::logic_error(std::string(action) + ": no control " + std::to_string(id));
    if (!widget->IsShown() || !widget->IsEnabled())
        throw std::logic_error(std::string(action) + ": control " + std::to_string(id) +
                               " cannot be reached");
    return *widget;
}

bool WxActions::canReach(int id) {
    ui::Control* control = window_.findControl(id);
    wxWindow* widget = control == nullptr ? nullptr : ui::wxgui::widgetOf(*control);
    return widget != nullptr && widget->IsShown() && widget->IsEnabled();
}

void WxActions::click(int id) {
    wxWindow& widget = reachable(id, "click");
    if (auto* button = dynamic_cast<ui::wxgui::ButtonWidget*>(&widget)) {
        button->click();
    } else if (auto* box = dynamic_cast<wxCheckBox*>(&widget)) {
        box->SetFocus();
        box->SetValue(!box->GetValue());
        wxCommandEvent event(wxEVT_CHECKBOX, id);
        event.SetEventObject(box);
        event.SetInt(box->GetValue() ? 1 : 0);
        box->ProcessWindowEvent(event);
    } else if (auto* label = dynamic_cast<ui::wxgui::LabelWidget*>(&widget)) {
        label->click();
    } else {
        throw std::logic_error("click: control " + std::to_string(id) + " does not take clicks");
    }
}

void WxActions::chooseItem(int comboId, int index) {
    auto& choice = dynamic_cast<wxChoice&>(reachable(comboId, "chooseItem"));
    choice.SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, comboId);
    event.SetEventObject(&choice);
    event.SetInt(index);
    choice.ProcessWindowEvent(event);
}

namespace {

void sendListEvent(wxListBox& list, wxEventType type, int index) {
    wxCommandEvent event(type, list.GetId());
    event.SetEventObject(&list);
    event.SetInt(index);
    list.ProcessWindowEvent(event);
}

}  // namespace

void WxActions::clickItem(int listId, int index) {
    auto& list = dynamic_cast<wxListBox&>(reachable(listId, "clickItem"));
    list.SetFocus();
    list.DeselectAll();
    list.SetSelection(index);
    sendListEvent(list, wxEVT_LISTBOX, index);
}

void WxActions::ctrlClickItem(int listId, int index) {
    auto& list = dynamic_cast<wxListBox&>(reachable(listId, "ctrlClickItem"));
    list.SetFocus();
    if (list.IsSelected(index))
        list.Deselect(index);
    else
        list.SetSelection(index);
    sendListEvent(list, wxEVT_LISTBOX, index);
}

void WxActions::doubleClickItem(int listId, int index) {
    clickItem(listId, index);
    auto& list = dynamic_cast<wxListBox&>(reachable(listId, "doubleClickItem"));
    // The mouse's second press, the activation of the row it causes, the release.
    wxMouseEvent press(wxEVT_LEFT_DCLICK);
    press.SetEventObject(&list);
    list.ProcessWindowEvent(press);
    sendListEvent(list, wxEVT_LISTBOX_DCLICK, index);
    wxMouseEvent release(wxEVT_LEFT_UP);
    release.SetEventObject(&list);
    list.ProcessWindowEvent(release);
}

void WxActions::type(int editId, std::string_view characters) {
    // The characters are cp1250, as every text of the program.
    std::u32string typed;
    for (char c : characters) {
        const auto byte = static_cast<unsigned char>(c);
        typed += byte < 0x80 ? static_cast<char32_t>(byte) : cp1250::kHighHalf[byte - 0x80];
    }
    typeUnicode(editId, typed);
}

void WxActions::typeUnicode(int editId, std::u32string_view characters) {
    auto& edit = dynamic_cast<wxTextCtrl&>(reachable(editId, "type"));
    edit.SetFocus();
    for (char32_t c : characters) {
        if (window_.isEnding())
            return;
        // A key event as the toolkit makes it: the character, and a key code only within Latin-1.
        wxKeyEvent event(wxEVT_CHAR);
        event.SetEventObject(&edit);
        event.m_keyCode = c < 0x100 ? static_cast<int>(c) : WXK_NONE;
        event.m_uniChar = static_cast<wxChar>(c);
        edit.ProcessWindowEvent(event);
        if (event.GetSkipped()) {
            edit.SetInsertionPointEnd();
            edit.WriteText(wxString(wxUniChar(static_cast<wxChar>(c))));
        }
    }
}

void WxActions::pressKey(int id, const ui::KeyEvent& key) {
    wxWindow& widget = reachable(id, "pressKey");
    widget.SetFocus();
    // A key goes down and stays down, as a held key does; a fresh press lets go of it first.
    wxKeyEvent event(key.previouslyDown ? wxEVT_KEY_DOWN : wxEVT_KEY_UP);
    event.SetEventObject(&widget);
    switch (key.key) {
        case ui::Key::Delete:
            event.m_keyCode = key.extended ? WXK_DELETE : WXK_NUMPAD_DELETE;
            break;
        case ui::Key::Backspace:
            event.m_keyCode = WXK_BACK;
            break;
        case ui::Key::Up:
            event.m_keyCode = WXK_UP;
            break;
        case ui::Key::Down:
            event.m_keyCode = WXK_DOWN;
            break;
        case ui::Key::Space:
            event.m_keyCode = WXK_SPACE;
            break;
        default:
            event.m_keyCode = 'A';
            break;
    }
    if (!key.previouslyDown) {
        widget.ProcessWindowEvent(event);
        event.SetEventType(wxEVT_KEY_DOWN);
    }
    widget.ProcessWindowEvent(event);
}

void WxActions::hook(int keyCode) {
    wxKeyEvent event(wxEVT_CHAR_HOOK);
    event.SetEventObject(&window_);
    event.m_keyCode = keyCode;
    window_.ProcessWindowEvent(event);
}

void WxActions::pressEnter() {
    hook(WXK_RETURN);
}

void WxActions::pressEscape() {
    hook(WXK_ESCAPE);
}

void WxActions::pressF1() {
    hook(WXK_F1);
}

void WxActions::pressCloseBox() {
    if (!window_.dialogTemplate().has(ui::kSystemMenu))
        throw std::logic_error("pressCloseBox: the window has no close box");
    wxCloseEvent event(wxEVT_CLOSE_WINDOW, window_.GetId());
    event.SetEventObject(&window_);
    event.SetCanVeto(true);
    window_.ProcessWindowEvent(event);
}

void WxActions::chooseSystemMenuItem(int command) {
    for (const auto& item : window_.systemMenu()) {
        if (item.command == command && command != 0) {
            window_.chooseSystemCommand(command);
            return;
        }
    }
    throw std::logic_error("chooseSystemMenuItem: no command " + std::to_string(command));
}

}  // namespace wxtest
