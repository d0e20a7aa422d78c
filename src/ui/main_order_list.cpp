// The order list of the main window: the rows of the order in progress, their removal, and the buttons
// and summary line that follow the order.
#include <cstdint>
#include <string>
#include <vector>

#include "app/ui_texts.h"
#include "order/order_state_file.h"
#include "order/order_totals.h"
#include "text/format.h"
#include "ui/main_order_dlg.h"
#include "ui/resource_ids.h"

namespace {

using namespace main_ids;

}  // namespace

void CMainOrderDlg::LoadOrder() {
    const bool opened = loadOrder(order_);
    std::vector<std::string> texts;
    texts.reserve(order_.size());
    for (const OrderList::Row& row : order_.rows())
        texts.push_back(row.text);
    host().list(kOrderList).addItems(texts);
    // An order kept from the last run means the program has been used before: the lab's files are
    // brought up to date.
    if (opened)
        Update();
}

void CMainOrderDlg::TakeOrderSelection() {
    order_.clearSelection();
    for (int index : host().list(kOrderList).selectedItems())
        order_.setSelected(static_cast<std::size_t>(index), true);
}

void CMainOrderDlg::ShowSelectedRows() {
    ui::ListBox& rows = host().list(kOrderList);
    for (std::size_t i = 0; i < order_.size(); ++i) {
        if (order_[i].selected && rows.itemText(static_cast<int>(i)) != order_[i].text)
            rows.replaceItem(static_cast<int>(i), order_[i].text);
    }
}

std::optional<std::size_t> CMainOrderDlg::DeleteSelectedRows() {
    ui::ListBox& rows = host().list(kOrderList);
    TakeOrderSelection();
    const std::vector<int> selected = rows.selectedItems();
    const auto following = order_.removeSelected();
    for (auto index = selected.rbegin(); index != selected.rend(); ++index)
        rows.deleteItem(*index);
    return following;
}

void CMainOrderDlg::DeleteAllRows() {
    order_.removeAll();
    host().list(kOrderList).clear();
}

void CMainOrderDlg::OrderListClicked() {
    selectionMode_ = SelectionMode::Order;
    host().button(kRemove).show(true);
    host().button(kAdd).show(false);
    lastUsedList_ = LastUsedList::Order;

    ui::ListBox& rows = host().list(kOrderList);
    const int caret = rows.caret();
    if (caret >= 0 && rows.isSelected(caret))
        Preview(std::string(order_item::path(rows.itemText(caret))));
}

void CMainOrderDlg::RemoveSelectedItems() {
    DeleteSelectedRows();
    RefreshButtonsAndSummary();
}

bool CMainOrderDlg::RemoveSelectedItemsByKey(const ui::KeyEvent& key) {
    // A held key repeats: only its first press deletes. The keypad's Delete is left to the list.
    const bool deleting = key.key == ui::Key::Backspace || (key.key == ui::Key::Delete && key.extended);
    if (!deleting || !key.isFirstPress())
        return false;
    if (const auto following = DeleteSelectedRows()) {
        ui::ListBox& rows = host().list(kOrderList);
        const int next = static_cast<int>(*following);
        rows.setSelected(next, true);
        rows.setCaret(next);
        OrderListClicked();
    }
    RefreshButtonsAndSummary();
    return false;
}

void CMainOrderDlg::DeleteOrder() {
    const ui::MessageAnswer answer =
        host().services().messageBox(uiText(UiText::AskDeleteOrder), uiText(UiText::DeleteOrderCaption),
                                     ui::MessageIcon::Question, ui::MessageButtons::YesNo);
    // Only the rows go; the photographs on the disk stay where they are.
    if (answer != ui::MessageAnswer::No)
        DeleteAllRows();
    RefreshButtonsAndSummary();
}

void CMainOrderDlg::RefreshButtonsAndSummary() {
    const bool empty = order_.empty();
    host().button(kPhotobook).enable(empty);
    host().button(kSend).enable(!empty);
    host().button(kDeleteOrder).enable(!empty);
    for (int id : {kPhotobook, kSend, kDeleteOrder})
        host().button(id).redraw();
    RefreshSummary(true);
}

void CMainOrderDlg::RefreshSummary(bool askAboutMissing) {
    if (askAboutMissing && starting_) {
        askAfterStart_ = true;
        askAboutMissing = false;
    }
    const OrderTotals totals = computeTotals(order_);
    if (askAboutMissing) {
        for (std::size_t i = 0; i < totals.invalidSizes; ++i)
            host().services().messageBox("invalid size", "", ui::MessageIcon::Exclamation,
                                         ui::MessageButtons::Ok);
        if (totals.missingFiles > 0) {
            askedSincePreviewChosen_ = true;
            const std::string question = formatUiText(ui_format::MissingPhotos, totals.missingFiles);
            if (host().services().messageBox(question, "", ui::MessageIcon::Question,
                                             ui::MessageButtons::YesNo) == ui::MessageAnswer::Yes) {
                DeleteOrder();  // asks once more, then refreshes all of this
                return;
            }
        }
    }
    const std::string megabytes = megabytesText(totals.bytes);
    host().label(kSummary).setText(formatUiText(ui_format::Summary, totals.items, totals.copies, megabytes));
}

void CMainOrderDlg::AskAfterStart() {
    if (!askAfterStart_)
        return;
    askAfterStart_ = false;
    // Posted: the event loop runs it once the window is on the screen.
    services().runOnUiThread([this, alive = std::weak_ptr<int>(alive_)] {
        if (!alive.expired() && hasHost() && !host().isEnding())
            RefreshSummary(true);
    });
}
