// Dialog templates: every window of the program as data.
//
// A template lists the controls of one window: id, kind, position and size in dialog units, style flags
// and the initial text (cp1250). Both backends build their windows from the same table, so a test can
// read the layout of any window without opening it.
#pragma once

#include <string>
#include <vector>

#include "ui/controls/geometry.h"

namespace ui {

// The ids of the standard OK and Cancel commands; controls without an id of their own use kNoId.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kNoId = -1;

enum class ControlKind {
    Label,
    Edit,
    PasswordEdit,
    DigitsEdit,
    CheckBox,
    PushButton,
    DefaultButton,
    DropDownList,
    ListBox,
    TreeView,
    ProgressBar,
    Frame,
};

const char* controlKindName(ControlKind kind);

// Style flags of a control; each applies to the kinds named.
enum ControlStyle : unsigned {
    kStyleNone = 0,
    kHidden = 1u << 0,             // any: not shown at start
    kDisabled = 1u << 1,           // any: disabled at start
    kAlignRight = 1u << 2,         // labels
    kAlignCenter = 1u << 3,        // labels
    kBordered = 1u << 4,           // labels: a thin frame around the text
    kNotify = 1u << 5,             // labels: a click is a command
    kSorted = 1u << 6,             // list boxes: items are kept in collation order
    kExtendedSelection = 1u << 7,  // list boxes: several items may be selected
    kHorizontalScroll = 1u << 8,   // list boxes
    kReadOnly = 1u << 9,           // edits
    kBorderless = 1u << 10,        // edits
    kTreeLines = 1u << 11,         // tree views: expand buttons and lines
    kVerticalScroll = 1u << 12,    // labels: a text taller than the label scrolls instead of being cut
};

struct ControlTemplate {
    int id = kNoId;
    ControlKind kind = ControlKind::Label;
    // Position and size in dialog units. For a drop-down list the height is that of the open list; the
    // closed control is one line high (see visibleDialogUnits).
    Rect units;
    unsigned style = kStyleNone;
    std::string text;

    bool has(ControlStyle flag) const { return (style & flag) != 0; }
};

// Window style flags.
enum DialogStyle : unsigned {
    kDialogPlain = 0,
    kSystemMenu = 1u << 0,   // a system menu and a close box
    kMinimizeBox = 1u << 1,  // the window can be minimised
};

struct DialogTemplate {
    int id = 0;
    std::string title;
    // The client area in dialog units.
    Size units;
    unsigned style = kDialogPlain;
    // The dialog font, which also decides the size of a dialog unit.
    std::string fontFace = "MS Shell Dlg";
    int fontPoints = 8;
    std::vector<ControlTemplate> controls;

    bool has(DialogStyle flag) const { return (style & flag) != 0; }
    // The control with this id; null when there is none.
    const ControlTemplate* find(int id) const;
};

// The height of a closed drop-down list, in dialog units.
inline constexpr int kDropDownClosedHeight = 14;

// The rectangle a control takes on the screen, in dialog units: its template rectangle, except that a
// drop-down list is one line high.
Rect visibleDialogUnits(const ControlTemplate& control);

}  // namespace ui
