#include "ui/dialog_resources.h"

#include <string_view>

#include "text/cp1250.h"
#include "ui/resource_ids.h"

namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;
using K = ui::ControlKind;

ControlTemplate ctl(int id, ControlKind kind, int x, int y, int width, int height,
                    unsigned style = ui::kStyleNone, std::string_view text = {}) {
    return {id, kind, {x, y, width, height}, style, std::string(text)};
}

constexpr unsigned kRight = ui::kAlignRight;
constexpr unsigned kCentre = ui::kAlignCenter;

DialogTemplate buildAbout() {
    DialogTemplate t;
    t.id = res::kAboutDialog;
    t.units = {265, 118};
    t.style = ui::kSystemMenu;
    // The header picture is painted above the texts, in the top 38 units.
    t.controls = {
        ctl(about_ids::kVersion, K::Label, 7, 40, 251, 9, kCentre),
        ctl(about_ids::kCredits, K::Label, 7, 54, 251, 26, kCentre),
        ctl(about_ids::kAuthor, K::Label, 7, 82, 251, 9, kCentre),
        ctl(ui::kIdOk, K::DefaultButton, 107, 98, 50, 14, ui::kStyleNone, "OK"),
    };
    return t;
}

DialogTemplate buildMainWindow() {
    using namespace main_ids;
    DialogTemplate t;
    t.id = res::kMainDialog;
    t.title = "Snapord v2.0";
    t.units = {528, 350};
    t.style = ui::kSystemMenu | ui::kMinimizeBox;
    t.controls = {
        ctl(kTree, K::TreeView, 1, 32, 127, 154, ui::kTreeLines),
        ctl(kFileList, K::ListBox, 130, 32, 123, 154, ui::kSorted | ui::kExtendedSelection | ui::kNotify),
        ctl(kAdd, K::PushButton, 127, 187, 125, 14, ui::kStyleNone, "Vybrat do objednávky"_cz),
        ctl(kRemove, K::PushButton, 128, 187, 125, 14, ui::kStyleNone, "Odstranit z objednávky"_cz),
        ctl(kDeleteOrder, K::PushButton, 255, 187, 125, 14, ui::kStyleNone, "Smazat objednávku"_cz),
        ctl(kOrdersPage, K::PushButton, 382, 187, 76, 14, ui::kStyleNone, "Objednávky"_cz),
        ctl(kPriceList, K::PushButton, 459, 187, 67, 14, ui::kStyleNone, "Ceník"_cz),
        ctl(kUpdate, K::PushButton, 382, 202, 126, 14, ui::kStyleNone, "Aktualizace"),
        ctl(kHelp, K::PushButton, 509, 201, 17, 14),
        ctl(kOrderFilesLabel, K::Label, 4, 190, 121, 8, ui::kStyleNone, "Soubory v objednávce:"_cz),
        ctl(kColumnHeader, K::Label, 1, 203, 379, 11, ui::kBordered),
        ctl(kOrderList, K::ListBox, 1, 213, 379, 122,
            ui::kExtendedSelection | ui::kNotify | ui::kHorizontalScroll),
        ctl(kPhotoParamsLabel, K::Label, 388, 219, 83, 8, ui::kStyleNone, "Parametry fotografií"_cz),
        ctl(kFormatLabel, K::Label, 381, 236, 30, 8, kRight, "Formát"_cz),
        ctl(kPaperLabel, K::Label, 381, 252, 30, 8, kRight, "Papír"_cz),
        ctl(kBorderLabel, K::Label, 381, 267, 30, 8, kRight, "Okraj"),
        ctl(kFormat, K::DropDownList, 419, 233, 99, 103),
        ctl(kPaper, K::DropDownList, 419, 249, 99, 42),
        ctl(kBorder, K::DropDownList, 419, 265, 99, 42),
        ctl(kCopiesLabel, K::Label, 381, 282, 30, 8, kRight, "Počet"_cz),
        ctl(kCopies, K::DigitsEdit, 419, 280, 32, 14, ui::kStyleNone, "1"),
        ctl(kSpecial1, K::CheckBox, 454, 282, 71, 10, ui::kHidden),
        ctl(kSpecial2, K::CheckBox, 388, 294, 66, 10, ui::kHidden),
        ctl(kSpecial3, K::CheckBox, 454, 294, 66, 10, ui::kHidden),
        ctl(kSend, K::PushButton, 385, 305, 136, 14, ui::kStyleNone, "Odeslat objednávku"_cz),
        ctl(kPhotobook, K::PushButton, 385, 320, 136, 14, ui::kStyleNone, "Poslat fotoknihu"),
        ctl(kPreview, K::Frame, 255, 0, 271, 187),
        ctl(kStatus, K::Label, 1, 336, 417, 12),
        ctl(kSummary, K::Label, 419, 336, 106, 12, kRight),
    };
    return t;
}

