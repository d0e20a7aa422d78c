// The file list of the main window: the picture files of the folder chosen in the tree, and how they
// get into the order.
#include <algorithm>
#include <vector>

#include "app/ui_texts.h"
#include "image/picture.h"
#include "platform/collation.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/shell_namespace.h"
#include "text/cp1250.h"
#include "text/format.h"
#include "ui/main_order_dlg.h"
#include "ui/picture_files.h"
#include "ui/resource_ids.h"

namespace {

using namespace main_ids;

// The files that could not be added in one action, told to the user once per reason.
class RefusedFiles {
  public:
    void note(AddResult result, const std::string& path) {
        if (result == AddResult::PathTooLong)
            tooLong_.push_back(path);
        else if (result == AddResult::PathUnusable)
            unusable_.push_back(path);
    }

    void report(ui::DesktopServices& services) const {
        tell(services, tooLong_,
             "Soubor nelze přidat do objednávky, cesta k němu je delší než 259 znaků:\r\n%s"_cz,
             "Některé soubory nelze přidat do objednávky, cesta k nim je delší než 259 znaků (celkem %d), "
             "například:\r\n%s"_cz);
        tell(services, unusable_, "Soubor nelze přidat do objednávky, jeho cestu nelze uložit:\r\n%s"_cz,
             "Některé soubory nelze přidat do objednávky, jejich cestu nelze uložit (celkem %d), "
             "například:\r\n%s"_cz);
    }

  private:
    static void tell(ui::DesktopServices& services, const std::vector<std::string>& paths,
                     text::CheckedPattern<std::string> one,
                     text::CheckedPattern<std::size_t, std::string> several) {
        if (paths.empty())
            return;
        const std::string text =
            paths.size() == 1 ? text::format(one, paths[0]) : text::format(several, paths.size(), paths[0]);
        services.messageBox(text, "", ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
    }

    std::vector<std::string> tooLong_;
    std::vector<std::string> unusable_;
};

// The path of a file of the listed folder; a root folder already ends in the separator.
std::string pathInFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == platform::kPathSeparator)
        return folder + name;
    return platform::joinPath(folder, name);
}

// The picture files of a folder in the order the file list shows them.
std::optional<PictureFiles> sortedPictureFiles(const std::string& folder) {
    auto listing = listPictureFiles(folder);
    if (listing) {
        std::sort(
            listing->names.begin(), listing->names.end(),
            [](const std::string& a, const std::string& b) { return platform::collateCzech(a, b) < 0; });
    }
    return listing;
}

}  // namespace

void CMainOrderDlg::FolderChosen() {
    const std::string path = fileTree_.GetSelectedPath();
    const bool onDisk = !path.starts_with(platform::kVirtualPrefix);
    ShowStatus(onDisk ? path : std::string());
    ui::ListBox& files = host().list(kFileList);
    files.clear();
    if (path.empty())
        return;

    // The list sorts itself; adding in its order saves it the moves.
    if (auto listing = onDisk ? sortedPictureFiles(path) : std::nullopt) {
        currentFolder_ = path;
        for (const std::string& name : listing->names)
            files.addItem(name);
        if (listing->leftOut > 0) {
            ShowStatus(path + text::format(
                                  "   (vynecháno souborů, jejichž název obsahuje nepodporované znaky: %d)"_cz,
                                  listing->leftOut));
        }
    }
    Preview(path);
}

void CMainOrderDlg::FileListClicked() {
    selectionMode_ = SelectionMode::Files;
    host().button(kRemove).show(false);
    host().button(kAdd).show(true);
    host().button(kAdd).enable(true);
    lastUsedList_ = LastUsedList::Files;

    ui::ListBox& files = host().list(kFileList);
    const int caret = files.caret();
    if (caret >= 0 && files.isSelected(caret))
        Preview(pathInFolder(currentFolder_, files.itemText(caret)));
}

void CMainOrderDlg::AddSelectedFiles() {
    ui::ListBox& files = host().list(kFileList);
    RefusedFiles refused;
    bool added = false;
    int last = -1;
    for (int item : files.selectedItems()) {
        const std::string path = pathInFolder(currentFolder_, files.itemText(item));
        const AddResult result = AddToOrder(path);
        added = added || result == AddResult::Added;
        refused.note(result, path);
        files.setSelected(item, false);
        last = item;
    }
    refused.report(host().services());

    // The next picture is selected, so that Enter walks through the folder one picture at a time.
    if (added && last + 1 < files.count()) {
        files.setSelected(last + 1, true);
        files.setCaret(last + 1);
        Preview(pathInFolder(currentFolder_, files.itemText(last + 1)));
    }
    RefreshButtonsAndSummary();
}

void CMainOrderDlg::FileDoubleClicked() {
    ui::ListBox& files = host().list(kFileList);
    const int caret = files.caret();
    if (caret >= 0) {
        const std::string path = pathInFolder(currentFolder_, files.itemText(caret));
        RefusedFiles refused;
        refused.note(AddToOrder(path), path);
        refused.report(host().services());
        files.setSelected(caret, false);
    }
    AddSelectedFiles();
}

void CMainOrderDlg::AddFiles(const ui::DroppedFiles& files) {
    RefusedFiles refused;
    std::size_t unnamable = files.unnamable;
    const auto add = [&](const std::string& path) { refused.note(AddToOrder(path), path); };
    for (const std::string& path : files.paths) {
        // A folder adds the pictures the file list would show of it; a file only when it is a picture.
        if (auto listing = sortedPictureFiles(path)) {
            for (const std::string& name : listing->names)
                add(pathInFolder(path, name));
            unnamable += listing->leftOut;
        } else if (pictureTypeOfName(path) != PictureType::Unknown && platform::canOpenForReading(path)) {
            add(path);
        }
    }
    refused.report(host().services());
    if (unnamable > 0)
        ShowStatus(text::format("(vynecháno souborů, jejichž název obsahuje nepodporované znaky: %d)"_cz,
                                unnamable));
    RefreshButtonsAndSummary();
}
