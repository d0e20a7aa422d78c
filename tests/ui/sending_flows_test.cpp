// Save to disk and the photobook the whole way: through the real sending dialog, and for the photobook
// from the main window's button, against the lab server running in-process.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/fake_shell_namespace.h"
#include "text/cp1250.h"
#include "text/format.h"
#include "transfer/in_process_lab.h"
#include "ui/controls/headless/headless_desktop.h"
#include "ui/dialog_resources.h"
#include "ui/main_order_dlg.h"
#include "ui/main_window_hooks.h"
#include "ui/progress_send_dlg.h"
#include "ui/resource_ids.h"

namespace {

using ui::MessageAnswer;
using ui::MessageIcon;
using ui::headless::HeadlessDesktop;
using ui::headless::HeadlessWindow;
namespace fs = std::filesystem;

class StandInMainWindow final : public MainWindowLink {
  public:
    void ShowWindow(bool) override {}
    void ShowStatus(std::string_view) override {}
    bool photobookMode() const override { return false; }
    void SendPhotobookDocument() override {}
};

class SendingFlows : public transfer_testing::InProcessLab {
  protected:
    std::string photos() const { return temp_.path() + "/fotky"; }
    const std::vector<ui::headless::MessageRecord>& messages() const { return desktop_.messages(); }

    HeadlessDesktop desktop_;
    OrderDocument document_;
};

TEST_F(SendingFlows, SaveToDiskWithCashPaymentWritesTheFolderWithoutLoginWhileTheServerIsDown) {
    PhotoRecord photo;
    photo.formatId = 2;
    photo.copies = 1;
    document_.setCurrentPhoto(photo);
    OrderParams params;
    params.paymentAbbrev = "hot";
    document_.setParams(params);
    for (const char* name : {"a.jpg", "b.jpg"}) {
        temp_.write(std::string("fotky/") + name, std::string(3000, name[0]));
        document_.addEntry(photos(), name);
    }
    fs::create_directory(temp_.path() + "/usb");
    server_->stop();

    StandInMainWindow mainWindow;
    OrderSession session{document_, request_, desktop_, mainWindow};
    CDialogProgressSend dialog(session,
                               TransferTimings{std::chrono::milliseconds(1), std::chrono::milliseconds(1)});
    auto window = desktop_.open(dialog, sendingTemplate());
    desktop_.chooseNextFolder(temp_.path() + "/usb");
    window->click(sending_ids::kSaveToDisk);  // login and password left empty

    const std::string saved = temp_.path() + "/usb/Snapord-save-0000";
    EXPECT_EQ(temp_.read("usb/Snapord-save-0000/001__a.jpg"), std::string(3000, 'a'));
    EXPECT_EQ(temp_.read("usb/Snapord-save-0000/002__b.jpg"), std::string(3000, 'b'));
    const std::string orderFile = temp_.read("usb/Snapord-save-0000/000_obj.snf");
    EXPECT_EQ(orderFile.rfind(
                  "[Customer]\r\r\nID=\r\r\n\r\r\n[Order]\r\r\nID=\r\r\nSystemID=1\r\r\nDate=\r\r\n", 0),
              0u);
    EXPECT_NE(orderFile.find("Name=001__a.jpg\r\r\n"), std::string::npos);
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().back().icon, MessageIcon::Information);
    EXPECT_EQ(messages().back().text.find(saved), messages().back().text.find("\r\n") + 2);
    EXPECT_EQ(dialog.outcome(), SendingOutcome::SavedToDisk);
    EXPECT_TRUE(window->isEnding());
}

// The main window of the program over the in-process lab, started in a working folder of its own with
// the lab's catalogue.
class PhotobookToTheLab : public SendingFlows {
  protected:
    PhotobookToTheLab() {
        fs::create_directories(temp_.path() + "/appdata");
        fs::copy_file(published("snapord2.ini"), work_ + "/snapord2.ini");
        shell_.addFolder("", "Fotky", photos(), false);
    }
    std::unique_ptr<HeadlessWindow> open() {
        dialog_ = std::make_unique<CMainOrderDlg>(document_, request_, shell_, environment_, programHooks());
        return desktop_.open(*dialog_, mainWindowTemplate());
    }
    std::string book() const { return temp_.path() + "/kniha"; }