DialogTemplate buildOrderParams() {
    using namespace params_ids;
    DialogTemplate t;
    t.id = res::kOrderParamsDialog;
    t.units = {490, 271};
    t.style = ui::kDialogPlain;  // a caption without system menu, so without a close box
    t.controls = {
        ctl(kHeading, K::Label, 17, 6, 244, 8, kCentre, "Parametry objednávky"_cz),
        ctl(kPaymentLabel, K::Label, 8, 22, 100, 8, kRight, "Způsob platby"_cz),
        ctl(kPayment, K::DropDownList, 116, 21, 143, 103),
        ctl(kDeliveryLabel, K::Label, 8, 41, 100, 8, kRight, "Způsob dodání"_cz),
        ctl(kDelivery, K::DropDownList, 116, 40, 143, 103),
        ctl(kInformation, K::Label, 13, 54, 245, 20, kCentre),
        ctl(kShopLabel, K::Label, 13, 73, 100, 8, ui::kStyleNone, "Provozovna"),
        ctl(kShop, K::DropDownList, 12, 83, 247, 103),
        ctl(kShopDescription, K::Edit, 12, 96, 247, 12, ui::kReadOnly | ui::kBorderless),
        ctl(kSpecialHeading, K::Label, 17, 107, 244, 8, kCentre, "Speciální požadavky"_cz),
        ctl(kNoteLabel, K::Label, 13, 120, 244, 8, ui::kStyleNone, "Poznámka"_cz),
        ctl(kNote, K::Edit, 11, 130, 247, 12),
        ctl(kSpecial1, K::CheckBox, 119, 147, 140, 10),
        ctl(kSpecial2, K::CheckBox, 119, 159, 140, 10),
        ctl(kSpecial3, K::CheckBox, 119, 171, 140, 10),
        ctl(kSpecial4, K::CheckBox, 119, 183, 140, 10),
        ctl(kSpecial5, K::CheckBox, 119, 195, 140, 10),
        ctl(kSpecial6, K::CheckBox, 11, 183, 100, 10),
        ctl(kSpecial7, K::CheckBox, 11, 195, 100, 10),
        ctl(kDiscountCodeLabel, K::Label, 12, 152, 96, 8, ui::kStyleNone, "Slevový kód"_cz),
        ctl(kDiscountCode, K::Edit, 11, 165, 100, 12),
        ctl(kProduceLabel, K::Label, 11, 206, 30, 8, ui::kStyleNone, "Vyrobit:"),
        ctl(kProduct1, K::CheckBox, 42, 206, 75, 10),
        ctl(kProduct2, K::CheckBox, 119, 206, 83, 10),
        ctl(kProduct3, K::CheckBox, 204, 206, 56, 10),
        ctl(kProduct4, K::CheckBox, 42, 217, 75, 10),
        ctl(kProduct5, K::CheckBox, 119, 217, 83, 10),
        ctl(kProduct6, K::CheckBox, 204, 217, 56, 10),
        ctl(kBack, K::PushButton, 11, 228, 114, 14, ui::kStyleNone, "Zpět"_cz),
        ctl(kSend, K::PushButton, 144, 228, 114, 14, ui::kStyleNone, "Odeslat"),
        ctl(kHelpLink, K::Label, 7, 246, 259, 16, kCentre | ui::kNotify),
        // The customer's data, right of the parameters; the dialog hides this column at start.
        ctl(kCustomerHeading, K::Label, 276, 6, 204, 8, kCentre, "Uživatelské a fakturační údaje"_cz),
    };
    struct CustomerField {
        int id;
        std::string_view label;
    };
    const CustomerField fields[] = {
        {kFirstName, "Jméno"_cz},  {kSurname, "Příjmení"_cz}, {kStreet, "Ulice"},  {kCity, "Město"_cz},
        {kPostcode, "PSČ"_cz},     {kEmail, "E-mail"},        {kPhone, "Telefon"}, {kCompany, "Firma"},
        {kCompanyNumber, "IČ"_cz}, {kTaxNumber, "DIČ"_cz},
    };
    int top = 22;
    for (const CustomerField& field : fields) {
        t.controls.push_back(ctl(ui::kNoId, K::Label, 276, top + 1, 62, 8, kRight, field.label));
        t.controls.push_back(ctl(field.id, K::Edit, 344, top, 136, 12));
        top += 17;
    }
    return t;
}

