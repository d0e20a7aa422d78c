#include "ui/controls/headless/headless_controls.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/collation.h"
#include "ui/controls/headless/headless_window.h"

namespace ui::headless {

template <class Interface>
HeadlessControl<Interface>::HeadlessControl(HeadlessWindow& window, const ControlTemplate& control,
                                            Rect pixels, Font font)
    : window_(window),
      template_(control),
      text_(control.text),
      visible_(!control.has(kHidden)),
      enabled_(!control.has(kDisabled)),
      font_(std::move(font)),
      rect_(pixels) {}

template <class Interface>
void HeadlessControl<Interface>::focus() {
    window_.setFocusTo(template_.id);
}

template <class Interface>
bool HeadlessControl<Interface>::hasFocus() const {
    return template_.id != kNoId && window_.focusedId() == template_.id;
}

template class HeadlessControl<Control>;
template class HeadlessControl<Label>;
template class HeadlessControl<Edit>;
template class HeadlessControl<CheckBox>;
template class HeadlessControl<Button>;
template class HeadlessControl<ComboBox>;
template class HeadlessControl<ListBox>;
template class HeadlessControl<TreeView>;
template class HeadlessControl<ProgressBar>;

// --- Edit

void HeadlessEdit::setText(std::string_view text) {
    text_ = text;
    window_.reportTextChange(id());
}

bool HeadlessEdit::typeCharacter(char c) {
    if (kind() == ControlKind::DigitsEdit && (c < '0' || c > '9'))
        return false;
    if (limit_ > 0 && static_cast<int>(text_.size()) >= limit_)
        return false;
    text_ += c;
    window_.reportTextChange(id());
    return true;
}

void HeadlessEdit::erase() {
    if (text_.empty())
        return;
    text_.clear();
    window_.reportTextChange(id());
}

// --- Button

void HeadlessButton::redraw() {
    ++redraws_;
    RecordingCanvas canvas({rect_.width, rect_.height});
    if (painter_)
        painter_(canvas);
    lastPainting_ = canvas.drawn();
}

// --- Combo box

void HeadlessComboBox::clear() {
    items_.clear();
    selection_ = -1;
}

int HeadlessComboBox::addItem(std::string_view text) {
    items_.emplace_back(text);
    return count() - 1;
}

std::string HeadlessComboBox::itemText(int index) const {
    return index >= 0 && index < count() ? items_[static_cast<std::size_t>(index)] : std::string();
}

void HeadlessComboBox::select(int index) {
    selection_ = index >= 0 && index < count() ? index : -1;
}

// --- List box

int HeadlessListBox::addItem(std::string_view text) {
    int index = count();
    if (template_.has(kSorted)) {
        const auto place = std::upper_bound(items_.begin(), items_.end(), text,
                                            [](std::string_view value, const Item& item) {
                                                return platform::collateCzech(value, item.text) < 0;
                                            });
        index = static_cast<int>(place - items_.begin());
    }
    insertItem(index, text);
    return index;
}

void HeadlessListBox::insertItem(int index, std::string_view text) {
    if (index < 0 || index > count())
        index = count();
    items_.insert(items_.begin() + index, Item{std::string(text), false});
    if (count() > 1 && index <= caret_)
        ++caret_;
}

void HeadlessListBox::deleteItem(int index) {
    if (!valid(index))
        return;
    items_.erase(items_.begin() + index);
    if (index < caret_)
        --caret_;
}

void HeadlessListBox::replaceItem(int index, std::string_view text) {
    if (valid(index))
        items_[static_cast<std::size_t>(index)].text = text;
}

std::string HeadlessListBox::itemText(int index) const {
    return valid(index) ? items_[static_cast<std::size_t>(index)].text : std::string();
}

void HeadlessListBox::clear() {
    items_.clear();
    caret_ = 0;
}

bool HeadlessListBox::isSelected(int index) const {
    return valid(index) && items_[static_cast<std::size_t>(index)].selected;
}

void HeadlessListBox::setSelected(int index, bool selected) {
    if (!valid(index))
        return;
    if (selected && !template_.has(kExtendedSelection)) {
        for (Item& item : items_)
            item.selected = false;
    }
    items_[static_cast<std::size_t>(index)].selected = selected;
}

std::vector<int> HeadlessListBox::selectedItems() const {
    std::vector<int> selected;
    for (int i = 0; i < count(); ++i) {
        if (items_[static_cast<std::size_t>(i)].selected)
            selected.push_back(i);
    }
    return selected;
}

int HeadlessListBox::caret() const {
    if (items_.empty())
        return -1;
    return std::clamp(caret_, 0, count() - 1);
}

void HeadlessListBox::setCaret(int index) {
    if (valid(index))
        caret_ = index;
}

// --- Tree view

HeadlessTreeView::~HeadlessTreeView() = default;

const HeadlessTreeView::Node& HeadlessTreeView::node(TreeItem item) const {
    const auto found = nodes_.find(item);
    if (found == nodes_.end())
        throw std::logic_error("tree " + std::to_string(id()) + " has no item " + std::to_string(item));
    return found->second;
}

HeadlessTreeView::Node& HeadlessTreeView::node(TreeItem item) {
    return const_cast<Node&>(std::as_const(*this).node(item));
}

TreeItem HeadlessTreeView::insertItem(TreeItem parent, Place place, std::string_view text, Icon icon,
                                      Icon selectedIcon, bool hasButton) {
    if (parent == kNoTreeItem && !topLevel_.empty())
        throw std::logic_error("a tree view has one top-level item");
    const TreeItem item = nextItem_++;
    Node created;
    created.text = text;
    created.icon = icon;
    created.selectedIcon = selectedIcon;
    created.hasButton = hasButton;
    created.parent = parent;
    auto& siblings = parent == kNoTreeItem ? topLevel_ : node(parent).children;
    siblings.insert(place == Place::First ? siblings.begin() : siblings.end(), item);
    nodes_.emplace(item, std::move(created));
    return item;
}

void HeadlessTreeView::deleteSubtree(TreeItem item) {
    const std::vector<TreeItem> children = node(item).children;
    for (TreeItem child : children)
        deleteSubtree(child);
    if (listener_ != nullptr)
        listener_->onItemDeleted(item);
    if (selection_ == item)
        selection_ = kNoTreeItem;
    nodes_.erase(item);
}

void HeadlessTreeView::deleteAllItems() {
    const std::vector<TreeItem> top = topLevel_;
    for (TreeItem item : top)
        deleteSubtree(item);
    topLevel_.clear();
}

void HeadlessTreeView::destroy() {
    deleteAllItems();
    if (listener_ != nullptr)
        listener_->onTreeDestroyed();
    listener_ = nullptr;
}

std::string HeadlessTreeView::itemText(TreeItem item) const {
    return node(item).text;
}

TreeItem HeadlessTreeView::parentItem(TreeItem item) const {
    return node(item).parent;
}

std::vector<TreeItem> HeadlessTreeView::children(TreeItem item) const {
    return item == kNoTreeItem ? topLevel_ : node(item).children;
}

void HeadlessTreeView::setHasButton(TreeItem item, bool hasButton) {
    node(item).hasButton = hasButton;
}

bool HeadlessTreeView::hasButton(TreeItem item) const {
    const Node& found = node(item);
    return found.hasButton || !found.children.empty();
}

void HeadlessTreeView::expand(TreeItem item) {
    if (!hasButton(item) || node(item).expanded)
        return;
    if (listener_ != nullptr && !listener_->onItemExpanding(item))
        return;
    node(item).expanded = true;
}

void HeadlessTreeView::collapse(TreeItem item) {
    if (!node(item).expanded)
        return;
    if (listener_ != nullptr && !listener_->onItemCollapsing(item))
        return;
    node(item).expanded = false;
}

bool HeadlessTreeView::isExpanded(TreeItem item) const {
    return node(item).expanded;
}

void HeadlessTreeView::select(TreeItem item) {
    if (item != kNoTreeItem)
        node(item);  // must exist
    if (item == selection_)
        return;
    selection_ = item;
    window_.reportSelectionChange(id());
}

void HeadlessTreeView::sortChildren(TreeItem parent, const Compare& compare) {
    auto& siblings = parent == kNoTreeItem ? topLevel_ : node(parent).children;
    std::stable_sort(siblings.begin(), siblings.end(),
                     [&compare](TreeItem a, TreeItem b) { return compare(a, b) < 0; });
}

TreeView::Icon HeadlessTreeView::icon(TreeItem item) const {
    return node(item).icon;
}

std::string HeadlessTreeView::pathOf(TreeItem item) const {
    std::string path = node(item).text;
    for (TreeItem up = node(item).parent; up != kNoTreeItem; up = node(up).parent)
        path = node(up).text + " / " + path;
    return path;
}

TreeItem HeadlessTreeView::findChild(TreeItem parent, std::string_view text) const {
    for (TreeItem child : children(parent)) {
        if (node(child).text == text)
            return child;
    }
    return kNoTreeItem;
}

// --- Progress bar

void HeadlessProgressBar::setPosition(int percent) {
    position_ = std::clamp(percent, 0, 100);
}

// --- Factory

std::unique_ptr<Control> makeHeadlessControl(HeadlessWindow& window, const ControlTemplate& control,
                                             Rect pixels, const Font& font) {
    switch (control.kind) {
        case ControlKind::Label:
            return std::make_unique<HeadlessLabel>(window, control, pixels, font);
        case ControlKind::Edit:
        case ControlKind::PasswordEdit:
        case ControlKind::DigitsEdit:
            return std::make_unique<HeadlessEdit>(window, control, pixels, font);
        case ControlKind::CheckBox:
            return std::make_unique<HeadlessCheckBox>(window, control, pixels, font);
        case ControlKind::PushButton:
        case ControlKind::DefaultButton:
            return std::make_unique<HeadlessButton>(window, control, pixels, font);
        case ControlKind::DropDownList:
            return std::make_unique<HeadlessComboBox>(window, control, pixels, font);
        case ControlKind::ListBox:
            return std::make_unique<HeadlessListBox>(window, control, pixels, font);
        case ControlKind::TreeView:
            return std::make_unique<HeadlessTreeView>(window, control, pixels, font);
        case ControlKind::ProgressBar:
            return std::make_unique<HeadlessProgressBar>(window, control, pixels, font);
        case ControlKind::Frame:
            return std::make_unique<HeadlessFrame>(window, control, pixels, font);
    }
    throw std::logic_error("unknown control kind");
}

}  // namespace ui::headless
