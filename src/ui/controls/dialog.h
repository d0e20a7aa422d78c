// A window of the program, written once against the control layer.
//
// A window class derives from Dialog and overrides the handlers it needs; the backend builds the window
// from a DialogTemplate, attaches a DialogHost and calls the handlers for what happens to the window.
// Handlers run on the UI thread, also from inside DesktopServices::pumpEvents. The host is valid from
// onInit until the run ends; the window class itself must outlive the run.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "image/picture.h"
#include "ui/controls/canvas.h"
#include "ui/controls/controls.h"
#include "ui/controls/desktop_services.h"
#include "ui/controls/dialog_template.h"
#include "ui/controls/geometry.h"
#include "ui/controls/key_event.h"

namespace ui {

enum class WindowState { Normal, Minimised, Maximised };

// Files and folders the user dropped on a window from the file manager (or named on the command line):
// their cp1250 paths, in the order given, and how many more were given whose names cp1250 cannot hold.
struct DroppedFiles {
    std::vector<std::string> paths;
    std::size_t unnamable = 0;
};

// The dropped items of file-system paths (absolute, as file managers give them).
DroppedFiles droppedFiles(const std::vector<std::filesystem::path>& items);

// The window as the window class sees it: its controls by id, the window itself and the desktop.
class DialogHost {
  public:
    virtual ~DialogHost() = default;

    // The control with this id; null when the template has none.
    virtual Control* findControl(int id) = 0;

    // The control with this id, of the kind asked for. A missing id or another kind is a programming
    // error and throws std::logic_error.
    Control& control(int id);
    Label& label(int id) { return as<Label>(id); }
    Edit& edit(int id) { return as<Edit>(id); }
    Button& button(int id) { return as<Button>(id); }
    CheckBox& check(int id) { return as<CheckBox>(id); }
    ComboBox& combo(int id) { return as<ComboBox>(id); }
    ListBox& list(int id) { return as<ListBox>(id); }
    TreeView& tree(int id) { return as<TreeView>(id); }
    ProgressBar& progress(int id) { return as<ProgressBar>(id); }

    virtual const DialogTemplate& dialogTemplate() const = 0;
    virtual DesktopServices& services() = 0;

    virtual void setTitle(std::string_view title) = 0;
    virtual std::string title() const = 0;
    // The window's icon, in the title bar and the task bar.
    virtual void setIcon(const Picture& icon) = 0;

    // Items of the window's system menu, after the standard ones. Choosing one calls onSystemCommand.
    virtual void appendSystemMenuSeparator() = 0;
    virtual void appendSystemMenuItem(int command, std::string_view text) = 0;

    // The window's outer rectangle on the screen, in pixels.
    virtual Rect windowRect() const = 0;
    virtual void moveWindow(const Rect& rect) = 0;
    virtual Size clientSize() const = 0;
    // Dialog units of this window's font in pixels of its client area.
    virtual Rect dialogUnitsToPixels(const Rect& units) const = 0;
    // Device pixels of the screen per pixel of the window (2 under GDK_SCALE=2): pictures made this many
    // times larger show every pixel of theirs (Canvas::drawPictureAtScale).
    virtual int pixelScale() const = 0;

    // Repaints the window now: onPaint and the painters of its buttons.
    virtual void redraw() = 0;

    virtual void show(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual WindowState state() const = 0;

    // Ends the modal run with `result` once the current handler returns to the run's loop. The window
    // takes no user action after this.
    virtual void end(int result) = 0;
    virtual bool isEnding() const = 0;

    // Lets the user drop files and folders on the window, anywhere on it; each drop calls onDropFiles.
    virtual void acceptDroppedFiles() = 0;

  private:
    template <class Kind>
    Kind& as(int id) {
        Control& found = control(id);
        if (auto* typed = dynamic_cast<Kind*>(&found))
            return *typed;
        throw std::logic_error("control " + std::to_string(id) + " of dialog " +
                               std::to_string(dialogTemplate().id) + " is a " +
                               controlKindName(found.kind()));
    }
};

// The push button that Enter clicks in a window: the focused push button, else the first shown and
// enabled default button; kNoId when there is none, and Enter is the window's OK action.
int enterTarget(DialogHost& host, const Control* focused);

// The control with this id among a window's controls; null for kNoId or an id none of them has. The
// backends keep their controls this way and answer DialogHost::findControl with it.
Control* findControlById(const std::vector<std::unique_ptr<Control>>& controls, int id);

// Whether the control is a push button (plain or default).
bool isPushButton(const Control& control);

class Dialog {
  public:
    virtual ~Dialog() = default;

    // The window was built and is not shown yet; controls hold their template state.
    virtual void onInit() {}
    // A button was clicked (other than OK and Cancel), a check box toggled, a notifying label clicked.
    virtual void onCommand(int /*id*/) {}
    // The user changed the selection of a list box, combo box or tree view (a tree also reports the
    // program's selections).
    virtual void onSelectionChange(int /*id*/) {}
    virtual void onDoubleClick(int /*id*/) {}
    // An edit's text changed, by the user or by the program.
    virtual void onTextChange(int /*id*/) {}
    // A key went down in a control; true keeps it from the control's own handling.
    virtual bool onKeyDown(int /*id*/, const KeyEvent& /*key*/) { return false; }
    // Enter outside a push button, or the OK button. Ends the run with kIdOk unless overridden.
    virtual void onOk() { host().end(kIdOk); }
    // Esc, the Cancel button, and the close box. Ends the run with kIdCancel unless overridden.
    virtual void onCancel() { host().end(kIdCancel); }
    // The window's client area needs painting; controls are painted over it.
    virtual void onPaint(Canvas& /*canvas*/) {}
    // The window was minimised, restored or maximised.
    virtual void onStateChange(WindowState /*state*/) {}
    // An item of the system menu; false leaves it to the standard handling.
    virtual bool onSystemCommand(int /*command*/) { return false; }
    // F1.
    virtual void onHelp() {}
    // Files or folders were dropped on a window that accepts them (DialogHost::acceptDroppedFiles).
    virtual void onDropFiles(const DroppedFiles& /*dropped*/) {}

    // Backends only: attaches the window (null detaches it).
    void attachHost(DialogHost* host) { host_ = host; }
    bool hasHost() const { return host_ != nullptr; }

  protected:
    DialogHost& host() {
        if (host_ == nullptr)
            throw std::logic_error("the window is not open");
        return *host_;
    }

  private:
    DialogHost* host_ = nullptr;
};

}  // namespace ui
