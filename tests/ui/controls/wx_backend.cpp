// The contract suite on the product's backend: real windows under X.
#include "contract_backend.h"
#include "wx_test_support.h"

namespace contract {

namespace {

class WxBackend final : public Backend {
  public:
    const char* name() const override { return "wx"; }
    void beginTest() override { wxtest::ScriptedWindows::instance().reset(); }
    ui::DesktopServices& services() override { return desktop_; }

    int run(ui::Dialog& dialog, const ui::DialogTemplate& dialogTemplate, Body body) override {
        wxtest::ScriptedWindows::instance().scriptNextWindow(dialogTemplate.id, std::move(body));
        return desktop_.runModal(dialog, dialogTemplate);
    }
    void scriptNextWindow(int templateId, Body body) override {
        wxtest::ScriptedWindows::instance().scriptNextWindow(templateId, std::move(body));
    }
    void answerNextQuestion(ui::MessageAnswer answer) override {
        wxtest::ScriptedWindows::instance().answerNextQuestion(answer);
    }
    std::vector<RecordedBox> messageBoxes() override { return wxtest::ScriptedWindows::instance().boxes(); }
    void settle() override { wxtest::settle(); }

  private:
    ui::wxgui::WxDesktop desktop_;
};

}  // namespace

Backend& backend() {
    static WxBackend instance;
    return instance;
}

}  // namespace contract

int main(int argc, char** argv) {
    return wxtest::runAllTests(argc, argv);
}
