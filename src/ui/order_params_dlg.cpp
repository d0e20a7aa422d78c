#include "ui/order_params_dlg.h"

#include <string>
#include <string_view>

#include "app/ui_texts.h"
#include "buildinfo/build_constants.h"
#include "catalogue/code_list.h"
#include "documents/user_data.h"
#include "image/builtin_pictures.h"
#include "text/cp1250.h"
#include "text/format.h"
#include "ui/desktop_open.h"
#include "ui/dialog_resources.h"
#include "ui/resource_ids.h"

namespace {

using namespace params_ids;

constexpr std::array<int, 7> kSpecialBoxes = {kSpecial1, kSpecial2, kSpecial3, kSpecial4,
                                              kSpecial5, kSpecial6, kSpecial7};
constexpr std::array<int, 6> kProductBoxes = {kProduct1, kProduct2, kProduct3,
                                              kProduct4, kProduct5, kProduct6};
constexpr std::array<int, 5> kBoldControls = {kHeading, kCustomerHeading, kSpecialHeading, kBack, kSend};
constexpr std::array<int, 10> kCustomerFields = {kFirstName, kSurname, kStreet,  kCity,          kPostcode,
                                                 kEmail,     kPhone,   kCompany, kCompanyNumber, kTaxNumber};
constexpr std::array<int, 3> kShopRow = {kShop, kShopDescription, kShopLabel};

// The window opens this far to the right of where the desktop puts it ...
constexpr int kMoveRight = 200;
// ... and as wide as the parameters' column: 273 dialog units are 410 pixels with the standard dialog
// font. The customer's fields beyond stay out of sight.
constexpr int kParametersColumnUnits = 273;

const ui::Font kBoldFont{"Arial", -11, ui::Font::kBold, false};

// In photobook mode the one product offered is the photobook itself.
constexpr std::string_view kPhotobookProduct = "Objednat fotoknihu";

// What a payment asks of the delivery, from its abbreviation; an unknown one is paid in cash.
enum class PaymentClass { Cash, BankTransfer, CashOnDelivery, Online };
// How the order travels, from the delivery's abbreviation; an unknown one is picked up at a shop.
enum class DeliveryClass { Pickup, Post, CashOnDelivery, PostCashOnDelivery };

PaymentClass paymentClassOf(std::string_view abbreviation) {
    if (abbreviation == "ucet")
        return PaymentClass::BankTransfer;
    if (abbreviation == "dob")
        return PaymentClass::CashOnDelivery;
    for (std::string_view online : {"online", "paysec", "paypal", "card"}) {
        if (abbreviation == online)
            return PaymentClass::Online;
    }
    return PaymentClass::Cash;  // "hot", anything else, and no payment at all
}

DeliveryClass deliveryClassOf(std::string_view abbreviation) {
    if (abbreviation == "post")
        return DeliveryClass::Post;
    if (abbreviation == "dob")
        return DeliveryClass::CashOnDelivery;
    if (abbreviation == "postdob")
        return DeliveryClass::PostCashOnDelivery;
    return DeliveryClass::Pickup;
}

// Whether a payment of this class offers the delivery with this abbreviation.
bool offersDelivery(PaymentClass payment, std::string_view delivery) {
    switch (payment) {
        case PaymentClass::Cash:
            return delivery == "os";
        case PaymentClass::BankTransfer:
            return delivery == "os" || delivery == "post" || delivery == "postdob";
        case PaymentClass::CashOnDelivery:
            return delivery == "dob" || delivery == "postdob";
        case PaymentClass::Online:
            return delivery == "post";
    }
    return false;
}

// Fills a drop-down list with the names of the list, selecting each entry with the default flag as it is
// added, so that the last of them stays selected.
void fillCombo(ui::ComboBox& combo, const OptionList& list) {
    combo.clear();
    for (int i = 0; i < list.count(); ++i) {
        combo.addItem(list.nameAt(i));
        if (list.isDefaultAt(i))
            combo.select(i);
    }
}

}  // namespace

CDialogBarSendParamsDlg::CDialogBarSendParamsDlg(OrderDocument& document, bool photobookMode)
    : document_(document), photobookMode_(photobookMode) {}

