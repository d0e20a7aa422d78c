// What the user enters into an edit is kept to characters that Windows-1250 can hold.
//
// Every text of the program is cp1250, and an order carries its texts in cp1250 to the lab: a character
// outside it could only reach the program as a '?'. So an edit refuses such a character as it is typed
// (the key does nothing and the desktop rings), and refuses as a whole a paste, a drop or an input
// method's text that holds one, giving the edit back the text it had. Nothing the user entered is ever
// changed into something else. Texts the program sets are cp1250 already and always pass.
//
// UI thread only; the guard belongs to the wrapper of its edit and never outlives the edit.
#pragma once

#include <wx/string.h>
#include <wx/textctrl.h>

namespace ui::wxgui {

class Cp1250Input {
  public:
    explicit Cp1250Input(wxTextCtrl& edit);

    // Whether a typed character may enter the text; rings when it may not.
    static bool takesTyped(wxChar typed);

    // Called for every change of the edit's text, before it is reported: true when the edit keeps the
    // new text. Otherwise the edit holds its previous text again (without a change report), the caret
    // stands where the refused text began, and the change must not be reported.
    bool keepsChange();

  private:
    wxTextCtrl& edit_;
    wxString kept_;
};

// Whether cp1250 holds every character of the text.
bool holdsCp1250(const wxString& text);

}  // namespace ui::wxgui
