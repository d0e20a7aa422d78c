#include "ui/main_photobook.h"

#include <string>

#include "documents/order_document.h"
#include "text/cp1250.h"
#include "text/format.h"
#include "transfer/photobook_folder.h"

namespace {

using Result = photobook_folder::Listing::Result;

void warn(OrderSession& session, const std::string& text) {
    session.services.messageBox(text, "", ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
}

}  // namespace

void SendPhotobook(OrderSession& session) {
    const auto folder = session.services.browseForFolder("Vyberte složku, ve které je uložena fotokniha:"_cz);
    if (!folder)
        return;
    const photobook_folder::Listing listing = photobook_folder::list(*folder);
    switch (listing.result) {
        case Result::Ready:
            break;
        case Result::NoPhotobook:
            warn(session, std::string("Adresář neobsahuje fotoknihu,\r\nproveďte prosím výběr znova."_cz));
            return;
        case Result::NotListed:
            return;
        // A photobook that cannot reach the lab whole and under its own names is not sent in part.
        case Result::TooManyFiles:
            warn(session, text::format("Složka s fotoknihou obsahuje %d souborů, objednávka jich pojme "
                                       "nejvýše %d.\r\nFotokniha nebyla odeslána."_cz,
                                       listing.fileCount, OrderDocument::kSlotCount));
            return;
        case Result::NameNotFit:
            warn(session, text::format("Název souboru „%s“ ve složce s fotoknihou obsahuje znaky, které "
                                       "program neumí zapsat.\r\nPřejmenujte prosím soubor a zkuste to "
                                       "znovu. Fotokniha nebyla odeslána."_cz,
                                       listing.badName));
            return;
        case Result::NameTooLong:
            warn(session, text::format("Název „%s“ je pro objednávku příliš dlouhý (nejvýše %d znaků).\r\n"
                                       "Přejmenujte jej prosím a zkuste to znovu. Fotokniha nebyla "
                                       "odeslána."_cz,
                                       listing.badName, DocumentEntry::kNameLimit));
            return;
    }
    photobook_folder::fill(session.document, *folder, listing.files);
    session.mainWindow.SendPhotobookDocument();
}