void CDialogBarSendParamsDlg::onInit() {
    selectedShop_ = -1;
    SetUpButtonsAndFonts();
    NarrowToParameters();
    shopCount_ = 0;
    shopVisible_ = 0;
    LoadLists();
    ui::DialogHost& window = host();
    window.edit(kDiscountCode).show(false);
    window.label(kDiscountCodeLabel).show(false);
    for (int id : {kSpecial1, kSpecial2, kSpecial3})
        window.check(id).show(false);
    RestoreSavedChoices();
    FillOptions("special", kSpecialBoxes, document_.params().specials);
    if (photobookMode_) {
        for (int id : std::span(kProductBoxes).subspan(1))
            window.check(id).show(false);
        FillOptions("order", std::span(kProductBoxes).first(1), document_.params().products);
        OfferPhotobook();
    } else {
        FillOptions("order", kProductBoxes, document_.params().products);
    }
    RefillDeliveries();
    window.combo(kDelivery).select(savedDelivery_);
    ApplyPaymentAndDelivery();
    SetTexts();
}

void CDialogBarSendParamsDlg::onOk() {
    Send();
}

void CDialogBarSendParamsDlg::onCancel() {
    host().end(ui::kIdCancel);
}

void CDialogBarSendParamsDlg::onCommand(int id) {
    if (id == kBack)
        onCancel();
    else if (id == kSend)
        onOk();
    else if (id == kHelpLink)
        Help();
}

void CDialogBarSendParamsDlg::onSelectionChange(int id) {
    if (id == kPayment) {
        RefillDeliveries();
        ApplyPaymentAndDelivery();
    } else if (id == kDelivery) {
        ApplyPaymentAndDelivery();
    } else if (id == kShop) {
        ShopChanged();
    }
}

void CDialogBarSendParamsDlg::SetUpButtonsAndFonts() {
    ui::DialogHost& window = host();
    sendIcons_.Attach(window.button(kSend));
    sendIcons_.SetIcon(builtin::kSendIcon, CButtonIcons::kBothSides);
    backIcons_.Attach(window.button(kBack));
    backIcons_.SetIcon(builtin::kBackIcon, CButtonIcons::kBothSides);
    for (int id : kBoldControls)
        window.control(id).setFont(kBoldFont);
}

void CDialogBarSendParamsDlg::NarrowToParameters() {
    ui::DialogHost& window = host();
    const ui::Rect outer = window.windowRect();
    const int frame = outer.width - window.clientSize().width;
    const int width = window.dialogUnitsToPixels({0, 0, kParametersColumnUnits, 0}).width + frame;
    window.moveWindow({outer.x + kMoveRight, outer.y, width, outer.height});
    for (int id : kCustomerFields)
        window.edit(id).show(false);
}

void CDialogBarSendParamsDlg::LoadLists() {
    CodeList codes;
    fillOptionList(codes, "pay", payList_);
    fillOptionList(codes, "delivery", deliveryList_);
    shopCount_ = fillOptionList(codes, "shop", shopList_);
    fillCombo(host().combo(kPayment), payList_);
    // Replaced by the deliveries the payment offers once the saved choices are in.
    fillCombo(host().combo(kDelivery), deliveryList_);
}

void CDialogBarSendParamsDlg::RestoreSavedChoices() {
    savedDelivery_ = 0;
    const SavedChoices saved = restoreSavedChoices();
    if (saved.payment)
        host().combo(kPayment).select(*saved.payment);
    if (saved.delivery) {
        host().combo(kDelivery).select(*saved.delivery);
        savedDelivery_ = *saved.delivery;
    }
    if (saved.shop)
        selectedShop_ = *saved.shop;
}

