#include "platform/folder_listing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace {

using platform::FolderListing;
using testing_support::TempFolder;

TEST(FolderListing, ComesSortedByNameIgnoringCaseAsWindowsListsIt) {
    // UTF-8 names, as the file system holds them, in the order a Windows folder lists them: upper case
    // compared character by character, so "list10" comes before "List2", letters before the underscore,
    // and the Czech letters (č, Č, ž) after the plain ones, by their character codes.
    const std::vector<std::string> ordered = {
        "A.jpg",
        "b.jpg",
        "C.jpg",
        "iof.xml",
        "list10.jpg",
        "List2.jpg",
        "z.jpg",
        "_.jpg",
        "\xC4\x8D.jpg",
        "\xC4\x8C"
        "a.jpg",
        "\xC5\xBE.jpg",
    };
    for (std::size_t i = 0; i + 1 < ordered.size(); ++i) {
        SCOPED_TRACE(ordered[i] + " / " + ordered[i + 1]);
        EXPECT_LT(platform::compareAsWindowsLists(ordered[i], ordered[i + 1]), 0);
        EXPECT_GT(platform::compareAsWindowsLists(ordered[i + 1], ordered[i]), 0);
    }
    EXPECT_EQ(platform::compareAsWindowsLists("a.jpg", "a.jpg"), 0);
    // Names that differ in case only still have a fixed order.
    EXPECT_NE(platform::compareAsWindowsLists("a.jpg", "A.jpg"), 0);

    TempFolder folder;
    for (auto it = ordered.rbegin(); it != ordered.rend(); ++it)
        folder.write(*it, "x");
    FolderListing listing;
    ASSERT_TRUE(listing.open(folder.path()));
    std::vector<std::string> listed;
    while (auto entry = listing.next())
        listed.push_back(entry->name);
    ASSERT_EQ(listed.size(), ordered.size());
    EXPECT_EQ(listed[8], "\xE8.jpg");  // č in cp1250
    EXPECT_EQ(listed[9],
              "\xC8"
              "a.jpg");                 // Ča
    EXPECT_EQ(listed[10], "\x9E.jpg");  // ž
    listed[8] = ordered[8];
    listed[9] = ordered[9];
    listed[10] = ordered[10];
    EXPECT_EQ(listed, ordered);
}

TEST(FolderListing, HandsOutEveryEntryOnceWithItsSizeAndKind) {
    TempFolder folder;
    folder.write("c.jpg", "ccc");
    folder.write("A.jpg", "a");
    folder.write("sub/inside.jpg", "x");
    folder.write("\xE2\x98\x83.jpg", "snow");  // a name cp1250 cannot hold

    FolderListing listing;
    EXPECT_EQ(listing.state(), FolderListing::State::Closed);
    ASSERT_TRUE(listing.open(folder.path()));
    EXPECT_EQ(listing.state(), FolderListing::State::Ready);
    std::vector<platform::FolderEntry> entries;
    while (auto entry = listing.next())
        entries.push_back(*entry);
    EXPECT_EQ(listing.state(), FolderListing::State::Finished);
    EXPECT_FALSE(listing.next());

    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "A.jpg");
    EXPECT_EQ(entries[0].size, 1u);
    EXPECT_EQ(entries[1].name, "c.jpg");
    EXPECT_EQ(entries[1].size, 3u);
    EXPECT_TRUE(entries[1].nameFits);
    EXPECT_EQ(entries[2].name, "sub");
    EXPECT_TRUE(entries[2].isFolder);
    EXPECT_EQ(entries[3].name, "?.jpg");
    EXPECT_FALSE(entries[3].nameFits);

    listing.close();
    EXPECT_EQ(listing.state(), FolderListing::State::Closed);
    EXPECT_FALSE(listing.next());
}

TEST(FolderListing, AFolderThatCannotBeEnteredDoesNotOpenAndAnEmptyOneIsFinishedAtOnce) {
    TempFolder folder;
    folder.write("file.jpg", "x");
    FolderListing listing;
    EXPECT_FALSE(listing.open(folder.file("missing")));
    EXPECT_FALSE(listing.open(folder.file("file.jpg")));
    EXPECT_EQ(listing.state(), FolderListing::State::Closed);

    std::filesystem::create_directory(folder.file("empty"));
    ASSERT_TRUE(listing.open(folder.file("empty")));
    EXPECT_EQ(listing.state(), FolderListing::State::Finished);
    EXPECT_FALSE(listing.next());
}

}  // namespace
