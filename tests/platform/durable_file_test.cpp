#include "platform/durable_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

std::set<std::string> fileNames(const TempFolder& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        const std::u8string utf8 = entry.path().filename().u8string();  // UTF-16 names on Windows
        names.insert(std::string(utf8.begin(), utf8.end()));
    }
    return names;
}

bool writeText(const fs::path& target, const std::string& text) {
    return platform::replaceFileDurably(target, [&text](std::FILE* file) {
        return std::fwrite(text.data(), 1, text.size(), file) == text.size();
    });
}

TEST(DurableFile, FilesOpenAtOnceInOneFolderHaveTheirOwnNames) {
    TempFolder folder;
    platform::DurableFile first(folder.path());
    platform::DurableFile second(folder.path());
    ASSERT_TRUE(first.isOpen());
    ASSERT_TRUE(second.isOpen());
    EXPECT_NE(first.path(), second.path());
    EXPECT_TRUE(platform::isTemporaryName(first.path().filename().string()));

    ASSERT_TRUE(first.append("first", 5));
    ASSERT_TRUE(second.append("second", 6));
    ASSERT_TRUE(first.finish());
    ASSERT_TRUE(second.finish());
    EXPECT_TRUE(second.replace(folder.file("b.txt")));
    EXPECT_TRUE(first.replace(folder.file("a.txt")));
    EXPECT_EQ(folder.read("a.txt"), "first");
    EXPECT_EQ(folder.read("b.txt"), "second");
    EXPECT_EQ(fileNames(folder), (std::set<std::string>{"a.txt", "b.txt"}));
}

// Writers that shared one temporary name would truncate or steal each other's file: the target would
// end up holding a mix, or a rename would fail. Each replacement must land whole.
TEST(DurableFile, ConcurrentReplacementsOfOneFileEachLandWhole) {
    TempFolder folder;
    const fs::path target = folder.file("params.sno");
    std::vector<std::string> texts;
    for (char c : std::string("abcd"))
        texts.push_back(std::string(200000, c));
    std::atomic<int> failures{0};
    std::vector<std::thread> writers;
    for (const std::string& text : texts) {
        writers.emplace_back([&, text] {
            for (int i = 0; i < 20; ++i) {
                if (!writeText(target, text))
                    ++failures;
            }
        });
    }
    for (auto& writer : writers)
        writer.join();
    EXPECT_EQ(failures, 0);
    const std::string content = folder.read("params.sno");
    EXPECT_NE(std::find(texts.begin(), texts.end(), content), texts.end()) << content.size() << " bytes";
    EXPECT_EQ(fileNames(folder), std::set<std::string>{"params.sno"});
}

TEST(DurableFile, AFileNeverPutInPlaceIsRemovedAndTheTargetKept) {
    TempFolder folder;
    folder.write("order.sno", "old");
    {
        platform::DurableFile file(folder.path());
        ASSERT_TRUE(file.append("new", 3));
        EXPECT_FALSE(file.finish(false));  // the caller's own write failed
        EXPECT_FALSE(file.replace(folder.file("order.sno")));
    }
    {
        platform::DurableFile unfinished(folder.path());
        ASSERT_TRUE(unfinished.append("new", 3));
        EXPECT_FALSE(unfinished.replace(folder.file("order.sno")));  // not flushed yet
    }
    EXPECT_EQ(folder.read("order.sno"), "old");
    EXPECT_EQ(fileNames(folder), std::set<std::string>{"order.sno"});
    EXPECT_FALSE(writeText(folder.file("missing/order.sno"), "x"));
}

TEST(DurableFile, LeftoversOfAStoppedWriterAreRemovedAndNothingElse) {
    TempFolder folder;
    folder.write("order.sno", "rows");
    folder.write(".hidden", "not ours");
    folder.write("\xE2\x98\x83.jpg", "a name of no code page");  // a snowman
    std::string leftover;
    {
        platform::DurableFile stopped(folder.path());
        ASSERT_TRUE(stopped.append("half", 4));
        stopped.release();  // as if the process had stopped here: nobody removes the file
        leftover = stopped.path().filename().string();
    }
    ASSERT_TRUE(folder.exists(leftover));

    platform::removeTemporaryFiles(folder.path());
    EXPECT_EQ(fileNames(folder), (std::set<std::string>{".hidden", "order.sno", "\xE2\x98\x83.jpg"}));
}

}  // namespace
