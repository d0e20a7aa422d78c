// A window of the tests' backend: the host of one Dialog, and the hands of the test that uses it.
//
// The host side is the DialogHost contract. The test side acts as a user would: every action checks
// that the control exists, is shown and enabled and that the window is still running, then reports to
// the window's handlers exactly what the real window would report. A window that was asked to end takes
// no further action. Trees report every item as deleted when the window is destroyed, so the Dialog
// must outlive its window.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/controls/dialog.h"
#include "ui/controls/headless/headless_controls.h"
#include "ui/controls/headless/recording_canvas.h"

namespace ui::headless {

class HeadlessDesktop;

// A script did not fit what the windows did: an unexpected message box, a window left open, an action
// on a control that the user could not reach.
class HeadlessScriptError : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

struct SystemMenuItem {
    int command = 0;  // 0 for a separator
    std::string text;
};

class HeadlessWindow final : public DialogHost {
  public:
    // Builds the window; the caller then calls start().
    HeadlessWindow(HeadlessDesktop& desktop, Dialog& dialog, const DialogTemplate& dialogTemplate);
    ~HeadlessWindow() override;
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    // Attaches the dialog and runs its onInit.
    void start();

    // --- DialogHost
    Control* findControl(int id) override;
    const DialogTemplate& dialogTemplate() const override { return template_; }
    DesktopServices& services() override;
    void setTitle(std::string_view title) override { title_ = title; }
    std::string title() const override { return title_; }
    void setIcon(const Picture& icon) override { icon_ = icon; }
    void appendSystemMenuSeparator() override { systemMenu_.push_back({0, {}}); }
    void appendSystemMenuItem(int command, std::string_view text) override;
    Rect windowRect() const override { return windowRect_; }
    void moveWindow(const Rect& rect) override { windowRect_ = rect; }
    Size clientSize() const override { return {windowRect_.width, windowRect_.height}; }
    Rect dialogUnitsToPixels(const Rect& units) const override;
    int pixelScale() const override { return pixelScale_; }
    // The screen's device pixels per pixel of the window; 1 at first.
    void setPixelScale(int scale) { pixelScale_ = scale; }
    void redraw() override;
    void show(bool visible) override { visible_ = visible; }
    bool isVisible() const override { return visible_; }
    WindowState state() const override { return state_; }
    void end(int result) override;
    bool isEnding() const override { return ending_; }
    void acceptDroppedFiles() override { acceptsDrops_ = true; }

    // --- What the test sees
    Dialog& dialog() { return dialog_; }
    int result() const { return result_; }
    const Picture& icon() const { return icon_; }
    const std::vector<SystemMenuItem>& systemMenu() const { return systemMenu_; }
    // What onPaint drew at the last redraw or paint().
    const std::vector<DrawnPicture>& lastPainting() const { return lastPainting_; }
    int focusedId() const { return focusedId_; }

    // --- What the user does
    // Clicks a button (OK and Cancel go to onOk and onCancel), toggles a check box, or clicks a
    // notifying label. The clicked button or check box takes the focus.
    void click(int id);
    // Chooses an item of a drop-down list.
    void chooseItem(int comboId, int index);
    // Clicks an item of a list box: it becomes the only selected item and the caret.
    void clickItem(int listId, int index);
    // Ctrl-clicks an item: its selection toggles, it becomes the caret.
    void ctrlClickItem(int listId, int index);
    // Double-clicks an item: the click, then the double click.
    void doubleClickItem(int listId, int index);
    // Types the characters one by one (each taken one reports a text change).
    void type(int editId, std::string_view characters);
    // Types characters as the desktop delivers them, in Unicode: one that cp1250 cannot hold is refused
    // as the product's edits refuse it (nothing changes); the others are typed as type() types them.
    void typeUnicode(int editId, std::u32string_view characters);
    // Deletes the whole text of an edit (one text change when it was not empty).
    void eraseText(int editId);
    // A key goes down in a control, which takes the focus.
    void pressKey(int id, const KeyEvent& key);
    // Enter: clicks the focused push button, else the default button, else onOk.
    void pressEnter();
    void pressEscape();
    // The close box; only windows with a system menu have one.
    void pressCloseBox();
    void pressF1();
    void chooseSystemMenuItem(int command);
    void minimise();
    void restore();
    // Clicks a tree item: it is selected.
    void clickTreeItem(int treeId, TreeItem item);
    // Clicks an item's expand button: it expands or collapses, if the tree's owner agrees.
    void toggleTreeItem(int treeId, TreeItem item);
    // Paints the window now, as the desktop does when it uncovers it.
    void paint();
    // Drops files and folders from the file manager on the window, which must accept drops.
    void dropFiles(const std::vector<std::filesystem::path>& items);
    bool acceptsDroppedFiles() const { return acceptsDrops_; }

    // --- For the controls
    void setFocusTo(int id) { focusedId_ = id; }
    void reportTextChange(int id);
    void reportSelectionChange(int id);

  private:
    template <class Kind>
    Kind& reachable(int id, const char* action);
    void requireRunning(const char* action) const;

    HeadlessDesktop& desktop_;
    Dialog& dialog_;
    DialogTemplate template_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::string title_;
    Picture icon_;
    std::vector<SystemMenuItem> systemMenu_;
    Rect windowRect_;
    bool visible_ = true;
    WindowState state_ = WindowState::Normal;
    bool ending_ = false;
    bool acceptsDrops_ = false;
    int pixelScale_ = 1;
    int result_ = 0;
    int focusedId_ = kNoId;
    std::vector<DrawnPicture> lastPainting_;
};

}  // namespace ui::headless