DialogTemplate buildSending() {
    using namespace sending_ids;
    DialogTemplate t;
    t.id = res::kSendingDialog;
    t.units = {291, 165};
    t.style = ui::kSystemMenu | ui::kMinimizeBox;
    t.controls = {
        ctl(kLoginLabel, K::Label, 9, 6, 77, 8, kRight, "Přihlašovací jméno"_cz),
        ctl(kLogin, K::Edit, 92, 5, 72, 12),
        ctl(kPasswordLabel, K::Label, 171, 7, 34, 8, kRight, "heslo"),
        ctl(kPassword, K::PasswordEdit, 212, 6, 72, 12),
        ctl(kPause, K::CheckBox, 7, 6, 277, 10),
        ctl(kAutoResume, K::CheckBox, 7, 19, 277, 10),
        ctl(kOverallLabel, K::Label, 8, 30, 98, 8, ui::kStyleNone, "Celkový průběh odesílání"_cz),
        ctl(kOverallText, K::Label, 104, 30, 180, 8, kRight, "0/0"),
        ctl(kOverallBar, K::ProgressBar, 7, 40, 277, 14),
        ctl(kFileLabel, K::Label, 8, 59, 97, 8, ui::kStyleNone, "Průběh aktuálního souboru"_cz),
        ctl(kFileText, K::Label, 104, 59, 180, 8, kRight, "0/0"),
        ctl(kFileBar, K::ProgressBar, 7, 69, 277, 14),
        ctl(kStatus, K::Label, 7, 85, 277, 22),
        ctl(kStorno, K::PushButton, 7, 108, 113, 14, ui::kStyleNone, "Storno"),
        ctl(kSend, K::DefaultButton, 171, 108, 113, 14, ui::kStyleNone, "Odeslat"),
        ctl(kSaveToDisk, K::PushButton, 171, 123, 113, 14, ui::kStyleNone, "Uložit na disk"_cz),
        ctl(kHelpLink, K::Label, 7, 139, 277, 19, kCentre | ui::kNotify),
    };
    return t;
}

DialogTemplate buildNews() {
    using namespace news_ids;
    DialogTemplate t;
    t.id = res::kNewsDialog;
    t.units = {271, 119};
    t.style = ui::kSystemMenu;
    t.controls = {
        ctl(kTitle, K::Label, 12, 7, 245, 17, kCentre),
        // A long message scrolls in its label; the window keeps its size.
        ctl(kText, K::Label, 12, 24, 245, 47, ui::kVerticalScroll),
        ctl(kLink, K::Label, 12, 71, 245, 14, kCentre | ui::kNotify),
        ctl(kDontShowAgain, K::CheckBox, 12, 83, 245, 10),
        ctl(kClose, K::DefaultButton, 72, 98, 126, 14, ui::kStyleNone, "Zavřít"_cz),
    };
    return t;
}

}  // namespace

const DialogTemplate& aboutTemplate() {
    static const DialogTemplate t = buildAbout();
    return t;
}

const DialogTemplate& mainWindowTemplate() {
    static const DialogTemplate t = buildMainWindow();
    return t;
}

const DialogTemplate& orderParamsTemplate() {
    static const DialogTemplate t = buildOrderParams();
    return t;
}

const DialogTemplate& sendingTemplate() {
    static const DialogTemplate t = buildSending();
    return t;
}

const DialogTemplate& newsTemplate() {
    static const DialogTemplate t = buildNews();
    return t;
}
