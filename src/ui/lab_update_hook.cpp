#include "ui/lab_update_hook.h"

#include <memory>

#include "ui/dialog_resources.h"
#include "ui/message_dlg.h"

namespace {

class MainWindowUpdateView final : public UpdateView {
  public:
    explicit MainWindowUpdateView(OrderSession& session) : session_(session) {}

    void ShowStatus(std::string_view text) override { session_.mainWindow.ShowStatus(text); }

    void ShowNewsMessage() override {
        CMessageDlg message;
        session_.services.runModal(message, newsTemplate());
    }

    void BetweenLooks() override { session_.services.pumpEvents(); }

  private:
    OrderSession& session_;
};

}  // namespace

std::function<void(OrderSession&)> labUpdateHook(std::chrono::milliseconds lookInterval) {
    return [update = std::make_shared<LabUpdate>(lookInterval)](OrderSession& session) {
        MainWindowUpdateView view(session);
        update->RunUpdate(session.request, view);
    };
}
