// The controls of the product's backend: the control interfaces over toolkit widgets.
//
// Each wrapper belongs to one WxDialog and reports what the user does to the widget through it. The
// widgets belong to the toolkit's window; the wrappers only point at them and never outlive the window.
#pragma once

#include <memory>
#include <string>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>

#include "ui/controls/controls.h"
#include "ui/controls/key_event.h"
#include "ui/controls/wx/wx_widgets.h"

namespace ui::wxgui {

class WxDialog;

// Builds the control of a template entry on `dialog` at `pixels`.
std::unique_ptr<Control> makeWxControl(WxDialog& dialog, const ControlTemplate& control, const wxRect& pixels,
                                       const Font& dialogFont);

// The toolkit's widget behind a control; null for controls the window draws itself (frames).
wxWindow* widgetOf(Control& control);

// The window of a tree view is closing: reports every item deleted, then tells the listener and lets
// it go.
void destroyTree(TreeView& tree);

// Maps a toolkit key event to the windows' key event; whether the key was held before is the control's
// to tell (previouslyDown is left false).
KeyEvent toKeyEvent(const wxKeyEvent& event);

}  // namespace ui::wxgui
