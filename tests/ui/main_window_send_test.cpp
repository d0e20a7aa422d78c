// The main window's send path up to the order document, what follows a sent order, the photobook, the
// update and the lab's pages.
#include <gtest/gtest.h>

#include "app/ui_texts.h"
#include "buildinfo/build_constants.h"
#include "documents/order_document.h"
#include "main_window_fixture.h"

namespace {

using namespace main_ids;
using main_window_test::kDefaultColumns;
using main_window_test::MainWindowTest;
using ui::MessageAnswer;

class MainWindowSending : public MainWindowTest {
  protected:
    // An order kept from the last run: one row per photograph name, each file on disk.
    void keepPhotos(std::initializer_list<const char*> names) {
        std::string kept;
        for (const char* name : names) {
            folder_.write(std::string("fotky/") + name, "x");
            kept += std::string(kDefaultColumns) + photo(name) + "\r\n";
        }
        keepOrder(kept);
    }
};

TEST_F(MainWindowSending, SendSavesAndConvertsTheOrderAndStopsWhereNoParametersDialogIsWired) {
    keepPhotos({"a.jpg", "b.jpg"});
    auto window = open();
    document_.reset();
    std::filesystem::remove(workingPath("order.sno"));

    window->click(kSend);
    EXPECT_EQ(workingFile("order.sno"), std::string(kDefaultColumns) + photo("a.jpg") + "\r\n" +
                                            std::string(kDefaultColumns) + photo("b.jpg") + "\r\n");
    const OrderDocument& document = document_;
    ASSERT_EQ(document.usedCount(), 2u);
    const DocumentEntry& first = document.entries()[0];
    EXPECT_EQ(first.folder, photos());
    EXPECT_EQ(first.fileName, "a.jpg");
    EXPECT_EQ(first.photo.formatId, 2);
    EXPECT_EQ(first.photo.paperId, 1);
    EXPECT_EQ(first.photo.marginId, 1);
    EXPECT_EQ(first.photo.copies, 1);
    EXPECT_EQ(first.photo.description, "10 x 15 cm-Lesklý-Bez okraje-1x"_cz);
    EXPECT_TRUE(desktop_.messages().empty());
    EXPECT_TRUE(desktop_.modalRuns().empty());
}

TEST_F(MainWindowSending, AnOrderLargerThanTheDocumentIsRefusedNotSentInPart) {
    folder_.write("fotky/a.jpg", "x");
    std::string kept;
    for (int i = 0; i < 2000; ++i)
        kept += std::string(kDefaultColumns) + photo("a.jpg") + "\r\n";
    keepOrder(kept);
    bool parametersAsked = false;
    hooks_.runOrderParams = [&](OrderSession&) { return parametersAsked = true; };
    auto window = open();

    window->click(kSend);
    EXPECT_FALSE(parametersAsked);
    EXPECT_EQ(document_.usedCount(), 0u);
    ASSERT_EQ(desktop_.messages().size(), 1u);
    EXPECT_EQ(desktop_.messages()[0].text,
              "Objednávka obsahuje 2000 fotografií, najednou lze odeslat nejvýše 1999.\r\n"
              "Rozdělte ji prosím do více objednávek."_cz);
    // The order itself is kept, saved and whole.
    EXPECT_EQ(window->list(kOrderList).count(), 2000);
    EXPECT_EQ(workingFile("order.sno"), kept);
}

TEST_F(MainWindowSending, ASentOrderLeadsToThePaymentPageASavedOneOnlyToTheNewOrderQuestion) {
    struct Row {
        const char* name;
        const char* payment;
        bool parametersOk;
        SendingOutcome outcome;
        bool paymentPage;
        bool newOrderAsked;
    };
    const Row rows[] = {
        {"online payment, sent", "online", true, SendingOutcome::Sent, true, true},
        {"card payment, sent", "card", true, SendingOutcome::Sent, true, true},
        {"cash, sent", "hot", true, SendingOutcome::Sent, false, true},
        {"online payment, not sent", "online", true, SendingOutcome::Nothing, false, false},
        {"online payment, saved to disk: paid in the shop", "online", true, SendingOutcome::SavedToDisk,
         false, true},
        {"parameters cancelled", "online", false, SendingOutcome::Sent, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        keepPhotos({"a.jpg"});
        bool sendingRan = false;
        hooks_.runOrderParams = [&](OrderSession&) {
            document_.params().paymentAbbrev = row.payment;
            return row.parametersOk;
        };
        hooks_.runSending = [&](OrderSession&) {
            sendingRan = true;
            document_.setIdentity({"2024-05-17", "", "123", "0815"});
            return row.outcome;
        };
        auto window = open();
        const std::size_t shown = desktop_.messages().size();
        const std::size_t opened = desktop_.openedWithShell().size();
        // A new order? Yes, and Yes to deleting the old one.
        if (row.newOrderAsked) {
            desktop_.answerNextQuestion(MessageAnswer::Yes);
            desktop_.answerNextQuestion(MessageAnswer::Yes);
        }

        window->click(kSend);
        EXPECT_EQ(sendingRan, row.parametersOk);
        std::vector<ui::headless::MessageRecord> messages(desktop_.messages().begin() + shown,
                                                          desktop_.messages().end());
        std::vector<std::string> pages(desktop_.openedWithShell().begin() + opened,
                                       desktop_.openedWithShell().end());
        if (row.paymentPage) {
            ASSERT_FALSE(messages.empty());
            EXPECT_EQ(messages[0].text, std::string("Nyní budete přesměrováni na platební bránu "_cz) +
                                            std::string(build::kServiceDomain));
            EXPECT_EQ(messages[0].caption, "Snapord platba objednávky"_cz);
            EXPECT_EQ(pages, std::vector<std::string>{std::string(build::kServerUrl) +
                                                      "/onlineplatba.php?obj=0815&type=" + row.payment});
        } else {
            EXPECT_TRUE(pages.empty());
        }
        EXPECT_EQ(messages.size(), (row.paymentPage ? 1u : 0u) + (row.newOrderAsked ? 2u : 0u));
        if (row.newOrderAsked) {
            EXPECT_EQ(messages[messages.size() - 2].text, uiText(UiText::AskNewOrder));
            EXPECT_EQ(messages[messages.size() - 2].caption, "Snapord");
        }
        EXPECT_EQ(window->list(kOrderList).count(), row.newOrderAsked ? 0 : 1);
        EXPECT_EQ(desktop_.unusedScripts(), 0u);
    }
}

TEST_F(MainWindowSending, APhotobookIsSentAsItStandsInTheDocument) {
    bool photobookModeSeen = false;
    std::size_t entriesSeen = 0;
    hooks_.sendPhotobook = [this](OrderSession& session) {
        OrderDocument& document = session.document;
        document.reset();
        document.addEntry("/home/jana/kniha", "iof.xml");
        session.mainWindow.SendPhotobookDocument();
    };
    hooks_.runOrderParams = [&](OrderSession& session) {
        photobookModeSeen = session.mainWindow.photobookMode();
        entriesSeen = document_.usedCount();
        return false;
    };
    auto window = open();
    window->click(kPhotobook);
    EXPECT_TRUE(photobookModeSeen);
    EXPECT_EQ(entriesSeen, 1u);
    EXPECT_FALSE(dialog().photobookMode());
    EXPECT_FALSE(workingFileExists("order.sno"));  // the order list was neither saved nor converted
}

TEST_F(MainWindowSending, AnUpdateRunsAtStartOnlyAfterAKeptOrder) {
    for (bool kept : {false, true}) {
        SCOPED_TRACE(kept ? "order.sno kept" : "first start");
        std::filesystem::remove(workingPath("order.sno"));
        if (kept)
            keepOrder("");
        int updates = 0;
        hooks_.runUpdate = [&](OrderSession&) { ++updates; };
        auto window = open();
        EXPECT_EQ(updates, kept ? 1 : 0);
    }
}

TEST_F(MainWindowSending, AnUpdateBlocksSendingMeanwhileAndReloadsTheListsButNeverTheRows) {
    keepPhotos({"a.jpg", "b.jpg"});
    ui::headless::HeadlessWindow* shown = nullptr;
    bool sendingBlocked = false;
    std::string statusMeanwhile;
    hooks_.runUpdate = [&](OrderSession& session) {
        if (shown == nullptr)
            return;  // the update of the start-up
        sendingBlocked = !shown->button(kSend).isEnabled() && !shown->button(kPhotobook).isEnabled();
        statusMeanwhile = shown->label(kStatus).text();
        // The lab's new catalogue makes 13x18 the default format.
        std::string catalogue = main_window_test::catalogue();
        catalogue.replace(catalogue.find("default=1"), 9, "default=0");
        catalogue.replace(catalogue.find("default=0", catalogue.find("13x18")), 9, "default=1");
        folder_.write("data/Snapord/2.0.24.3/snapord2.ini", catalogue);
        session.mainWindow.ShowStatus(uiText(UiText::Done));
    };
    auto window = open();
    shown = window.get();
    window->clickItem(kOrderList, 0);
    window->ctrlClickItem(kOrderList, 1);
    window->chooseItem(kPaper, 1);
    window->eraseText(kCopies);
    window->type(kCopies, "5");
    const std::string chosen = "  10x15      mat    bez     5    ";
    ASSERT_EQ(window->list(kOrderList).itemText(1), chosen + photo("b.jpg"));

    window->click(kUpdate);
    EXPECT_TRUE(sendingBlocked);
    EXPECT_EQ(statusMeanwhile, "Nahrávám"_cz);
    EXPECT_EQ(window->combo(kFormat).selection(), 1);
    EXPECT_EQ(window->combo(kPaper).selection(), 0);
    EXPECT_EQ(window->edit(kCopies).text(), "1");
    EXPECT_EQ(window->list(kOrderList).itemText(0), chosen + photo("a.jpg"));
    EXPECT_EQ(window->list(kOrderList).itemText(1), chosen + photo("b.jpg"));
    EXPECT_EQ(window->label(kStatus).text(), "Hotovo");
    EXPECT_TRUE(window->button(kSend).isEnabled());
}

TEST_F(MainWindowSending, SendOpensTheOrderParametersOfTheProgramOverTheConvertedOrder) {
    keepPhotos({"a.jpg", "b.jpg"});
    hooks_ = programHooks();
    // The update would talk to whatever listens at the build's server address.
    hooks_.runUpdate = {};
    auto window = open();
    folder_.write("data/Snapord/2.0.24.3/snapord2.ini",
                  main_window_test::catalogue() +
                      std::string("[pay]\r\nname=Hotově\r\nabbrev=hot\r\nid=1\r\ndefault=1\r\n"
                                  "[order]\r\nname=Fotografie\r\nabbrev=foto\r\nid=5\r\ndefault=1\r\n"_cz));
    namespace params = params_ids;
    using ui::headless::HeadlessWindow;

    // Back: the user is in the main window with the order converted and nothing chosen.
    desktop_.onModal(res::kOrderParamsDialog, [&](HeadlessWindow& parameters) {
        EXPECT_EQ(document_.usedCount(), 2u);
        EXPECT_EQ(parameters.combo(params::kPayment).itemText(0), "Hotově"_cz);
        parameters.click(params::kBack);
    });
    window->click(kSend);
    EXPECT_EQ(desktop_.modalRuns(), std::vector<int>{res::kOrderParamsDialog});
    EXPECT_FALSE(workingFileExists("userdata.sno"));
    EXPECT_EQ(document_.params().paymentAbbrev, "");

    // Send: the parameters reach the document, and the sending dialog follows; its Storno, before
    // anything was sent, leaves the order as it was, with no question after it.
    desktop_.onModal(res::kOrderParamsDialog,
                     [](HeadlessWindow& parameters) { parameters.click(params::kSend); });
    desktop_.onModal(res::kSendingDialog,
                     [](HeadlessWindow& sending) { sending.click(sending_ids::kStorno); });
    window->click(kSend);
    EXPECT_EQ(desktop_.modalRuns(),
              (std::vector<int>{res::kOrderParamsDialog, res::kOrderParamsDialog, res::kSendingDialog}));
    EXPECT_EQ(document_.params().paymentAbbrev, "hot");
    // No deliveries and no shops in this catalogue: only the payment has a position.
    EXPECT_EQ(workingFile("userdata.sno"), "0\r\r\n-1\r\r\n-1\r\r\n");
    EXPECT_EQ(window->list(kOrderList).count(), 2);
    EXPECT_TRUE(desktop_.messages().empty());

    // A photobook reaches the dialog in photobook mode.
    desktop_.onModal(res::kOrderParamsDialog, [](HeadlessWindow& parameters) {
        EXPECT_FALSE(parameters.check(params::kProduct1).isEnabled());
        EXPECT_EQ(parameters.check(params::kProduct1).text(), "Objednat fotoknihu");
        parameters.click(params::kBack);
    });
    dialog().SendPhotobookDocument();
    EXPECT_EQ(desktop_.modalRuns().size(), 4u);
    EXPECT_EQ(desktop_.unusedScripts(), 0u);
}

TEST_F(MainWindowSending, TheOrdersAndPriceListPagesOpenAtTheLabServer) {
    auto window = open();
    window->click(kOrdersPage);
    window->click(kPriceList);
    EXPECT_EQ(desktop_.openedWithShell(),
              (std::vector<std::string>{std::string(build::kServerUrl) + "/extranet.php",
                                        std::string(build::kServerUrl) + "/cenik.php"}));
}

}  // namespace
