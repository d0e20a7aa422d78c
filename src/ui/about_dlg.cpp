#include "ui/about_dlg.h"

#include "app/ui_texts.h"
#include "buildinfo/build_constants.h"
#include "image/builtin_pictures.h"
#include "text/cp1250.h"
#include "ui/resource_ids.h"

namespace {

std::string joined(std::initializer_list<std::string_view> parts, std::string_view separator) {
    std::string text;
    for (std::string_view part : parts) {
        if (!text.empty())
            text += separator;
        text += part;
    }
    return text;
}

}  // namespace

void CAboutDlg::onInit() {
    ui::DialogHost& window = host();
    window.setTitle(joined({build::kProductName, uiText(UiText::AboutMenu)}, " - "));
    window.label(about_ids::kVersion)
        .setText(joined({build::kProductName, uiText(UiText::VersionWord), build::kVersion}, " "));
    window.label(about_ids::kCredits)
        .setText(
            "Objednávkový klient fotolaboratoře: vybrané fotografie odešle k tisku\r\n"
            "přes internet, nebo je uloží k donesení na paměťovém médiu."_cz);
    window.label(about_ids::kAuthor)
        .setText(joined({uiText(UiText::AuthorWord), "Vývojový tým Snapord"_cz}, ": "));
    header_ = builtinPicture(builtin::kHeaderBanner);
}

void CAboutDlg::onPaint(ui::Canvas& canvas) {
    if (header_.isValid())
        canvas.drawPicture(header_, (canvas.size().width - header_.width()) / 2, kHeaderTop);
}
