#include "app/ui_texts.h"

#include <string_view>

#include "text/columns.h"
#include "text/cp1250.h"

namespace {

constexpr std::array<std::string_view, UiTexts::kCount> kTexts = {
    /*  0 */ "-----MESSAGES HLAVNI OKNO"_cz,
    /*  1 */ "Nepodařilo se připojit k přijímajícímu serveru."_cz,
    /*  2 */ "Chcete začít novou objednávku?"_cz,
    /*  3 */
    "Opravdu chcete smazat všechny soubory z objednávky?\r\n(Vaše soubory na disku zůstanou zachovány.)"_cz,
    /*  4 */ "Smazání celé objednávky"_cz,
    /*  5 */ "-----MESSAGES PARAMETRY"_cz,
    /*  6 */ "Musíte si zvolit alespoň jednu položku z výroby."_cz,
    /*  7 */ "Chybně zadaná položka %s."_cz,
    /*  8 */ "-----MESSAGES ODESILANI"_cz,
    /*  9 */
    "Opravdu chcete zrušit odesílání zakázky?\r\nPři opětovém odeslání bude zakázka posílána opět od prvního souboru."_cz,
    /* 10 */ "Spuštěna neznámá funkce..."_cz,
    /* 11 */ "Jméno i heslo musí být dlouhé alespoň 3 znaky"_cz,
    /* 12 */ "Zadané přihlašovací údaje nejsou platné."_cz,
    /* 13 */ "Inicializace připojení se nezdařila."_cz,
    /* 14 */ "Odeslání parametrů objednávky selhalo."_cz,
    /* 15 */ "Nepodařilo se zjistit cenu objednávky.\r\nPokračovat v odeslání objednávky?"_cz,
    /* 16 */ "Předpokládaná cena objednávky je %s.\r\nChcete pokračovat v objednávce?"_cz,
    /* 17 */ "Cena objednávky"_cz,
    /* 18 */ "Přenos souboru na server selhal\r\nChcete se pokusit pokračovat v odesílání dat?"_cz,
    /* 19 */ "-----HLAVNI OKNO"_cz,
    /* 20 */ "Soubory v objednávce:"_cz,
    /* 21 */ "Vybrat do objednávky"_cz,
    /* 22 */ "Smazat objednávku"_cz,
    /* 23 */ "Objednávky"_cz,
    /* 24 */ "Ceník"_cz,
    /* 25 */ "Parametry fotografií"_cz,
    /* 26 */ "Formát"_cz,
    /* 27 */ "Papír"_cz,
    /* 28 */ "Okraj"_cz,
    /* 29 */ "Počet"_cz,
    /* 30 */ "Jméno fotografie v objednávce"_cz,
    /* 31 */ "Odeslat objednávku"_cz,
    /* 32 */ "Nahrávám"_cz,
    /* 33 */ "Odstranit z objednávky"_cz,
    /* 34 */ "TOPLIST",  // replaced by the column header
    /* 35 */ "-----O APLIKACI"_cz,
    /* 36 */ "O aplikaci Snapord..."_cz,
    /* 37 */ "verze"_cz,
    /* 38 */ "Autor"_cz,
    /* 39 */ "-----PARAMETRY"_cz,
    /* 40 */ "Parametry objednávky"_cz,
    /* 41 */ "Způsob platby"_cz,
    /* 42 */ "Způsob dodání"_cz,
    /* 43 */ "Provozovna"_cz,
    /* 44 */ "Speciální požadavky"_cz,
    /* 45 */ "Poznámka"_cz,
    /* 46 */ "Slevový kód"_cz,
    /* 47 */ "Vyrobit:"_cz,
    /* 48 */ "Zpět"_cz,
    /* 49 */ "Odeslat"_cz,
    /* 50 */ "V případě ztráty spojení automaticky obnovovat přenos"_cz,
    /* 51 */ "-----ODESILANI"_cz,
    /* 52 */ "Odesílání objednávky"_cz,
    /* 53 */ "Přihlašovací jméno"_cz,
    /* 54 */ "heslo"_cz,
    /* 55 */ "Celkový průběh odesílání"_cz,
    /* 56 */ "Průběh aktuálního souboru"_cz,
    /* 57 */ "Storno"_cz,
    /* 58 */ "OK"_cz,
    /* 59 */ "Chyba přenosu"_cz,
    /* 60 */ "Chybné přihlašovací údaje"_cz,
    /* 61 */ "Přenos přerušen uživatelem"_cz,
    /* 62 */
    "Odeslání zakázky je dočasně pozastaveno\r\nPro spuštění klikněte na zaškrtávací políčko výše."_cz,
    /* 63 */ "%d%% (%ld/%ld souborů)"_cz,
    /* 64 */ "Odesílám soubor\r\n%s"_cz,
    /* 65 */ "%d%% (%ld/%ld bytů)"_cz,
    /* 66 */ "Soubor se pouze zaznamenává na serveru..."_cz,
    /* 67 */ "Pozastavit odesílání objednávky po odeslání aktuální fotografie"_cz,
    /* 68 */ "Nápověda"_cz,
    /* 69 */ "Máte problémy při práci s tímto programem?\r\nKlikněte zde pro nápovědu!"_cz,
    /* 70 */ "Aktualizace"_cz,
    /* 71 */ "Hotovo"_cz,
    /* 72 */ "Při aktualizaci došlo k chybě, použiji dříve uložené údaje."_cz,
    /* 73 */ "Zpváva ze serveru"_cz,
    /* 74 */ "Zavřít"_cz,
    /* 75 */ "Tuto zprávu znovu nezobrazovat"_cz,
    /* 76 */ "%d fotek, %d kopií, %s MB"_cz,
    /* 77 */ "V zakázce chybí %d fotografií\r\nChcete objednávku smazat?"_cz,
    /* 78 */
    "Vyberete-li si platbu a odběr na provozovně, můžete v následujícím\r\nkroku zakázku uložit a přinést nám ji na CD, USB flashi, SD kartě apod."_cz,
};

// The table and the declarations of its patterns agree: every text that holds a '%' is declared, and
// every declared text takes exactly the declared kinds.
constexpr bool patternsDeclared() {
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        bool declared = false;
        for (const ui_format::Declaration& declaration : ui_format::kDeclarations)
            declared = declared || static_cast<std::size_t>(declaration.id) == i;
        if (text::isPattern(kTexts[i]) != declared)
            return false;
    }
    for (const ui_format::Declaration& declaration : ui_format::kDeclarations) {
        if (!text::patternTakes(kTexts[static_cast<std::size_t>(declaration.id)], declaration.kinds))
            return false;
    }
    return true;
}
static_assert(patternsDeclared(), "a pattern of the table and its declaration in ui_format differ");

}  // namespace

UiTexts::UiTexts() {
    for (std::size_t i = 0; i < kCount; ++i)
        texts_[i] = std::string(kTexts[i]);
    // The column header lines up with the fixed columns of the order rows.
    texts_[static_cast<std::size_t>(UiText::ColumnHeader)] =
        text::fitColumn((*this)[UiText::FormatLabel], 12) + text::fitColumn((*this)[UiText::PaperLabel], 7) +
        text::fitColumn((*this)[UiText::BorderLabel], 7) + text::fitColumn((*this)[UiText::CopiesLabel], 7) +
        (*this)[UiText::PhotoNameColumn];
}

const std::string& UiTexts::at(std::size_t index) const {
    static const std::string kEmpty;
    return index < kCount ? texts_[index] : kEmpty;
}

const UiTexts& uiTexts() {
    static const UiTexts table;
    return table;
}