    platform::FakeShellNamespace shell_{"Plocha"};
    platform::EnvironmentLookup environment_ = [this](const char* name) -> std::optional<std::string> {
        if (std::string_view(name) == "XDG_DATA_HOME")
            return temp_.path() + "/appdata";
        return std::nullopt;
    };
    std::unique_ptr<CMainOrderDlg> dialog_;
};

TEST_F(PhotobookToTheLab, ThePhotobookReachesTheLabWholeWithoutAPriceQuestion) {
    const std::vector<std::string> files = {"iof.xml", "List1.jpg", "list2.jpg", "list3.jpg"};
    for (std::size_t i = 0; i < files.size(); ++i)
        temp_.write("kniha/" + files[i], std::string(2000 + i, static_cast<char>('0' + i)));
    temp_.write("kniha/nahledy/list1.jpg", "a preview, no part of the book");
    auto window = open();
    ASSERT_TRUE(window->button(main_ids::kPhotobook).isEnabled());

    desktop_.chooseNextFolder(book());
    desktop_.onModal(res::kOrderParamsDialog, [](HeadlessWindow& parameters) {
        EXPECT_TRUE(parameters.check(params_ids::kProduct1).isVisible());
        EXPECT_FALSE(parameters.check(params_ids::kProduct1).isEnabled());
        EXPECT_EQ(parameters.check(params_ids::kProduct1).text(), "Objednat fotoknihu");
        for (int id : {params_ids::kProduct2, params_ids::kProduct3, params_ids::kProduct4})
            EXPECT_FALSE(parameters.check(id).isVisible()) << id;
        parameters.click(params_ids::kSend);
    });
    desktop_.onModal(res::kSendingDialog, [](HeadlessWindow& sending) {
        sending.type(sending_ids::kLogin, "demo");
        sending.type(sending_ids::kPassword, "demo");
        sending.click(sending_ids::kSend);
        EXPECT_EQ(sending.label(sending_ids::kStatus).text(), "Objednávka byla v pořádku odeslána."_cz);
        sending.click(sending_ids::kStorno);  // "Zavřít okno"
    });
    desktop_.answerNextQuestion(MessageAnswer::No);  // no new order
    window->click(main_ids::kPhotobook);

    for (const auto& message : messages())
        EXPECT_NE(message.caption, "Cena objednávky"_cz) << message.text;
    EXPECT_FALSE(dialog_->photobookMode());
    const auto orders = server_->orders();
    ASSERT_EQ(orders.size(), 1u);
    const labserver::OrderRecord& order = orders[0];
    EXPECT_TRUE(order.closed());
    const fs::path folder = data_ / "orders" / order.folderName;
    auto read = [&](const std::string& name) {
        std::ifstream in(folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i]);
        EXPECT_EQ(read(text::format("%03d_%s_%s", i + 1, order.id, files[i])),
                  std::string(2000 + i, static_cast<char>('0' + i)));
    }
    EXPECT_FALSE(fs::exists(folder / text::format("005_%s_list1.jpg", order.id)));
    EXPECT_FALSE(read("000_" + order.id + ".lace").empty());

    // The content of the order file, as written by hand: iof.xml is the parameter sheet, the rest
    // are sheets, each one copy on paper 1 with border 1.
    const std::string E = "\r\r\n";
    std::string content = "[Content]" + E;
    for (std::size_t i = 0; i < files.size(); ++i) {
        content += text::format("Name=%03d_%s_%s", i + 1, order.id, files[i]) + E;
        content += std::string(i == 0 ? "# Fotokniha - parametry " : "# List fotoknihy ") + E;
        content += std::string(i == 0 ? "Format=87" : "Format=153") + E + "Count=1" + E + "Border=1" + E +
                   "Dull=1" + E;
    }
    content += E + "[Price]" + E;
    const std::string orderFile = read("000_" + order.id + ".snf");
    ASSERT_GE(orderFile.size(), content.size());
    EXPECT_EQ(orderFile.substr(orderFile.size() - content.size()), content);
    EXPECT_EQ(orderFile.rfind("[Customer]" + E + "ID=" + order.customer + E, 0), 0u);
    // The main window's own order stayed empty and was not saved.
    EXPECT_EQ(window->list(main_ids::kOrderList).count(), 0);
    EXPECT_FALSE(fs::exists(temp_.path() + "/appdata/Snapord/2.0.24.3/order.sno"));
    EXPECT_EQ(desktop_.unusedScripts(), 0u);
}

}  // namespace
