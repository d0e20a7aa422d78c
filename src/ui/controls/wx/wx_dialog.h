// A window of the product's backend: a toolkit dialog built from a template, hosting one Dialog.
//
// The dialog font is set before anything is measured, so dialog units convert with the font the window
// shows; every control gets exactly the size of its template (the toolkit's own controls would be
// taller). Enter, Esc and F1 reach the window through the key hook, whichever control has the focus.
// The system menu's items of the window appear in a pop-up menu opened with a right click on the
// window's background, Shift+F10, the menu key or Alt+Space.
//
// UI thread only. Handlers are not called before run() attaches the Dialog nor after it returns.
#pragma once

#include <memory>
#include <vector>

#include <wx/dialog.h>

#include "ui/controls/dialog.h"

namespace ui::wxgui {

class WxDesktop;

class WxDialog final : public wxDialog, public DialogHost {
  public:
    WxDialog(wxWindow* parent, WxDesktop& desktop, Dialog& dialog, const DialogTemplate& dialogTemplate);
    ~WxDialog() override;

    // Runs onInit, then the modal loop unless the window already ended; returns the result.
    int run();

    // --- DialogHost
    Control* findControl(int id) override;
    const DialogTemplate& dialogTemplate() const override { return template_; }
    DesktopServices& services() override;
    void setTitle(std::string_view title) override;
    std::string title() const override;
    void setIcon(const Picture& icon) override;
    void appendSystemMenuSeparator() override;
    void appendSystemMenuItem(int command, std::string_view text) override;
    Rect windowRect() const override;
    void moveWindow(const Rect& rect) override;
    Size clientSize() const override;
    Rect dialogUnitsToPixels(const Rect& units) const override;
    int pixelScale() const override;
    void redraw() override;
    void show(bool visible) override;
    bool isVisible() const override;
    WindowState state() const override;
    void end(int result) override;
    bool isEnding() const override { return ending_; }
    void acceptDroppedFiles() override;

    // --- For the controls: what the user did. Dropped once the window is ending (text changes and
    // tree selections, which the program causes too, still go through while the Dialog is attached).
    void dispatchClick(int id);
    void dispatchCommand(int id);
    void dispatchSelectionChange(int id);
    void dispatchDoubleClick(int id);
    void dispatchTextChange(int id);
    bool dispatchKeyDown(int id, const KeyEvent& key);
    // Enter that a control took for itself before the window saw it (a list box's activation).
    void dispatchEnter();

    // The control that has the keyboard focus; null when none of this window's has it.
    Control* focusedControl();

    // The items of the system menu (command 0 for a separator), for tests.
    struct MenuItem {
        int command;
        wxString text;
    };
    const std::vector<MenuItem>& systemMenu() const { return systemMenu_; }
    // Chooses an item of the system menu, as the pop-up menu does.
    void chooseSystemCommand(int command);

  private:
    bool accepting() const { return attached_ && !ending_; }
    void onCharHook(wxKeyEvent& event);
    void onClose(wxCloseEvent& event);
    void onPaint(wxPaintEvent& event);
    void onIconize(wxIconizeEvent& event);
    void onContextMenu(wxContextMenuEvent& event);
    void onDropFiles(wxDropFilesEvent& event);
    void pressEnter();
    void showSystemMenu();
    void detach();

    WxDesktop& desktop_;
    Dialog& dialog_;
    DialogTemplate template_;
    wxSize base_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<MenuItem> systemMenu_;
    bool attached_ = false;
    bool ending_ = false;
    int result_ = 0;
    WindowState state_ = WindowState::Normal;
};

}  // namespace ui::wxgui
