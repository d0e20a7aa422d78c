#include "ui/controls/wx/wx_cp1250_input.h"

#include <wx/utils.h>

#include "text/cp1250.h"

namespace ui::wxgui {

bool holdsCp1250(const wxString& text) {
    for (wxUniChar character : text) {
        if (cp1250::byteOf(static_cast<char32_t>(character.GetValue())) < 0)
            return false;
    }
    return true;
}

Cp1250Input::Cp1250Input(wxTextCtrl& edit) : edit_(edit), kept_(edit.GetValue()) {}

bool Cp1250Input::takesTyped(wxChar typed) {
    if (cp1250::byteOf(static_cast<char32_t>(typed)) >= 0)
        return true;
    wxBell();
    return false;
}

bool Cp1250Input::keepsChange() {
    const wxString changed = edit_.GetValue();
    if (holdsCp1250(changed)) {
        kept_ = changed;
        return true;
    }
    // The caret goes back to where the refused text began: where the two texts first differ.
    long caret = 0;
    const long kept = static_cast<long>(kept_.length());
    while (caret < kept && caret < static_cast<long>(changed.length()) && kept_[caret] == changed[caret])
        ++caret;
    edit_.ChangeValue(kept_);
    edit_.SetInsertionPoint(caret);
    // The toolkit moves the caret past the text it inserted once this report returns; put it back
    // after that. A call queued on the edit goes with the edit, should it close first.
    edit_.CallAfter([&edit = edit_, caret] { edit.SetInsertionPoint(caret); });
    wxBell();
    return false;
}

}  // namespace ui::wxgui
