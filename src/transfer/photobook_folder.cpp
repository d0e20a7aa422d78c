#include "transfer/photobook_folder.h"

#include "platform/files.h"
#include "platform/folder_listing.h"
#include "platform/path.h"

namespace photobook_folder {

namespace {

constexpr std::int32_t kParametersFormat = 87;
constexpr std::int32_t kSheetFormat = 153;

}  // namespace

Listing list(std::string_view folder) {
    Listing listing;
    if (!platform::canOpenForReading(platform::joinPath(folder, kParameterFile))) {
        listing.result = Listing::Result::NoPhotobook;
        return listing;
    }
    platform::FolderListing entries;
    if (!entries.open(folder)) {
        listing.result = Listing::Result::NotListed;
        return listing;
    }
    if (folder.size() > DocumentEntry::kNameLimit) {
        listing.result = Listing::Result::NameTooLong;
        listing.badName = std::string(folder);
        return listing;
    }
    // The whole folder is looked at before anything is refused, so the count tells the real number.
    listing.result = Listing::Result::Ready;
    while (auto entry = entries.next()) {
        if (entry->isFolder)
            continue;
        ++listing.fileCount;
        if (listing.result != Listing::Result::Ready)
            continue;
        // A file name is never longer than the order keeps (the file systems stop at 255 characters),
        // but it may hold characters that the order's texts cannot.
        if (!entry->nameFits) {
            listing.result = Listing::Result::NameNotFit;
            listing.badName = entry->name;
        } else {
            listing.files.push_back(std::move(entry->name));
        }
    }
    entries.close();
    if (listing.result == Listing::Result::Ready && listing.fileCount > OrderDocument::kSlotCount)
        listing.result = Listing::Result::TooManyFiles;
    if (listing.result != Listing::Result::Ready)
        listing.files.clear();
    return listing;
}

void fill(OrderDocument& document, std::string_view folder, const std::vector<std::string>& files) {
    document.reset();
    for (DocumentEntry& entry : document.entries()) {
        entry.used = 0;
        entry.folder.clear();
        entry.fileName.clear();
        entry.photo.mark = 0;
    }
    auto slots = document.entries();
    for (std::size_t i = 0; i < files.size() && i < slots.size(); ++i) {
        DocumentEntry& entry = slots[i];
        const bool parameters = files[i] == kParameterFile;
        entry.used = 1;
        entry.folder = std::string(folder);
        entry.fileName = files[i];
        entry.photo.mark = 1;
        entry.photo.formatId = parameters ? kParametersFormat : kSheetFormat;
        entry.photo.description = parameters ? "Fotokniha - parametry" : "List fotoknihy";
        entry.photo.paperId = 1;
        entry.photo.marginId = 1;
        entry.photo.copies = 1;
    }
}

}  // namespace photobook_folder
