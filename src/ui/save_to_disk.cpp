#include "ui/save_to_disk.h"

#include <cstddef>
#include <string>

#include "text/cp1250.h"
#include "text/format.h"
#include "transfer/order_folder.h"

namespace {

using order_folder::CopyProblem;

// A long list of files would make the message taller than the screen: the first few are named, the
// rest counted.
constexpr std::size_t kNamedFiles = 10;

void appendFiles(std::string& text, const order_folder::SaveReport& report, CopyProblem::Kind kind,
                 std::string_view heading) {
    std::size_t count = 0;
    for (const CopyProblem& problem : report.problems) {
        if (problem.kind != kind)
            continue;
        if (count == 0)
            text += std::string(heading) + "\r\n";
        if (count < kNamedFiles)
            text += problem.source + "\r\n";
        ++count;
    }
    if (count > kNamedFiles)
        text += text::format("... a dalších %d souborů\r\n"_cz, count - kNamedFiles);
}

// What the customer must know of a save that is not complete: the folder, what is missing from it or
// failed, and that it is not yet fit for the shop.
std::string problemMessage(const order_folder::SaveReport& report) {
    if (!report.folderCreated) {
        return text::format(
            "Složku pro objednávku se nepodařilo vytvořit:\r\n%s\r\n"
            "Objednávka nebyla uložena. Zkontrolujte prosím, zda médium není plné nebo "
            "chráněné proti zápisu, a zkuste to znovu."_cz,
            report.folder);
    }
    std::string text =
        text::format("Objednávku se nepodařilo uložit celou do této složky:\r\n%s\r\n"_cz, report.folder);
    if (!report.orderFileWritten)
        text +=
            text::format("Nepodařilo se zapsat soubor objednávky %s.\r\n"_cz, order_folder::kOrderFileName);
    appendFiles(text, report, CopyProblem::Kind::Missing, "Chybí fotografie:"_cz);
    appendFiles(text, report, CopyProblem::Kind::Failed, "Nepodařilo se zkopírovat:"_cz);
    if (!report.flushed)
        text += "Soubory se nepodařilo bezpečně zapsat na médium.\r\n"_cz;
    text += "Složku v tomto stavu prosím nedoručujte. Opravte chybu a uložte objednávku znovu."_cz;
    return text;
}

}  // namespace

bool SaveOrderToDisk(OrderSession& session) {
    session.mainWindow.ShowWindow(true);
    const auto chosen =
        session.services.browseForFolder("Vyberte složku, do které chcete objednávku uložit:"_cz);
    if (!chosen)
        return false;
    const order_folder::SaveReport report = order_folder::saveOrder(session.document, *chosen);
    if (!report.complete()) {
        session.services.messageBox(problemMessage(report), "", ui::MessageIcon::Exclamation,
                                    ui::MessageButtons::Ok);
        return false;
    }
    session.services.messageBox(text::format("Zakázka byla zkopírována do této složky:\r\n%s\r\n"
                                             "Doručte nám ji prosím na paměťovém médiu (CD, flash disk...) "
                                             "k výrobě."_cz,
                                             report.folder),
                                "", ui::MessageIcon::Information, ui::MessageButtons::Ok);
    return true;
}
