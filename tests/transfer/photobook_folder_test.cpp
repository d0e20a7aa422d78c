#include "transfer/photobook_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "text/format.h"

namespace {

using photobook_folder::Listing;
using testing_support::TempFolder;

class PhotobookFolder : public testing::Test {
  protected:
    std::string book() const { return folder_.file("kniha"); }
    void write(const std::string& name) const { folder_.write("kniha/" + name, "bytes of " + name); }

    TempFolder folder_;
};

TEST_F(PhotobookFolder, AFolderWithItsParametersBecomesOneSlotPerFileInListingOrder) {
    for (const char* name : {"list03.jpg", "List01.jpg", "iof.xml", "list02.jpg"})
        write(name);
    write("nahledy/list01.jpg");  // subfolders are no part of the photobook
    const Listing listing = photobook_folder::list(book());
    ASSERT_EQ(listing.result, Listing::Result::Ready);
    EXPECT_EQ(listing.files, (std::vector<std::string>{"iof.xml", "List01.jpg", "list02.jpg", "list03.jpg"}));

    OrderDocument document;
    document.addEntry("/elsewhere", "old.jpg");
    document.addEntry("/elsewhere", "older.jpg");
    document.addEntry("/elsewhere", "oldest.jpg");
    document.addEntry("/elsewhere", "fifth.jpg");
    document.addEntry("/elsewhere", "sixth.jpg");
    document.setIdentity({"2024-05-17", "srv", "123", "0815"});
    OrderParams params;
    params.notice = "kept";
    document.setParams(params);

    photobook_folder::fill(document, book(), listing.files);
    EXPECT_EQ(document.usedCount(), 4u);
    EXPECT_EQ(document.identity().orderId, "");
    EXPECT_EQ(document.params().notice, "kept");
    const auto entries = document.entries();
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const DocumentEntry& entry = entries[i];
        EXPECT_EQ(entry.used, 1);
        EXPECT_EQ(entry.folder, book());
        EXPECT_EQ(entry.fileName, listing.files[i]);
        EXPECT_EQ(entry.photo.mark, 1);
        EXPECT_EQ(entry.photo.formatId, i == 0 ? 87 : 153);
        EXPECT_EQ(entry.photo.description, i == 0 ? "Fotokniha - parametry" : "List fotoknihy");
        EXPECT_EQ(entry.photo.paperId, 1);
        EXPECT_EQ(entry.photo.marginId, 1);
        EXPECT_EQ(entry.photo.copies, 1);
    }
    // The slots after the photobook are empty, not left over from the order before.
    EXPECT_EQ(entries[4].used, 0);
    EXPECT_EQ(entries[4].fileName, "");
    EXPECT_EQ(entries[4].folder, "");
    EXPECT_EQ(entries[4].photo.mark, 0);
}

TEST_F(PhotobookFolder, WithoutAReadableParameterFileTheFolderIsNoPhotobook) {
    write("list01.jpg");
    EXPECT_EQ(photobook_folder::list(book()).result, Listing::Result::NoPhotobook);
    std::filesystem::create_directory(book() + "/iof.xml");
    EXPECT_EQ(photobook_folder::list(book()).result, Listing::Result::NoPhotobook);
    EXPECT_EQ(photobook_folder::list(folder_.file("missing")).result, Listing::Result::NoPhotobook);
}

TEST_F(PhotobookFolder, APhotobookThatCouldNotReachTheLabWholeIsRefused) {
    write("iof.xml");
    for (int i = 1; i < 1999; ++i)
        write(text::format("list%04d.jpg", i));
    Listing listing = photobook_folder::list(book());
    EXPECT_EQ(listing.result, Listing::Result::Ready);  // 1999 files fill the order exactly
    EXPECT_EQ(listing.files.size(), 1999u);

    write("list1999.jpg");
    listing = photobook_folder::list(book());
    EXPECT_EQ(listing.result, Listing::Result::TooManyFiles);
    EXPECT_EQ(listing.fileCount, 2000u);
    EXPECT_TRUE(listing.files.empty());
}

TEST_F(PhotobookFolder, ANameThatTheOrderCannotCarryIsRefusedAndShown) {
    write("iof.xml");
    write("list01.jpg");
    write("\xE2\x98\x83.jpg");  // a snowman: no cp1250 character
    Listing listing = photobook_folder::list(book());
    EXPECT_EQ(listing.result, Listing::Result::NameNotFit);
    EXPECT_EQ(listing.badName, "?.jpg");
    EXPECT_TRUE(listing.files.empty());

    // A folder whose path the order's slots cannot hold whole.
    const std::string deep = "kniha/" + std::string(200, 'x') + "/" + std::string(100, 'y');
    folder_.write(deep + "/iof.xml", "");
    listing = photobook_folder::list(folder_.file(deep));
    EXPECT_EQ(listing.result, Listing::Result::NameTooLong);
    EXPECT_EQ(listing.badName, folder_.file(deep));
}

}  // namespace