void CDialogBarSendParamsDlg::FillOptions(std::string_view section, std::span<const int> boxes,
                                          std::array<OrderOption, OrderParams::kOptionSlots>& slots) {
    CodeList codes;
    OptionList entries;
    fillOptionList(codes, section, entries);
    std::size_t filled = 0;
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        ui::CheckBox& box = host().check(boxes[k]);
        const int entry = static_cast<int>(k);
        if (entry >= entries.count()) {
            box.show(false);
            continue;
        }
        box.setText(entries.nameAt(entry));
        box.setChecked(entries.isDefaultAt(entry));
        box.show(true);
        OrderOption& slot = slots[k];
        slot.used = 1;
        slot.id = entries.idAt(entry);
        slot.name = entries.nameAt(entry);
        slot.abbrev = entries.abbreviationAt(entry);
        filled = k + 1;
    }
    // A slot without a box would still reach the lab, and an unticked one would fail the product check
    // with nothing left to tick: the order carries exactly the options offered now.
    for (std::size_t k = filled; k < slots.size(); ++k)
        slots[k] = OrderOption{};
}

void CDialogBarSendParamsDlg::OfferPhotobook() {
    // The one product of a photobook order is the photobook: the box says so, is ticked and cannot be
    // changed, and the lab reads the same name beside the first product's id.
    ui::CheckBox& box = host().check(kProduct1);
    box.enable(false);
    OrderOption& slot = document_.params().products[0];
    if (slot.used != 1)
        return;
    box.setText(kPhotobookProduct);
    box.setChecked(true);
    slot.name = kPhotobookProduct;
}

void CDialogBarSendParamsDlg::SetTexts() {
    struct Text {
        int id;
        UiText text;
    };
    constexpr Text kTexts[] = {
        {kHeading, UiText::OrderParamsTitle},
        {kPaymentLabel, UiText::PaymentLabel},
        {kDeliveryLabel, UiText::DeliveryLabel},
        {kInformation, UiText::SaveToDiskHint},
        {kShopLabel, UiText::ShopLabel},
        {kSpecialHeading, UiText::SpecialRequirements},
        {kNoteLabel, UiText::NoteLabel},
        {kDiscountCodeLabel, UiText::DiscountCodeLabel},
        {kProduceLabel, UiText::ProduceLabel},
        {kBack, UiText::BackButton},
        {kSend, UiText::SendButton},
        {kHelpLink, UiText::HelpLink},
    };
    ui::DialogHost& window = host();
    for (const Text& text : kTexts)
        window.control(text.id).setText(uiText(text.text));
    window.setTitle(text::format("%s - %s", build::kProductName, uiText(UiText::OrderParamsTitle)));
    // What the order carries of a note or a discount code; the fields take no more.
    window.edit(kNote).setLimit(kTextLimit);
    window.edit(kDiscountCode).setLimit(kTextLimit);
}

void CDialogBarSendParamsDlg::RefillDeliveries() {
    const PaymentClass payment = paymentClassOf(payList_.abbreviationAt(host().combo(kPayment).selection()));
    ui::ComboBox& combo = host().combo(kDelivery);
    combo.clear();
    deliveryMap_.clear();
    for (int i = 0; i < deliveryList_.count(); ++i) {
        if (offersDelivery(payment, deliveryList_.abbreviationAt(i))) {
            combo.addItem(deliveryList_.nameAt(i));
            deliveryMap_.push_back(i);
        }
        if (combo.count() == 1)
            combo.select(0);
    }
}

int CDialogBarSendParamsDlg::DeliveryAt(int position) const {
    if (position < 0 || position >= static_cast<int>(deliveryMap_.size()))
        return -1;
    return deliveryMap_[static_cast<std::size_t>(position)];
}

void CDialogBarSendParamsDlg::ApplyPaymentAndDelivery() {
    const PaymentClass payment = paymentClassOf(payList_.abbreviationAt(host().combo(kPayment).selection()));
    const DeliveryClass delivery =
        deliveryClassOf(deliveryList_.abbreviationAt(DeliveryAt(host().combo(kDelivery).selection())));
    HideShopRow();
    if (payment == PaymentClass::Cash ||
        (payment == PaymentClass::BankTransfer && delivery == DeliveryClass::Pickup))
        ShowShopRow();
}

void CDialogBarSendParamsDlg::HideShopRow() {
    for (int id : kShopRow)
        host().control(id).show(false);
    shopVisible_ = 0;
}

