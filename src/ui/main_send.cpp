// Sending the order from the main window, the photobook, and the update from the lab's server.
#include <array>

#include "app/ui_texts.h"
#include "buildinfo/build_constants.h"
#include "documents/order_document.h"
#include "text/cp1250.h"
#include "text/format.h"
#include "ui/desktop_open.h"
#include "ui/main_order_dlg.h"
#include "ui/resource_ids.h"

namespace {

using namespace main_ids;

// The payments that are paid on the lab's payment page once the order was sent.
bool isPaidOnline(std::string_view payment) {
    constexpr std::array<std::string_view, 4> kOnline = {"online", "paysec", "paypal", "card"};
    for (std::string_view online : kOnline) {
        if (payment == online)
            return true;
    }
    return false;
}

// Sets a flag for the lifetime of the object.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
};

}  // namespace

void CMainOrderDlg::Send() {
    if (!photobookMode_ && !ConvertOrderForSending())
        return;
    // The order parameters and the sending dialog come with their own windows; until the application
    // wires them, the send path ends with the order converted.
    OrderSession session = Session();
    if (!hooks_.runOrderParams || !hooks_.runOrderParams(session))
        return;
    if (!hooks_.runSending)
        return;
    const SendingOutcome outcome = hooks_.runSending(session);
    if (outcome == SendingOutcome::Nothing)
        return;
    // The payment page only for an order the lab has; a new order after one that is sent or saved.
    if (outcome == SendingOutcome::Sent)
        OfferOnlinePayment();
    if (host().services().messageBox(uiText(UiText::AskNewOrder), "Snapord", ui::MessageIcon::Question,
                                     ui::MessageButtons::YesNo) == ui::MessageAnswer::Yes)
        DeleteOrder();
}

bool CMainOrderDlg::ConvertOrderForSending() {
    SaveOrder();
    OrderDocument& document = document_;
    document.reset();
    // The document holds a fixed number of photographs: a larger order would reach the lab in part.
    if (order_.size() > OrderDocument::kSlotCount) {
        host().services().messageBox(
            text::format("Objednávka obsahuje %d fotografií, najednou lze odeslat nejvýše %d.\r\n"
                         "Rozdělte ji prosím do více objednávek."_cz,
                         order_.size(), OrderDocument::kSlotCount),
            "", ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
        return false;
    }
    const ConversionResult converted = convertOrder(order_, parameterLists(), document);
    if (converted.leftOut > 0) {
        document.reset();
        host().services().messageBox(
            text::format("Objednávku nelze odeslat celou: %d fotografií se do ní nevešlo.\r\n"
                         "Objednávka nebyla odeslána."_cz,
                         converted.leftOut),
            "", ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
        return false;
    }
    return true;
}

void CMainOrderDlg::OfferOnlinePayment() {
    const OrderDocument& document = document_;
    const std::string& payment = document.params().paymentAbbrev;
    if (!isPaidOnline(payment))
        return;
    host().services().messageBox(
        std::string("Nyní budete přesměrováni na platební bránu "_cz) + std::string(build::kServiceDomain),
        "Snapord platba objednávky"_cz, ui::MessageIcon::Information, ui::MessageButtons::Ok);
    // Without a browser the customer is shown the address, so the payment can still be made.
    OpenAddress(host().services(), std::string(build::kServerUrl) + "/onlineplatba.php" +
                                       text::format("?obj=%s&type=%s", document.identity().orderId, payment));
}

void CMainOrderDlg::SendPhotobook() {
    if (!hooks_.sendPhotobook)
        return;
    OrderSession session = Session();
    hooks_.sendPhotobook(session);
}

void CMainOrderDlg::SendPhotobookDocument() {
    FlagScope photobook(photobookMode_);
    Send();
}

void CMainOrderDlg::Update() {
    // Until the update procedure is wired, the lab's files are not fetched and nothing changes here.
    if (!hooks_.runUpdate)
        return;
    for (int id : {kPhotobook, kSend}) {
        host().button(id).enable(false);
        host().button(id).redraw();
    }
    ShowStatus(uiText(UiText::Loading));
    OrderSession session = Session();
    hooks_.runUpdate(session);
    LoadParameterLists();
    header_.reloadAfterUpdate();
    host().redraw();
    RefreshButtonsAndSummary();
}
