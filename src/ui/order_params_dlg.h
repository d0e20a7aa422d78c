// CDialogBarSendParamsDlg: the order parameters dialog, where the customer chooses before sending how
// the order is paid and delivered, at which shop it is picked up, adds a note and ticks the special
// requirements and the products to make.
//
// The main window builds it anew for every Send, over the run's order document, and runs it modally on
// its template. The chosen payment decides which deliveries are offered; payment and delivery decide
// whether a shop must be chosen. Back (and Esc) ends the run with Cancel; Send (and Enter outside a push
// button) checks the choices, saves the three combo positions to userdata.sno, hands the order
// parameters and an empty customer record to the document and ends with OK. When it opens it also fills
// the document's special and product slots from the catalogue. Nothing of the dialog outlives its run
// but what it wrote to the document and to userdata.sno. UI thread only; the document must outlive the
// dialog, and no transfer may run meanwhile.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "catalogue/option_list.h"
#include "documents/order_document.h"
#include "ui/button_icons.h"
#include "ui/controls/dialog.h"
#include "ui/order_session.h"

class CDialogBarSendParamsDlg : public ui::Dialog {
  public:
    // `photobookMode`: the document holds a photobook (the main window's flag); only the first product
    // is offered, as the photobook itself.
    CDialogBarSendParamsDlg(OrderDocument& document, bool photobookMode);
    CDialogBarSendParamsDlg(const CDialogBarSendParamsDlg&) = delete;
    CDialogBarSendParamsDlg& operator=(const CDialogBarSendParamsDlg&) = delete;

    void onInit() override;
    // Send.
    void onOk() override;
    // Back.
    void onCancel() override;
    void onCommand(int id) override;
    void onSelectionChange(int id) override;

    // The most characters of a note or a discount code that an order carries.
    static constexpr int kTextLimit = static_cast<int>(OrderParams::kTextLimit);

    // --- State the tests look at
    // 1 while the shop row is due for the order (even when there are no shops to show).
    int shopVisible() const { return shopVisible_; }
    // The position of the chosen shop; -1 until one is chosen or restored.
    int selectedShop() const { return selectedShop_; }
    const CButtonIcons& backIcons() const { return backIcons_; }
    const CButtonIcons& sendIcons() const { return sendIcons_; }

  private:
    void SetUpButtonsAndFonts();
    void NarrowToParameters();
    void LoadLists();
    void RestoreSavedChoices();
    // Gives the k-th box the k-th entry of the catalogue section and fills the document's slot k with
    // it; a box without an entry is hidden, and every slot without a box is emptied.
    void FillOptions(std::string_view section, std::span<const int> boxes,
                     std::array<OrderOption, OrderParams::kOptionSlots>& slots);
    void OfferPhotobook();
    void SetTexts();

    void RefillDeliveries();
    void ApplyPaymentAndDelivery();
    void ShowShopRow();
    void HideShopRow();
    void ShopChanged();
    void Help();
    void Send();
    // The catalogue position of the delivery at this position of the delivery combo box; -1 outside.
    int DeliveryAt(int position) const;
    // Whether the note and the discount code fit the order; else the user is told which does not.
    bool TextsFit();

    OrderDocument& document_;
    bool photobookMode_;
    OptionList payList_;
    OptionList deliveryList_;
    OptionList shopList_;
    // For each position of the delivery combo box, the index of its entry in deliveryList_.
    std::vector<int> deliveryMap_;
    int savedDelivery_ = 0;
    int shopCount_ = 0;
    int shopVisible_ = 0;
    int selectedShop_ = -1;
    CButtonIcons backIcons_;
    CButtonIcons sendIcons_;
};

// Runs the dialog modally over the session's order document; true when it ended with Send, and the
// document then holds the order parameters.
bool runOrderParams(OrderSession& session);
