// The order parameters dialog on the tests' backend: what it offers from the catalogue and the saved
// choices, how payment, delivery and shop steer one another, and what Send hands to the order.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/ui_texts.h"
#include "buildinfo/build_constants.h"
#include "platform/program_files.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"
#include "ui/controls/headless/headless_desktop.h"
#include "ui/dialog_resources.h"
#include "ui/order_params_dlg.h"
#include "ui/resource_ids.h"

namespace {

using namespace params_ids;
using ui::headless::HeadlessWindow;

struct Entry {
    std::string_view name;
    std::string_view abbrev;
    int id;
    int isDefault;
};

std::string section(std::string_view name, std::initializer_list<Entry> entries) {
    std::string text = "[" + std::string(name) + "]\r\n";
    for (const Entry& entry : entries) {
        text += "name=" + std::string(entry.name) + "\r\nabbrev=" + std::string(entry.abbrev) +
                "\r\nid=" + std::to_string(entry.id) + "\r\ndefault=" + std::to_string(entry.isDefault) +
                "\r\n";
    }
    return text;
}

// Two payments are marked as the default (the later, "ucet", wins) and an unknown one, "sek"; two
// shops likewise (Brno wins).
std::string payments() {
    return section("pay", {{"Hotově na provozovně"_cz, "hot", 1, 1},
                           {"Převodem na účet"_cz, "ucet", 2, 1},
                           {"Dobírkou"_cz, "dob", 3, 0},
                           {"Online kartou", "online", 4, 0},
                           {"Šekem"_cz, "sek", 5, 0}});
}
std::string deliveries() {
    return section("delivery", {{"Osobní odběr"_cz, "os", 11, 1},
                                {"Česká pošta"_cz, "post", 12, 0},
                                {"Kurýr na dobírku"_cz, "dob", 13, 0},
                                {"Pošta na dobírku"_cz, "postdob", 14, 0}});
}
std::string shops() {
    return section("shop", {{"Praha 1", "Vodičkova 12"_cz, 21, 1},
                            {"Brno", "Masarykova 25", 22, 1},
                            {"Ostrava", "Nádražní 40"_cz, 23, 0}});
}
std::string specials() {
    return section(
        "special",
        {{"Expres", "expres", 31, 0}, {"Neořezávat"_cz, "neorez", 32, 1}, {"Dárek"_cz, "darek", 33, 0}});
}
std::string products() {
    return section("order",
                   {{"Fotografie", "foto", 41, 1}, {"Archiv", "archiv", 42, 0}, {"CD", "cd", 43, 0}});
}

std::string catalogue() {
    return payments() + deliveries() + shops() + specials() + products();
}

OrderOption usedOption(std::int32_t id, std::string_view name, std::string_view abbrev, std::int32_t value) {
    return {1, id, std::string(name), std::string(abbrev), value};
}

class OrderParamsDialog : public testing::Test {
  protected:
    OrderParamsDialog() : here_(folder_.path()) {}

    void writeCatalogue(const std::string& content) const { folder_.write("snapord2.ini", content); }
    void keepChoices(std::string_view content) const { folder_.write("userdata.sno", content); }
    std::string savedChoices() const { return folder_.read("userdata.sno"); }

    std::unique_ptr<HeadlessWindow> open(bool photobookMode = false) {
        // Each dialog outlives its window, also when a test opens the next one meanwhile.
        dialogs_.push_back(std::make_unique<CDialogBarSendParamsDlg>(document_, photobookMode));
        return desktop_.open(*dialogs_.back(), orderParamsTemplate());
    }
    CDialogBarSendParamsDlg& dialog() { return *dialogs_.back(); }

    static std::vector<std::string> items(ui::ComboBox& combo) {
        std::vector<std::string> texts;
        for (int i = 0; i < combo.count(); ++i)
            texts.push_back(combo.itemText(i));
        return texts;
    }
    static bool shopRowShown(HeadlessWindow& window) {
        const bool shown = window.control(kShop).isVisible();
        EXPECT_EQ(window.control(kShopLabel).isVisible(), shown);
        EXPECT_EQ(window.control(kShopDescription).isVisible(), shown);
        return shown;
    }

