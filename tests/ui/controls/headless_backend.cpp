// The contract suite on the tests' backend.
#include <memory>

#include "contract_backend.h"
#include "ui/controls/headless/headless_desktop.h"

namespace contract {

namespace {

using ui::headless::HeadlessDesktop;
using ui::headless::HeadlessWindow;

class HeadlessActions final : public UserActions {
  public:
    explicit HeadlessActions(HeadlessWindow& window) : window_(window) {}
    bool canReach(int id) override {
        ui::Control* control = window_.findControl(id);
        // A frame is drawn by its window: nothing there for the user to act on.
        return control != nullptr && control->kind() != ui::ControlKind::Frame && control->isVisible() &&
               control->isEnabled();
    }
    void click(int id) override { window_.click(id); }
    void chooseItem(int comboId, int index) override { window_.chooseItem(comboId, index); }
    void clickItem(int listId, int index) override { window_.clickItem(listId, index); }
    void ctrlClickItem(int listId, int index) override { window_.ctrlClickItem(listId, index); }
    void doubleClickItem(int listId, int index) override { window_.doubleClickItem(listId, index); }
    void type(int editId, std::string_view characters) override { window_.type(editId, characters); }
    void typeUnicode(int editId, std::u32string_view characters) override {
        window_.typeUnicode(editId, characters);
    }
    void pressKey(int id, const ui::KeyEvent& key) override { window_.pressKey(id, key); }
    void pressEnter() override { window_.pressEnter(); }
    void pressEscape() override { window_.pressEscape(); }
    void pressF1() override { window_.pressF1(); }
    void pressCloseBox() override { window_.pressCloseBox(); }
    void chooseSystemMenuItem(int command) override { window_.chooseSystemMenuItem(command); }

  private:
    HeadlessWindow& window_;
};

HeadlessDesktop::WindowScript asScript(Backend::Body body) {
    return [body = std::move(body)](HeadlessWindow& window) {
        HeadlessActions actions(window);
        body(window, actions);
        if (!window.isEnding())
            window.end(0);
    };
}

class HeadlessBackend final : public Backend {
  public:
    const char* name() const override { return "headless"; }
    void beginTest() override { desktop_ = std::make_unique<HeadlessDesktop>(); }
    ui::DesktopServices& services() override { return *desktop_; }

    int run(ui::Dialog& dialog, const ui::DialogTemplate& dialogTemplate, Body body) override {
        desktop_->onModal(dialogTemplate.id, asScript(std::move(body)));
        return desktop_->runModal(dialog, dialogTemplate);
    }
    void scriptNextWindow(int templateId, Body body) override {
        desktop_->onModal(templateId, asScript(std::move(body)));
    }
    void answerNextQuestion(ui::MessageAnswer answer) override { desktop_->answerNextQuestion(answer); }
    std::vector<RecordedBox> messageBoxes() override {
        std::vector<RecordedBox> boxes;
        for (const auto& record : desktop_->messages())
            boxes.push_back(
                {record.text, record.caption, record.icon, record.buttons == ui::MessageButtons::YesNo});
        return boxes;
    }
    void settle() override {}

  private:
    std::unique_ptr<HeadlessDesktop> desktop_ = std::make_unique<HeadlessDesktop>();
};

}  // namespace

Backend& backend() {
    static HeadlessBackend instance;
    return instance;
}

}  // namespace contract