void CDialogBarSendParamsDlg::ShowShopRow() {
    shopVisible_ = 1;
    if (shopCount_ == 0)
        return;
    ui::DialogHost& window = host();
    ui::Edit& description = window.edit(kShopDescription);
    description.setText({});
    for (int id : kShopRow)
        window.control(id).show(true);
    ui::ComboBox& combo = window.combo(kShop);
    combo.clear();
    for (int i = 0; i < shopList_.count(); ++i) {
        combo.addItem(shopList_.nameAt(i));
        // The catalogue's default shop until the customer has chosen one.
        if (selectedShop_ == -1 && shopList_.isDefaultAt(i)) {
            combo.select(i);
            description.setText(shopList_.abbreviationAt(i));
        }
    }
    if (selectedShop_ != -1) {
        combo.select(selectedShop_);
        if (combo.selection() != -1)
            description.setText(shopList_.abbreviationAt(selectedShop_));
    }
}

void CDialogBarSendParamsDlg::ShopChanged() {
    selectedShop_ = host().combo(kShop).selection();
    host().edit(kShopDescription).setText(shopList_.abbreviationAt(selectedShop_));
}

void CDialogBarSendParamsDlg::Help() {
    OpenHelp(host().services());
}

bool CDialogBarSendParamsDlg::TextsFit() {
    struct Field {
        int id;
        UiText label;
    };
    constexpr Field kFields[] = {{kNote, UiText::NoteLabel}, {kDiscountCode, UiText::DiscountCodeLabel}};
    for (const Field& field : kFields) {
        const std::size_t length = host().edit(field.id).text().size();
        if (length <= OrderParams::kTextLimit)
            continue;
        host().services().messageBox(
            text::format("%s: objednávka unese nejvýše %d znaků, text jich má %d.\r\nZkraťte jej prosím."_cz,
                         uiText(field.label), kTextLimit, length),
            uiText(UiText::OrderParamsTitle), ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
        return false;
    }
    return true;
}

void CDialogBarSendParamsDlg::Send() {
    ui::DialogHost& window = host();
    OrderParams params;
    params.specials = document_.params().specials;
    params.products = document_.params().products;

    const int payment = window.combo(kPayment).selection();
    params.payment = payList_.idAt(payment);
    params.paymentName = payList_.nameAt(payment);
    params.paymentAbbrev = payList_.abbreviationAt(payment);
    const int delivery = DeliveryAt(window.combo(kDelivery).selection());
    params.delivery = deliveryList_.idAt(delivery);
    params.deliveryName = deliveryList_.nameAt(delivery);
    if (shopVisible_ == 0) {
        params.shop = 0;
    } else {
        const int shop = window.combo(kShop).selection();
        params.shop = shopList_.idAt(shop);
        params.shopName = shopList_.nameAt(shop);
    }
    params.notice = window.edit(kNote).text();
    params.discCode = window.edit(kDiscountCode).text();
    for (std::size_t k = 0; k < kSpecialBoxes.size(); ++k)
        params.specials[k].value = window.check(kSpecialBoxes[k]).isChecked() ? 1 : 0;
    for (std::size_t k = 0; k < kProductBoxes.size(); ++k)
        params.products[k].value = window.check(kProductBoxes[k]).isChecked() ? 1 : 0;

    if (!TextsFit())
        return;
    // Something must be made, when the catalogue offers anything to make.
    int used = 0;
    int ticked = 0;
    for (std::size_t k = 0; k < kProductBoxes.size(); ++k) {
        if (params.products[k].used != 1)
            continue;
        ++used;
        ticked += params.products[k].value == 1 ? 1 : 0;
    }
    if (used > 0 && ticked == 0) {
        window.services().messageBox(uiText(UiText::ChooseProduct), uiText(UiText::OrderParamsTitle),
                                     ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
        return;
    }

    saveChoices(window.combo(kPayment).selection(), window.combo(kDelivery).selection(),
                window.combo(kShop).selection());
    document_.setParams(params);
    document_.setCustomer(CustomerData{});
    window.end(ui::kIdOk);
}

bool runOrderParams(OrderSession& session) {
    CDialogBarSendParamsDlg dialog(session.document, session.mainWindow.photobookMode());
    return session.services.runModal(dialog, orderParamsTemplate()) == ui::kIdOk;
}
