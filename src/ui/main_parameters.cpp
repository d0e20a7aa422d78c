// The parameter block of the main window: the format, paper and border lists, the copies field and the
// special-photo check boxes, and how they change the selected order rows.
#include <array>

#include "catalogue/code_list.h"
#include "text/numbers.h"
#include "ui/main_order_dlg.h"
#include "ui/resource_ids.h"

namespace {

using namespace main_ids;

constexpr std::array<int, 3> kSpecialBoxes = {kSpecial1, kSpecial2, kSpecial3};
constexpr std::size_t kCopiesDigits = 3;

// Fills a drop-down list with the names of the entries and selects the catalogue's default (none when
// no entry is marked).
void fillCombo(ui::ComboBox& combo, const OptionList& list) {
    combo.clear();
    for (int i = 0; i < list.count(); ++i)
        combo.addItem(list.nameAt(i));
    combo.select(list.defaultPosition());
}

// The copies field kept to at most three digits and at least 1; the empty field stays empty (rows then
// get 1 copy).
std::string correctedCopies(std::string_view typed) {
    std::string copies(typed.substr(0, std::min(typed.size(), kCopiesDigits)));
    if (!copies.empty() && text::leadingInt(copies) < 1)
        copies = "1";
    return copies;
}

}  // namespace

void CMainOrderDlg::LoadParameterLists() {
    CodeList codes;
    fillOptionList(codes, "format", formats_);
    fillOptionList(codes, "surface", surfaces_);
    fillOptionList(codes, "margin", margins_);
    fillOptionList(codes, "specialfoto", specials_);
    fillCombo(host().combo(kFormat), formats_);
    fillCombo(host().combo(kPaper), surfaces_);
    fillCombo(host().combo(kBorder), margins_);

    for (std::size_t i = 0; i < kSpecialBoxes.size(); ++i) {
        ui::CheckBox& box = host().check(kSpecialBoxes[i]);
        const int entry = static_cast<int>(i);
        box.show(entry < specials_.count());
        if (entry < specials_.count()) {
            box.setText(specials_.nameAt(entry));
            box.setChecked(specials_.isDefaultAt(entry));
        }
    }

    // Resetting the field is no choice of the user: the selected rows keep their copies.
    reloadingParameters_ = true;
    host().edit(kCopies).setText("1");
    reloadingParameters_ = false;
}

void CMainOrderDlg::ParameterChanged(int column) {
    if (lastUsedList_ != LastUsedList::Order)
        return;
    struct Parameter {
        int combo;
        const OptionList& list;
        order_item::Column column;
    };
    const std::array<Parameter, 3> parameters = {{
        {kFormat, formats_, order_item::Column::Format},
        {kPaper, surfaces_, order_item::Column::Paper},
        {kBorder, margins_, order_item::Column::Border},
    }};
    const Parameter& changed = parameters.at(static_cast<std::size_t>(column));
    TakeOrderSelection();
    order_.setColumnOnSelected(changed.column,
                               changed.list.abbreviationAt(host().combo(changed.combo).selection()));
    ShowSelectedRows();
}

void CMainOrderDlg::CopiesChanged() {
    if (correctingCopies_)
        return;
    ui::Edit& field = host().edit(kCopies);
    const std::string typed = field.text();
    const std::string copies = correctedCopies(typed);
    if (copies != typed) {
        correctingCopies_ = true;
        field.setText(copies);
        correctingCopies_ = false;
    }
    if (reloadingParameters_ || lastUsedList_ != LastUsedList::Order)
        return;
    TakeOrderSelection();
    order_.setColumnOnSelected(order_item::Column::Copies, copies);
    ShowSelectedRows();
    // The copies sum of the summary line follows at once; the missing-files question waits for the next
    // change of the order itself.
    RefreshSummary(false);
}

AddResult CMainOrderDlg::AddToOrder(const std::string& path) {
    const AddResult result = order_.add(formats_.abbreviationAt(host().combo(kFormat).selection()),
                                        surfaces_.abbreviationAt(host().combo(kPaper).selection()),
                                        margins_.abbreviationAt(host().combo(kBorder).selection()),
                                        host().edit(kCopies).text(), path);
    if (result == AddResult::Added)
        host().list(kOrderList).addItem(order_.rows().back().text);
    return result;
}
