#include "ui/controls/headless/headless_window.h"

#include <algorithm>

#include "text/cp1250.h"
#include "ui/controls/headless/headless_desktop.h"

namespace ui::headless {

HeadlessWindow::HeadlessWindow(HeadlessDesktop& desktop, Dialog& dialog, const DialogTemplate& dialogTemplate)
    : desktop_(desktop), dialog_(dialog), template_(dialogTemplate), title_(dialogTemplate.title) {
    const Size client = ui::dialogUnitsToPixels(template_.units, kStandardDialogBase);
    windowRect_ = {100, 100, client.width, client.height};
    const Font dialogFont{template_.fontFace, template_.fontPoints, Font::kNormal, false};
    for (const ControlTemplate& control : template_.controls) {
        controls_.push_back(makeHeadlessControl(
            *this, control, dialogUnitsToPixels(visibleDialogUnits(control)), dialogFont));
    }
    // The first control that can take the focus has it, as in a dialog that has just opened.
    for (const ControlTemplate& control : template_.controls) {
        const bool focusable = control.kind != ControlKind::Label && control.kind != ControlKind::Frame &&
                               control.kind != ControlKind::ProgressBar;
        if (focusable && control.id != kNoId && !control.has(kHidden) && !control.has(kDisabled)) {
            focusedId_ = control.id;
            break;
        }
    }
}

HeadlessWindow::~HeadlessWindow() {
    // A closing window deletes its tree items, reporting each to the tree's owner.
    for (auto& control : controls_) {
        if (auto* tree = dynamic_cast<HeadlessTreeView*>(control.get()))
            tree->destroy();
    }
    dialog_.attachHost(nullptr);
}

void HeadlessWindow::start() {
    dialog_.attachHost(this);
    dialog_.onInit();
}

Control* HeadlessWindow::findControl(int id) {
    return findControlById(controls_, id);
}

DesktopServices& HeadlessWindow::services() {
    return desktop_;
}

void HeadlessWindow::appendSystemMenuItem(int command, std::string_view text) {
    systemMenu_.push_back({command, std::string(text)});
}

Rect HeadlessWindow::dialogUnitsToPixels(const Rect& units) const {
    return ui::dialogUnitsToPixels(units, kStandardDialogBase);
}

void HeadlessWindow::redraw() {
    paint();
    for (auto& control : controls_) {
        if (auto* button = dynamic_cast<HeadlessButton*>(control.get()))
            button->redraw();
    }
}

void HeadlessWindow::paint() {
    RecordingCanvas canvas(clientSize());
    dialog_.onPaint(canvas);
    lastPainting_ = canvas.drawn();
}

void HeadlessWindow::end(int result) {
    if (ending_)
        return;
    ending_ = true;
    result_ = result;
}

void HeadlessWindow::requireRunning(const char* action) const {
    if (ending_)
        throw HeadlessScriptError(std::string(action) + ": dialog " + std::to_string(template_.id) +
                                  " has already ended");
}

template <class Kind>
Kind& HeadlessWindow::reachable(int id, const char* action) {
    requireRunning(action);
    Control* found = findControl(id);
    auto* typed = dynamic_cast<Kind*>(found);
    if (typed == nullptr)
        throw HeadlessScriptError(std::string(action) + ": dialog " + std::to_string(template_.id) +
                                  " has no such control " + std::to_string(id));
    if (!typed->isVisible() || !typed->isEnabled())
        throw HeadlessScriptError(std::string(action) + ": control " + std::to_string(id) +
                                  (typed->isVisible() ? " is disabled" : " is hidden"));
    return *typed;
}

void HeadlessWindow::click(int id) {
    Control& control = reachable<Control>(id, "click");
    if (isPushButton(control)) {
        focusedId_ = id;
        if (id == kIdOk)
            dialog_.onOk();
        else if (id == kIdCancel)
            dialog_.onCancel();
        else
            dialog_.onCommand(id);
    } else if (auto* box = dynamic_cast<CheckBox*>(&control)) {
        focusedId_ = id;
        box->setChecked(!box->isChecked());
        dialog_.onCommand(id);
    } else if (control.kind() == ControlKind::Label &&
               static_cast<HeadlessLabel&>(control).controlTemplate().has(kNotify)) {
        dialog_.onCommand(id);
    } else {
        throw HeadlessScriptError("click: control " + std::to_string(id) + " does not take clicks");
    }
}

void HeadlessWindow::chooseItem(int comboId, int index) {
    auto& combo = reachable<ComboBox>(comboId, "chooseItem");
    if (index < 0 || index >= combo.count())
        throw HeadlessScriptError("chooseItem: combo box " + std::to_string(comboId) + " has no item " +
                                  std::to_string(index));
    focusedId_ = comboId;
    combo.select(index);
    dialog_.onSelectionChange(comboId);
}

void HeadlessWindow::clickItem(int listId, int index) {
    auto& list = reachable<ListBox>(listId, "clickItem");
    if (index < 0 || index >= list.count())
        throw HeadlessScriptError("clickItem: list box " + std::to_string(listId) + " has no item " +
                                  std::to_string(index));
    focusedId_ = listId;
    for (int selected : list.selectedItems())
        list.setSelected(selected, false);
    list.setSelected(index, true);
    list.setCaret(index);
    dialog_.onSelectionChange(listId);
}

void HeadlessWindow::ctrlClickItem(int listId, int index) {
    auto& list = reachable<ListBox>(listId, "ctrlClickItem");
    if (index < 0 || index >= list.count())
        throw HeadlessScriptError("ctrlClickItem: list box " + std::to_string(listId) + " has no item " +
                                  std::to_string(index));
    focusedId_ = listId;
    list.setSelected(index, !list.isSelected(index));
    list.setCaret(index);
    dialog_.onSelectionChange(listId);
}

void HeadlessWindow::doubleClickItem(int listId, int index) {
    clickItem(listId, index);
    if (!ending_)
        dialog_.onDoubleClick(listId);
}

void HeadlessWindow::type(int editId, std::string_view characters) {
    auto& edit = reachable<HeadlessEdit>(editId, "type");
    focusedId_ = editId;
    for (char c : characters) {
        if (ending_)
            return;
        edit.typeCharacter(c);
    }
}

void HeadlessWindow::typeUnicode(int editId, std::u32string_view characters) {
    auto& edit = reachable<HeadlessEdit>(editId, "typeUnicode");
    focusedId_ = editId;
    for (char32_t character : characters) {
        if (ending_)
            return;
        const int byte = cp1250::byteOf(character);
        if (byte >= 0)
            edit.typeCharacter(static_cast<char>(static_cast<unsigned char>(byte)));
    }
}

void HeadlessWindow::eraseText(int editId) {
    auto& edit = reachable<HeadlessEdit>(editId, "eraseText");
    focusedId_ = editId;
    edit.erase();
}

void HeadlessWindow::pressKey(int id, const KeyEvent& key) {
    reachable<Control>(id, "pressKey");
    focusedId_ = id;
    dialog_.onKeyDown(id, key);
}

void HeadlessWindow::pressEnter() {
    requireRunning("pressEnter");
    const int target = enterTarget(*this, findControl(focusedId_));
    if (target != kNoId)
        click(target);
    else
        dialog_.onOk();
}

void HeadlessWindow::pressEscape() {
    requireRunning("pressEscape");
    dialog_.onCancel();
}

void HeadlessWindow::pressCloseBox() {
    requireRunning("pressCloseBox");
    if (!template_.has(kSystemMenu))
        throw HeadlessScriptError("pressCloseBox: dialog " + std::to_string(template_.id) +
                                  " has no close box");
    dialog_.onCancel();
}

void HeadlessWindow::dropFiles(const std::vector<std::filesystem::path>& items) {
    requireRunning("dropFiles");
    if (!acceptsDrops_)
        throw HeadlessScriptError("the window takes no dropped files");
    dialog_.onDropFiles(droppedFiles(items));
}

void HeadlessWindow::pressF1() {
    requireRunning("pressF1");
    dialog_.onHelp();
}

void HeadlessWindow::chooseSystemMenuItem(int command) {
    requireRunning("chooseSystemMenuItem");
    const bool present =
        std::any_of(systemMenu_.begin(), systemMenu_.end(),
                    [command](const SystemMenuItem& item) { return item.command == command; });
    if (command == 0 || !present)
        throw HeadlessScriptError("chooseSystemMenuItem: the system menu has no command " +
                                  std::to_string(command));
    dialog_.onSystemCommand(command);
}

void HeadlessWindow::minimise() {
    requireRunning("minimise");
    state_ = WindowState::Minimised;
    dialog_.onStateChange(state_);
}

void HeadlessWindow::restore() {
    requireRunning("restore");
    state_ = WindowState::Normal;
    dialog_.onStateChange(state_);
}

void HeadlessWindow::clickTreeItem(int treeId, TreeItem item) {
    auto& tree = reachable<TreeView>(treeId, "clickTreeItem");
    focusedId_ = treeId;
    tree.select(item);
}

void HeadlessWindow::toggleTreeItem(int treeId, TreeItem item) {
    auto& tree = reachable<TreeView>(treeId, "toggleTreeItem");
    if (tree.isExpanded(item))
        tree.collapse(item);
    else
        tree.expand(item);
}

void HeadlessWindow::reportTextChange(int id) {
    if (dialog_.hasHost())
        dialog_.onTextChange(id);
}

void HeadlessWindow::reportSelectionChange(int id) {
    if (dialog_.hasHost())
        dialog_.onSelectionChange(id);
}

}  // namespace ui::headless
