// Text that reaches an edit of the product's backend other than by typing: a paste, a drop, an input
// method's text. The toolkit inserts it in one piece, as WriteText does here.
#include <gtest/gtest.h>

#include <wx/textctrl.h>

#include "contract_backend.h"
#include "text/cp1250.h"
#include "ui/controls/wx/wx_controls.h"

namespace {

constexpr int kEdit = 950;

class CountingDialog : public ui::Dialog {
  public:
    int changes = 0;
    void onTextChange(int /*id*/) override { ++changes; }
};

const ui::DialogTemplate& editTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.id = 950;
        d.units = {160, 40};
        d.controls = {{kEdit, ui::ControlKind::Edit, {5, 5, 150, 12}, ui::kStyleNone, {}}};
        return d;
    }();
    return t;
}

TEST(WxEditInput, InsertedTextThatCp1250CannotHoldIsRefusedWholeAndTheCaretGoesBack) {
    contract::backend().beginTest();
    CountingDialog dialog;
    contract::backend().run(dialog, editTemplate(), [&](ui::DialogHost& host, contract::UserActions& user) {
        user.type(kEdit, "Dobrý den"_cz);
        const int typed = dialog.changes;
        auto& edit = dynamic_cast<wxTextCtrl&>(*ui::wxgui::widgetOf(host.control(kEdit)));

        edit.SetInsertionPoint(6);
        edit.WriteText(wxString::FromUTF8("milý \xF0\x9F\x98\x80 "));
        contract::backend().settle();
        EXPECT_EQ(host.edit(kEdit).text(), "Dobrý den"_cz);
        EXPECT_EQ(edit.GetInsertionPoint(), 6);
        EXPECT_EQ(dialog.changes, typed);

        edit.WriteText(wxString::FromUTF8("milý "));
        EXPECT_EQ(host.edit(kEdit).text(), "Dobrý milý den"_cz);
        EXPECT_EQ(dialog.changes, typed + 1);
    });
}

}  // namespace
