// One suite of control-layer tests, run against every backend.
//
// Each test program links the suite and one backend adapter, which defines contract::backend(). The
// adapter runs a test body inside the modal run of a real window of its backend and acts on it as a user
// would, so the headless backend cannot drift from the windows the program shows.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls/dialog.h"

namespace contract {

// What a user does to a window.
class UserActions {
  public:
    virtual ~UserActions() = default;
    // Whether the user can act on the control at all (it is shown and enabled).
    virtual bool canReach(int id) = 0;
    // Every action below requires a reachable control and throws std::logic_error otherwise.
    virtual void click(int id) = 0;
    virtual void chooseItem(int comboId, int index) = 0;
    virtual void clickItem(int listId, int index) = 0;
    virtual void ctrlClickItem(int listId, int index) = 0;
    virtual void doubleClickItem(int listId, int index) = 0;
    virtual void type(int editId, std::string_view characters) = 0;
    // Types characters as the keyboard delivers them, in Unicode, whether cp1250 holds them or not.
    virtual void typeUnicode(int editId, std::u32string_view characters) = 0;
    virtual void pressKey(int id, const ui::KeyEvent& key) = 0;
    virtual void pressEnter() = 0;
    virtual void pressEscape() = 0;
    virtual void pressF1() = 0;
    virtual void pressCloseBox() = 0;
    virtual void chooseSystemMenuItem(int command) = 0;
};

struct RecordedBox {
    std::string text;
    std::string caption;
    ui::MessageIcon icon = ui::MessageIcon::None;
    bool yesNo = false;
};

class Backend {
  public:
    using Body = std::function<void(ui::DialogHost&, UserActions&)>;

    virtual ~Backend() = default;
    virtual const char* name() const = 0;

    // Forgets everything of the previous test: scripts, answers, recorded boxes.
    virtual void beginTest() = 0;
    virtual ui::DesktopServices& services() = 0;

    // Opens a window of `dialogTemplate` for `dialog` modally, runs `body` once the window runs, and
    // returns the run's result. A window still open after the body is ended with 0. A window that ends
    // in its onInit never runs the body.
    virtual int run(ui::Dialog& dialog, const ui::DialogTemplate& dialogTemplate, Body body) = 0;
    // The body for the next window of this template that opens modally inside a run.
    virtual void scriptNextWindow(int templateId, Body body) = 0;
    // The answer to the next Yes/No message box.
    virtual void answerNextQuestion(ui::MessageAnswer answer) = 0;
    // The message boxes shown so far.
    virtual std::vector<RecordedBox> messageBoxes() = 0;
    // Lets paint requests and other deferred work of the windows happen.
    virtual void settle() = 0;
};

Backend& backend();

}  // namespace contract
