#include "platform/files.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <filesystem>
#include <set>
#include <string>

#include "platform/folder_listing.h"
#include "platform/fs_names.h"
#include "platform/path.h"
#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;

std::set<std::string> fileNames(const TempFolder& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        const std::u8string utf8 = entry.path().filename().u8string();  // UTF-16 names on Windows
        names.insert(std::string(utf8.begin(), utf8.end()));
    }
    return names;
}

TEST(FsNames, Cp1250PathsBecomeUtf8NamesAndBack) {
    const auto fsPath = platform::toFsPath(
        "/tmp/\xE8"
        "esk\xFD.jpg");  // český.jpg
    ASSERT_TRUE(fsPath);
#ifdef _WIN32
    EXPECT_EQ(fsPath->native(), L"/tmp/\u010Desk\u00FD.jpg");
#else
    EXPECT_EQ(fsPath->native(),
              "/tmp/\xC4\x8D"
              "esk\xC3\xBD.jpg");
#endif
    EXPECT_EQ(platform::fromFsName(*fsPath),
              "/tmp/\xE8"
              "esk\xFD.jpg");
    // A byte that cp1250 leaves undefined names no file; a name cp1250 cannot hold has no text.
    EXPECT_FALSE(platform::toFsPath("a\x81"));
    EXPECT_FALSE(platform::fromFsName("\xE2\x98\x83.jpg"));
}

TEST(FsNames, ACzechFileNameIsCreatedListedOpenedAndRenamedByItsOwnName) {
    const TempFolder folder;
    const std::string name(
        "Dovolen\xE1 u mo\xF8"
        "e.jpg");  // Dovolená u moře.jpg
    const std::string path = platform::joinPath(folder.path(), name);
    ASSERT_TRUE(platform::writeFileAtomically(path, "jpeg"));
    EXPECT_TRUE(platform::exists(path));
    EXPECT_EQ(platform::readFile(path), "jpeg");
    // On disk the name holds its own letters, not the cp1250 bytes read in another code page.
    EXPECT_EQ(fileNames(folder), std::set<std::string>{"Dovolen\xC3\xA1 u mo\xC5\x99"
                                                       "e.jpg"});

    // The program's own listing hands the name back in cp1250, openable as listed.
    platform::FolderListing listing;
    ASSERT_TRUE(listing.open(folder.path()));
    const auto entry = listing.next();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, name);
    EXPECT_TRUE(entry->nameFits);
    EXPECT_EQ(entry->size, 4u);
    std::FILE* file = platform::openFile(platform::joinPath(folder.path(), entry->name), "rb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);

    const std::string renamed = platform::joinPath(folder.path(), "\x8E\xEF\xE1r " + name);  // Žďár ...
    ASSERT_TRUE(platform::replaceFile(path, renamed));
    EXPECT_FALSE(platform::exists(path));
    EXPECT_EQ(platform::readFile(renamed), "jpeg");
    EXPECT_EQ(fileNames(folder),
              std::set<std::string>{"\xC5\xBD\xC4\x8F\xC3\xA1r Dovolen\xC3\xA1 u mo\xC5\x99"
                                    "e.jpg"});
}

TEST(Path, JoinsAndSplitsAtTheLastSeparator) {
#ifdef _WIN32
    const std::string folder = "C:\\a\\b";
    EXPECT_EQ(platform::joinPath(folder, "c.jpg"), "C:\\a\\b\\c.jpg");
#else
    const std::string folder = "/a/b";
    EXPECT_EQ(platform::joinPath(folder, "c.jpg"), "/a/b/c.jpg");
#endif
    const auto split = platform::splitAtLastSeparator(platform::joinPath(folder, "c.jpg"));
    EXPECT_EQ(split.folder, folder);
    EXPECT_EQ(split.name, "c.jpg");
    EXPECT_EQ(platform::splitAtLastSeparator("c.jpg").folder, "");
}

TEST(Files, AtomicWriteReplacesTheFileOnlyWhenEverythingWasWritten) {
    TempFolder folder;
    const std::string target = folder.file("order.sno");
    folder.write("order.sno", "old rows\r\n");

    const bool failed = platform::writeFileAtomically(target, [](std::FILE* file) {
        std::fputs("half of the new ro", file);
        return false;  // the disk filled up
    });
    EXPECT_FALSE(failed);
    EXPECT_EQ(folder.read("order.sno"), "old rows\r\n");
    EXPECT_EQ(fileNames(folder), std::set<std::string>{"order.sno"});

    EXPECT_TRUE(platform::writeFileAtomically(target, std::string_view("new rows\r\n")));
    EXPECT_EQ(folder.read("order.sno"), "new rows\r\n");
    EXPECT_EQ(fileNames(folder), std::set<std::string>{"order.sno"});
}

TEST(Files, AtomicWriteOfABareNameReplacesTheFileInTheCurrentFolder) {
    TempFolder folder;
    folder.write("order.sno", "old rows\r\n");
    {
        testing_support::CurrentFolderScope inFolder(folder.path());
        EXPECT_TRUE(platform::writeFileAtomically("order.sno", std::string_view("new rows\r\n")));
    }
    EXPECT_EQ(folder.read("order.sno"), "new rows\r\n");
    EXPECT_EQ(fileNames(folder), std::set<std::string>{"order.sno"});
}

TEST(Files, AtomicWriteFailsWhereNoFileCanBeCreated) {
    TempFolder folder;
    EXPECT_FALSE(platform::writeFileAtomically(folder.file("missing/order.sno"), std::string_view("x")));
}

TEST(Files, CopySizeRemoveAndReadWithCzechNames) {
    TempFolder folder;
    folder.write(
        "\xC4\x8D"
        "esk\xC3\xBD.jpg",
        "12345");  // český.jpg on disk
    const std::string source = platform::joinPath(folder.path(),
                                                  "\xE8"
                                                  "esk\xFD.jpg");
    const std::string target = folder.file("kopie.jpg");
    EXPECT_TRUE(platform::canOpenForReading(source));
    EXPECT_FALSE(platform::canOpenForReading(folder.path()));
    EXPECT_EQ(platform::fileSize(source), 5u);
    EXPECT_TRUE(platform::copyFile(source, target));
    EXPECT_EQ(platform::readFile(target), "12345");
    EXPECT_TRUE(platform::removeFile(target));
    EXPECT_FALSE(platform::exists(target));
    EXPECT_FALSE(platform::fileSize(target));
    EXPECT_FALSE(platform::copyFile(target, source));
    EXPECT_EQ(platform::readFile(source), "12345");
}

}  // namespace
