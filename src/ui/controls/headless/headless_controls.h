// In-memory controls of the tests' backend.
//
// They keep exactly the state the interfaces promise and report to the window what the rules of
// controls.h say is reported. What a user does to them goes through HeadlessWindow.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls/controls.h"
#include "ui/controls/headless/recording_canvas.h"

namespace ui::headless {

class HeadlessWindow;

// The state every control shares.
template <class Interface>
class HeadlessControl : public Interface {
  public:
    HeadlessControl(HeadlessWindow& window, const ControlTemplate& control, Rect pixels, Font font);

    int id() const override { return template_.id; }
    ControlKind kind() const override { return template_.kind; }
    void setText(std::string_view text) override { text_ = text; }
    std::string text() const override { return text_; }
    void show(bool visible) override { visible_ = visible; }
    bool isVisible() const override { return visible_; }
    void enable(bool enabled) override { enabled_ = enabled; }
    bool isEnabled() const override { return enabled_; }
    void setFont(const Font& font) override { font_ = font; }
    Font font() const override { return font_; }
    void focus() override;
    bool hasFocus() const override;
    Rect rect() const override { return rect_; }
    void move(const Rect& rect) override { rect_ = rect; }
    void redraw() override { ++redraws_; }

    const ControlTemplate& controlTemplate() const { return template_; }
    int redraws() const { return redraws_; }

  protected:
    HeadlessWindow& window_;
    ControlTemplate template_;
    std::string text_;
    bool visible_;
    bool enabled_;
    Font font_;
    Rect rect_;
    int redraws_ = 0;
};

using HeadlessLabel = HeadlessControl<Label>;
using HeadlessFrame = HeadlessControl<Control>;

class HeadlessEdit final : public HeadlessControl<Edit> {
  public:
    using HeadlessControl::HeadlessControl;
    // Setting the text reports a text change, as the real control does.
    void setText(std::string_view text) override;
    void setLimit(int characters) override { limit_ = characters; }
    int limit() const override { return limit_; }

    // The user types one character: refused when the edit takes digits only and it is none, or when
    // the limit is reached. True when it was taken.
    bool typeCharacter(char c);
    // The user deletes the whole text.
    void erase();

  private:
    int limit_ = 0;
};

class HeadlessCheckBox final : public HeadlessControl<CheckBox> {
  public:
    using HeadlessControl::HeadlessControl;
    void setChecked(bool checked) override { checked_ = checked; }
    bool isChecked() const override { return checked_; }

  private:
    bool checked_ = false;
};

class HeadlessButton final : public HeadlessControl<Button> {
  public:
    using HeadlessControl::HeadlessControl;
    void setPainter(Painter painter) override { painter_ = std::move(painter); }
    // Painting runs the painter on a recording canvas of the button's size.
    void redraw() override;

    // What the painter drew at the last painting.
    const std::vector<DrawnPicture>& lastPainting() const { return lastPainting_; }
    bool hasPainter() const { return static_cast<bool>(painter_); }

  private:
    Painter painter_;
    std::vector<DrawnPicture> lastPainting_;
};

class HeadlessComboBox final : public HeadlessControl<ComboBox> {
  public:
    using HeadlessControl::HeadlessControl;
    void clear() override;
    int addItem(std::string_view text) override;
    int count() const override { return static_cast<int>(items_.size()); }
    std::string itemText(int index) const override;
    int selection() const override { return selection_; }
    void select(int index) override;
    // A drop-down list shows its selected item.
    std::string text() const override { return itemText(selection_); }

  private:
    std::vector<std::string> items_;
    int selection_ = -1;
};

class HeadlessListBox final : public HeadlessControl<ListBox> {
  public:
    using HeadlessControl::HeadlessControl;
    int count() const override { return static_cast<int>(items_.size()); }
    int addItem(std::string_view text) override;
    void insertItem(int index, std::string_view text) override;
    void deleteItem(int index) override;
    void replaceItem(int index, std::string_view text) override;
    std::string itemText(int index) const override;
    void clear() override;
    bool isSelected(int index) const override;
    void setSelected(int index, bool selected) override;
    std::vector<int> selectedItems() const override;
    int caret() const override;
    void setCaret(int index) override;
    void setHorizontalExtent(int pixels) override { extent_ = pixels; }

    int horizontalExtent() const { return extent_; }

  private:
    struct Item {
        std::string text;
        bool selected = false;
    };
    bool valid(int index) const { return index >= 0 && index < count(); }
    std::vector<Item> items_;
    int caret_ = 0;
    int extent_ = 0;
};

class HeadlessTreeView final : public HeadlessControl<TreeView> {
  public:
    using HeadlessControl::HeadlessControl;
    ~HeadlessTreeView() override;

    bool hasIcons() const override { return hasIcons_; }
    TreeItem insertItem(TreeItem parent, Place place, std::string_view text, Icon icon, Icon selectedIcon,
                        bool hasButton) override;
    void deleteAllItems() override;
    std::string itemText(TreeItem item) const override;
    TreeItem parentItem(TreeItem item) const override;
    std::vector<TreeItem> children(TreeItem item) const override;
    void setHasButton(TreeItem item, bool hasButton) override;
    bool hasButton(TreeItem item) const override;
    void expand(TreeItem item) override;
    void collapse(TreeItem item) override;
    bool isExpanded(TreeItem item) const override;
    TreeItem selection() const override { return selection_; }
    void select(TreeItem item) override;
    void sortChildren(TreeItem parent, const Compare& compare) override;
    void setListener(TreeListener* listener) override { listener_ = listener; }

    // The window closes: every item is reported deleted, then the listener is told and let go.
    void destroy();

    // Test staging: a tree that cannot show icons.
    void setHasIcons(bool hasIcons) { hasIcons_ = hasIcons; }
    Icon icon(TreeItem item) const;
    // The item's text at every level, from the top, joined with " / ".
    std::string pathOf(TreeItem item) const;
    // The child of `parent` with this text; kNoTreeItem when there is none.
    TreeItem findChild(TreeItem parent, std::string_view text) const;

  private:
    struct Node {
        std::string text;
        Icon icon{};
        Icon selectedIcon{};
        bool hasButton = false;
        bool expanded = false;
        TreeItem parent = kNoTreeItem;
        std::vector<TreeItem> children;
    };
    const Node& node(TreeItem item) const;
    Node& node(TreeItem item);
    void deleteSubtree(TreeItem item);

    std::map<TreeItem, Node> nodes_;
    std::vector<TreeItem> topLevel_;
    TreeItem nextItem_ = 1;
    TreeItem selection_ = kNoTreeItem;
    TreeListener* listener_ = nullptr;
    bool hasIcons_ = true;
};

class HeadlessProgressBar final : public HeadlessControl<ProgressBar> {
  public:
    using HeadlessControl::HeadlessControl;
    void setPosition(int percent) override;
    int position() const override { return position_; }

  private:
    int position_ = 0;
};

// Creates the control of a template entry.
std::unique_ptr<Control> makeHeadlessControl(HeadlessWindow& window, const ControlTemplate& control,
                                             Rect pixels, const Font& font);

}  // namespace ui::headless