    testing_support::TempFolder folder_;
    testing_support::CurrentFolderScope here_;
    ui::headless::HeadlessDesktop desktop_;
    OrderDocument document_;
    std::vector<std::unique_ptr<CDialogBarSendParamsDlg>> dialogs_;
};

TEST_F(OrderParamsDialog, OpensOnTheParametersColumnWithItsTextsFontsAndIcons) {
    writeCatalogue(catalogue());
    auto window = open();

    EXPECT_EQ(window->title(),
              std::string(build::kProductName) + " - " + std::string("Parametry objednávky"_cz));
    // 200 pixels right of where it opened, 410 wide (273 dialog units), top and height kept.
    EXPECT_EQ(window->windowRect(), (ui::Rect{300, 100, 410, 440}));
    for (int id : {kFirstName, kSurname, kStreet, kCity, kPostcode, kEmail, kPhone, kCompany, kCompanyNumber,
                   kTaxNumber, kDiscountCode, kDiscountCodeLabel})
        EXPECT_FALSE(window->control(id).isVisible()) << id;

    // Both texts of two lines keep their line break; the labels show them on two lines.
    EXPECT_EQ(window->label(kInformation).text(),
              "Vyberete-li si platbu a odběr na provozovně, můžete v následujícím\r\nkroku zakázku uložit a "
              "přinést nám ji na CD, USB flashi, SD kartě apod."_cz);
    EXPECT_EQ(window->label(kHelpLink).text(),
              "Máte problémy při práci s tímto programem?\r\nKlikněte zde pro nápovědu!"_cz);
    EXPECT_EQ(window->label(kHeading).text(), "Parametry objednávky"_cz);
    EXPECT_EQ(window->label(kProduceLabel).text(), "Vyrobit:");
    EXPECT_EQ(window->button(kBack).text(), "Zpět"_cz);
    EXPECT_EQ(window->button(kSend).text(), "Odeslat");

    const ui::Font bold{"Arial", -11, ui::Font::kBold, false};
    for (int id : {kHeading, kCustomerHeading, kSpecialHeading, kBack, kSend})
        EXPECT_EQ(window->control(id).font(), bold) << id;
    EXPECT_FALSE(window->control(kNoteLabel).font().bold());

    // The triangles on both sides of the captions: right for Send, left for Back.
    EXPECT_EQ(dialog().sendIcons().resourceId(), 136);
    EXPECT_EQ(dialog().backIcons().resourceId(), 138);
    EXPECT_EQ(dialog().sendIcons().mode(), CButtonIcons::kBothSides);
    auto& send = dynamic_cast<ui::headless::HeadlessButton&>(window->button(kSend));
    send.redraw();
    EXPECT_EQ(send.lastPainting().size(), 2u);

    // What an order carries of a note is what the field takes.
    EXPECT_EQ(window->edit(kNote).limit(), 254);
    // Three specials and three products: the boxes after them are hidden.
    for (int id : {kSpecial1, kSpecial2, kSpecial3, kProduct1, kProduct2, kProduct3})
        EXPECT_TRUE(window->control(id).isVisible()) << id;
    for (int id : {kSpecial4, kSpecial5, kSpecial6, kSpecial7, kProduct4, kProduct5, kProduct6})
        EXPECT_FALSE(window->control(id).isVisible()) << id;
    EXPECT_EQ(window->check(kSpecial2).text(), "Neořezávat"_cz);
    EXPECT_TRUE(window->check(kSpecial2).isChecked());
    EXPECT_FALSE(window->check(kSpecial1).isChecked());
}

TEST_F(OrderParamsDialog, ThePaymentDecidesTheDeliveriesOfferedAndWhetherAShopIsChosen) {
    writeCatalogue(catalogue());
    auto window = open();
    const std::string pickup(std::string("Osobní odběr"_cz));
    struct Row {
        const char* name;
        int payment;
        std::vector<std::string> deliveries;
        bool shop;
    };
    const Row rows[] = {
        {"cash", 0, {pickup}, true},
        {"bank transfer",
         1,
         {pickup, std::string("Česká pošta"_cz), std::string("Pošta na dobírku"_cz)},
         true},
        {"cash on delivery",
         2,
         {std::string("Kurýr na dobírku"_cz), std::string("Pošta na dobírku"_cz)},
         false},
        {"online", 3, {std::string("Česká pošta"_cz)}, false},
        {"an unknown payment is cash", 4, {pickup}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        window->chooseItem(kPayment, row.payment);
        EXPECT_EQ(items(window->combo(kDelivery)), row.deliveries);
        EXPECT_EQ(window->combo(kDelivery).selection(), 0);  // the first offered
        EXPECT_EQ(shopRowShown(*window), row.shop);
        EXPECT_EQ(dialog().shopVisible(), row.shop ? 1 : 0);
    }

    // With a bank transfer only the pickup needs a shop; sent by post, the order has none.
    window->chooseItem(kPayment, 1);
    window->chooseItem(kDelivery, 2);
    EXPECT_FALSE(shopRowShown(*window));
    window->chooseItem(kDelivery, 0);
    EXPECT_TRUE(shopRowShown(*window));
    window->chooseItem(kDelivery, 1);
    EXPECT_FALSE(shopRowShown(*window));
    window->click(kSend);
    ASSERT_TRUE(window->isEnding());
    const OrderParams& sent = document_.params();
    EXPECT_EQ(sent.delivery, 12);
    EXPECT_EQ(sent.deliveryName, "Česká pošta"_cz);
    EXPECT_EQ(sent.shop, 0);
    EXPECT_EQ(sent.shopName, "");
    // The hidden shop box kept its selection, and so does the saved file.
    EXPECT_EQ(savedChoices(), "1\r\r\n1\r\r\n1\r\r\n");
}

TEST_F(OrderParamsDialog, TheChosenShopSurvivesPaymentChangesAndTheChoicesComeBackNextTime) {
    writeCatalogue(catalogue());
    auto window = open();
    // The last of the defaults: the bank transfer and Brno.
    EXPECT_EQ(window->combo(kPayment).selection(), 1);
    EXPECT_EQ(window->combo(kShop).selection(), 1);
    EXPECT_EQ(window->edit(kShopDescription).text(), "Masarykova 25");
    EXPECT_EQ(dialog().selectedShop(), -1);

    window->chooseItem(kShop, 2);
    EXPECT_EQ(window->edit(kShopDescription).text(), "Nádražní 40"_cz);
    window->chooseItem(kPayment, 3);
    EXPECT_FALSE(shopRowShown(*window));
    window->chooseItem(kPayment, 0);
    EXPECT_TRUE(shopRowShown(*window));
    EXPECT_EQ(window->combo(kShop).selection(), 2);
    EXPECT_EQ(window->edit(kShopDescription).text(), "Nádražní 40"_cz);
    window->click(kSend);
    ASSERT_EQ(window->result(), ui::kIdOk);
    EXPECT_EQ(document_.params().shop, 23);
    EXPECT_EQ(document_.params().shopName, "Ostrava");
    EXPECT_EQ(savedChoices(), "0\r\r\n0\r\r\n2\r\r\n");

    window = open();
    EXPECT_EQ(window->combo(kPayment).selection(), 0);
    EXPECT_EQ(window->combo(kDelivery).selection(), 0);
    EXPECT_EQ(window->combo(kShop).selection(), 2);
    EXPECT_EQ(window->edit(kShopDescription).text(), "Nádražní 40"_cz);
}

TEST_F(OrderParamsDialog, SavedPositionsThatNoLongerFitLeaveTheirBoxWithoutASelection) {
    writeCatalogue(catalogue());
    struct Row {
        const char* name;
        const char* saved;
        int payment;
        int delivery;
        int shop;
        std::string_view description;
    };
    const Row rows[] = {
        {"delivery and shop beyond their lists", "1\r\n5\r\n9\r\n", 1, -1, -1, ""},
        {"shop -1: the catalogue's default", "0\n0\n-1\n", 0, 0, 1, "Masarykova 25"},
        {"no payment: cash", "-1\r\r\n0\r\r\n0\r\r\n", -1, 0, 0, "Vodičkova 12"_cz},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        keepChoices(row.saved);
        auto window = open();
        EXPECT_EQ(window->combo(kPayment).selection(), row.payment);
        EXPECT_EQ(window->combo(kDelivery).selection(), row.delivery);
        EXPECT_TRUE(shopRowShown(*window));
        EXPECT_EQ(window->combo(kShop).selection(), row.shop);
        EXPECT_EQ(window->edit(kShopDescription).text(), row.description);
    }

    keepChoices("1\r\n5\r\n9\r\n");
    auto window = open();
    window->click(kSend);
    ASSERT_TRUE(window->isEnding());
    const OrderParams& sent = document_.params();
    EXPECT_EQ(sent.payment, 2);
    EXPECT_EQ(sent.delivery, -1);
    EXPECT_EQ(sent.deliveryName, "");
    EXPECT_EQ(sent.shop, -1);
    EXPECT_EQ(sent.shopName, "");
    EXPECT_EQ(savedChoices(), "1\r\r\n-1\r\r\n-1\r\r\n");
}

TEST_F(OrderParamsDialog, SevenSpecialsAndSixProductsAreOfferedAndFillTheOrdersSlots) {
    writeCatalogue(section("special", {{"S1", "s1", 1, 0},
                                       {"S2", "s2", 2, 1},
                                       {"S3", "s3", 3, 0},
                                       {"S4", "s4", 4, 0},
                                       {"S5", "s5", 5, 0},
                                       {"S6", "s6", 6, 0},
                                       {"S7", "s7", 7, 1},
                                       {"S8", "s8", 8, 1}}) +
                   section("order", {{"P1", "p1", 11, 1},
                                     {"P2", "p2", 12, 0},
                                     {"P3", "p3", 13, 0},
                                     {"P4", "p4", 14, 0},
                                     {"P5", "p5", 15, 0},
                                     {"P6", "p6", 16, 1},
                                     {"P7", "p7", 17, 1}}));
    // What an earlier opening left in the slots: the values stay until Send, the eighth slots go.
    document_.params().specials[1].value = 1;
    document_.params().specials[7] = usedOption(99, "old", "old", 1);
    document_.params().products[6] = usedOption(98, "old", "old", 1);
    auto window = open();

    const int specialBoxes[] = {kSpecial1, kSpecial2, kSpecial3, kSpecial4, kSpecial5, kSpecial6, kSpecial7};
    for (int k = 0; k < 7; ++k) {
        SCOPED_TRACE(k);
        const std::string name = "S" + std::to_string(k + 1);
        EXPECT_TRUE(window->check(specialBoxes[k]).isVisible());
        EXPECT_EQ(window->check(specialBoxes[k]).text(), name);
        EXPECT_EQ(window->check(specialBoxes[k]).isChecked(), k == 1 || k == 6);
        const OrderOption& slot = document_.params().specials[static_cast<std::size_t>(k)];
        EXPECT_EQ(slot.used, 1);
        EXPECT_EQ(slot.id, k + 1);
        EXPECT_EQ(slot.name, name);
        EXPECT_EQ(slot.abbrev, "s" + std::to_string(k + 1));
        EXPECT_EQ(slot.value, k == 1 ? 1 : 0);
    }
    EXPECT_EQ(document_.params().specials[7].used, 0);
    const int productBoxes[] = {kProduct1, kProduct2, kProduct3, kProduct4, kProduct5, kProduct6};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(window->check(productBoxes[k]).text(), "P" + std::to_string(k + 1));
        EXPECT_EQ(document_.params().products[static_cast<std::size_t>(k)].id, 11 + k);
    }
    EXPECT_EQ(document_.params().products[6].used, 0);
}

TEST_F(OrderParamsDialog, SendWantsAProductTickedWhenTheCatalogueOffersAny) {
    writeCatalogue(catalogue());
    auto window = open();
    window->click(kProduct1);  // the default product unticked: nothing is made
    window->click(kSend);
    ASSERT_EQ(desktop_.messages().size(), 1u);
    EXPECT_EQ(desktop_.messages()[0].text, "Musíte si zvolit alespoň jednu položku z výroby."_cz);
    EXPECT_EQ(desktop_.messages()[0].caption, "Parametry objednávky"_cz);
    EXPECT_EQ(desktop_.messages()[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(desktop_.messages()[0].buttons, ui::MessageButtons::Ok);
    EXPECT_FALSE(window->isEnding());
    EXPECT_FALSE(folder_.exists("userdata.sno"));
    EXPECT_EQ(document_.params().payment, 0);

    window->click(kProduct2);
    window->click(kSend);
    EXPECT_EQ(window->result(), ui::kIdOk);
    EXPECT_EQ(document_.params().products[0].value, 0);
    EXPECT_EQ(document_.params().products[1].value, 1);

    // A catalogue without products asks for none, also when an earlier opening filled the slots: those
    // slots leave the order instead of blocking it with nothing to tick.
    writeCatalogue(payments() + deliveries() + shops());
    window = open();
    window->click(kSend);
    EXPECT_EQ(window->result(), ui::kIdOk);
    EXPECT_EQ(desktop_.messages().size(), 1u);
    for (const OrderOption& slot : document_.params().products)
        EXPECT_EQ(slot.used, 0);
}

TEST_F(OrderParamsDialog, APhotobookOffersItsOneProductTickedAndFixed) {
    // The first product is not preset: a photobook is still ordered.
    writeCatalogue(payments() + deliveries() + shops() +
                   section("order", {{"Fotografie", "foto", 41, 0}, {"Archiv", "archiv", 42, 1}}));
    document_.params().products[1] = usedOption(42, "Archiv", "archiv", 1);  // left by a normal order
    auto window = open(true);

    ui::CheckBox& photobook = window->check(kProduct1);
    EXPECT_TRUE(photobook.isVisible());
    EXPECT_FALSE(photobook.isEnabled());
    EXPECT_TRUE(photobook.isChecked());
    EXPECT_EQ(photobook.text(), "Objednat fotoknihu");
    for (int id : {kProduct2, kProduct3, kProduct4, kProduct5, kProduct6})
        EXPECT_FALSE(window->control(id).isVisible()) << id;
    window->click(kSend);
    ASSERT_EQ(window->result(), ui::kIdOk);
    const auto& sent = document_.params().products;
    EXPECT_EQ(sent[0].used, 1);
    EXPECT_EQ(sent[0].id, 41);
    EXPECT_EQ(sent[0].name, "Objednat fotoknihu");
    EXPECT_EQ(sent[0].abbrev, "foto");
    EXPECT_EQ(sent[0].value, 1);
    for (std::size_t k = 1; k < sent.size(); ++k)
        EXPECT_EQ(sent[k].used, 0) << k;
}

TEST_F(OrderParamsDialog, WithoutACatalogueEverythingIsEmptyAndSendStoresNoChoice) {
    auto window = open();
    for (int id : {kPayment, kDelivery, kShop})
        EXPECT_EQ(window->combo(id).count(), 0);
    for (int id : {kSpecial1, kSpecial4, kSpecial7, kProduct1, kProduct6})
        EXPECT_FALSE(window->control(id).isVisible()) << id;
    // The shop is due for a cash order, but there is none to show.
    EXPECT_EQ(dialog().shopVisible(), 1);
    EXPECT_FALSE(shopRowShown(*window));

    window->click(kSend);
    ASSERT_EQ(window->result(), ui::kIdOk);
    const OrderParams& sent = document_.params();
    EXPECT_EQ(sent.payment, -1);
    EXPECT_EQ(sent.delivery, -1);
    EXPECT_EQ(sent.shop, -1);
    EXPECT_EQ(sent.paymentName + sent.paymentAbbrev + sent.deliveryName + sent.shopName, "");
    EXPECT_EQ(savedChoices(), "-1\r\r\n-1\r\r\n-1\r\r\n");
}

TEST_F(OrderParamsDialog, BackEscapeAndEnterEndTheDialogAsTheirButtonsDo) {
    writeCatalogue(catalogue());
    document_.params().paymentName = "before";
    struct Row {
        const char* name;
        std::function<void(HeadlessWindow&)> act;
        int result;
    };
    const Row rows[] = {
        {"Back", [](HeadlessWindow& window) { window.click(kBack); }, ui::kIdCancel},
        {"Escape", [](HeadlessWindow& window) { window.pressEscape(); }, ui::kIdCancel},
        {"Enter on the focused Back",
         [](HeadlessWindow& window) {
             window.control(kBack).focus();
             window.pressEnter();
         },
         ui::kIdCancel},
        {"Enter in the note",
         [](HeadlessWindow& window) {
             window.type(kNote, "x");
             window.pressEnter();
         },
         ui::kIdOk},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto window = open();
        row.act(*window);
        ASSERT_TRUE(window->isEnding());
        EXPECT_EQ(window->result(), row.result);
        EXPECT_EQ(folder_.exists("userdata.sno"), row.result == ui::kIdOk);
        EXPECT_EQ(document_.params().paymentName, row.result == ui::kIdOk ? "Převodem na účet"_cz : "before");
    }
    EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(OrderParamsDialog, TheNoteTakesOnlyWhatAnOrderCarries) {
    writeCatalogue(catalogue());
    auto window = open();
    // Characters that Windows-1250 cannot hold are refused as they are typed.
    window->typeUnicode(kNote, U"Žlutý \u2192 kůň \U0001F600€");
    EXPECT_EQ(window->edit(kNote).text(), "Žlutý  kůň €"_cz);
    window->eraseText(kNote);
    window->type(kNote, std::string(300, 'a'));
    EXPECT_EQ(window->edit(kNote).text(), std::string(254, 'a'));

    // A longer text that came in one piece is not cut behind the customer's back.
    window->edit(kNote).setText(std::string(255, 'b'));
    window->click(kSend);
    EXPECT_FALSE(window->isEnding());
    ASSERT_EQ(desktop_.messages().size(), 1u);
    EXPECT_EQ(desktop_.messages()[0].text,
              "Poznámka: objednávka unese nejvýše 254 znaků, text jich má 255.\r\nZkraťte jej prosím."_cz);
    EXPECT_FALSE(folder_.exists("userdata.sno"));

    window->edit(kNote).setText(std::string(254, 'b'));
    window->click(kSend);
    ASSERT_EQ(window->result(), ui::kIdOk);
    EXPECT_EQ(document_.params().notice, std::string(254, 'b'));
}

TEST_F(OrderParamsDialog, ANameLongerThanAListHoldsIsShownAndSentAsItsFirst127Characters) {
    const std::string longName = std::string(120, 'P') + std::string(" – pobočka u nádraží"_cz);
    writeCatalogue(payments() + deliveries() + section("shop", {{longName, "adresa", 77, 1}}));
    auto window = open();
    EXPECT_EQ(window->combo(kShop).itemText(0), longName.substr(0, 127));
    window->click(kSend);
    ASSERT_EQ(window->result(), ui::kIdOk);
    EXPECT_EQ(document_.params().shop, 77);
    EXPECT_EQ(document_.params().shopName, longName.substr(0, 127));
}

TEST_F(OrderParamsDialog, TheHelpLinkOpensTheHelpFile) {
    auto window = open();
    window->click(kHelpLink);
    EXPECT_EQ(desktop_.openedWithShell(), std::vector<std::string>{platform::helpDocument()});
    EXPECT_FALSE(window->isEnding());
}

TEST_F(OrderParamsDialog, AFullOrderReachesTheOrderFileByteForByte) {
    writeCatalogue(catalogue());
    auto window = open();
    window->chooseItem(kShop, 0);
    window->type(kNote, "Prosím rychle, #2 = lesk"_cz);
    window->click(kSpecial1);  // Expres, beside the preset Neořezávat
    window->click(kProduct3);  // CD, beside the preset Fotografie
    window->click(kSend);
    ASSERT_EQ(window->result(), ui::kIdOk);

    const OrderParams& sent = document_.params();
    EXPECT_EQ(sent.payment, 2);
    EXPECT_EQ(sent.paymentName, "P\xF8\x65vodem na \xFA\xE8\x65t");
    EXPECT_EQ(sent.paymentAbbrev, "ucet");
    EXPECT_EQ(sent.delivery, 11);
    EXPECT_EQ(sent.deliveryName, "Osobn\xED odb\xECr");
    EXPECT_EQ(sent.shop, 21);
    EXPECT_EQ(sent.shopName, "Praha 1");
    EXPECT_EQ(sent.notice, "Pros\xEDm rychle, #2 = lesk");
    EXPECT_EQ(sent.discCode, "");
    const OrderOption expectedSpecials[] = {
        usedOption(31, "Expres", "expres", 1),
        usedOption(32, "Neo\xF8\x65z\xE1vat", "neorez", 1),
        usedOption(33, "D\xE1rek", "darek", 0),
    };
    const OrderOption expectedProducts[] = {
        usedOption(41, "Fotografie", "foto", 1),
        usedOption(42, "Archiv", "archiv", 0),
        usedOption(43, "CD", "cd", 1),
    };
    for (std::size_t k = 0; k < OrderParams::kOptionSlots; ++k) {
        SCOPED_TRACE(k);
        const OrderOption none;
        const OrderOption& special = k < 3 ? expectedSpecials[k] : none;
        const OrderOption& product = k < 3 ? expectedProducts[k] : none;
        for (auto [got, want] :
             {std::pair{&sent.specials[k], &special}, std::pair{&sent.products[k], &product}}) {
            EXPECT_EQ(got->used, want->used);
            EXPECT_EQ(got->id, want->id);
            EXPECT_EQ(got->name, want->name);
            EXPECT_EQ(got->abbrev, want->abbrev);
            EXPECT_EQ(got->value, want->value);
        }
    }
    EXPECT_EQ(document_.customer().firstName + document_.customer().email, "");

    document_.setIdentity({"2026-12-08", "obj100001", "1001", "100001"});
    document_.setCurrentPhoto({0, 2, std::string("10 x 15 cm-Lesklý-Bez okraje-1x"_cz), 1, 1, 1});
    ASSERT_EQ(document_.addEntry("/home/jana/fotky", "a.jpg"), AddEntryResult::Added);
    document_.setCurrentPhoto({0, 3, std::string("13 x 18 cm-Matný-S okrajem-2x"_cz), 2, 2, 2});
    ASSERT_EQ(document_.addEntry("/home/jana/fotky", "b.jpg"), AddEntryResult::Added);
    ASSERT_EQ(document_.writeOrderFile("obj.snf"), 0);
    const std::string expected = std::string() +
                                 "[Customer]\r\r\n"
                                 "ID=1001\r\r\n"
                                 "\r\r\n"
                                 "[Order]\r\r\n"
                                 "ID=100001\r\r\n"
                                 "SystemID=1\r\r\n"
                                 "Date=2026-12-08\r\r\n"
                                 "Version=" +
                                 std::string(build::kVersion) +
                                 "\r\r\n"
                                 "Notice=Pros\xEDm rychle, #2 = lesk\r\r\n"
                                 "Payment=2\r\r\n"
                                 "Delivery=11\r\r\n"
                                 "Shop=21\r\r\n"
                                 "# Payment:  P\xF8\x65vodem na \xFA\xE8\x65t\r\r\n"
                                 "# Delivery: Osobn\xED odb\xECr\r\r\n"
                                 "# Shop:     Praha 1\r\r\n"
                                 "\r\r\n"
                                 "[OrderSpecials]\r\r\n"
                                 "# Expres (expres): 1\r\r\n"
                                 "31=1\r\r\n"
                                 "# Neo\xF8\x65z\xE1vat (neorez): 1\r\r\n"
                                 "32=1\r\r\n"
                                 "# D\xE1rek (darek): 0\r\r\n"
                                 "33=0\r\r\n"
                                 "\r\r\n"
                                 "[OrderProducts]\r\r\n"
                                 "# Fotografie (foto): 1\r\r\n"
                                 "41=1\r\r\n"
                                 "# Archiv (archiv): 0\r\r\n"
                                 "42=0\r\r\n"
                                 "# CD (cd): 1\r\r\n"
                                 "43=1\r\r\n"
                                 "\r\r\n"
                                 "[Content]\r\r\n"
                                 "Name=001_100001_a.jpg\r\r\n"
                                 "# 10 x 15 cm-Leskl\xFD-Bez okraje-1x \r\r\n"
                                 "Format=2\r\r\n"
                                 "Count=1\r\r\n"
                                 "Border=1\r\r\n"
                                 "Dull=1\r\r\n"
                                 "Name=002_100001_b.jpg\r\r\n"
                                 "# 13 x 18 cm-Matn\xFD-S okrajem-2x \r\r\n"
                                 "Format=3\r\r\n"
                                 "Count=2\r\r\n"
                                 "Border=2\r\r\n"
                                 "Dull=2\r\r\n"
                                 "\r\r\n"
                                 "[Price]\r\r\n";
    EXPECT_EQ(folder_.read("obj.snf"), expected);
}

}  // namespace
