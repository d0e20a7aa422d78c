// The names of the server's files that requests carry.
#include "labserver/safe_names.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNames, AcceptPlainNamesInTheirUtf8SpellingAndRefuseAnyWayOut) {
    struct Row {
        std::string name;
        std::optional<std::string> expected;
    };
    const std::vector<Row> rows = {
        {"001_100001_IMG_0042.JPG", "001_100001_IMG_0042.JPG"},
        {"001_1_Dovolen\xE1 \xE8\x65rven 2024.jpg", "001_1_Dovolená červen 2024.jpg"},
        {"a..b", "a..b"},
        {std::string(255, 'a'), std::string(255, 'a')},
        {std::string(128, '\xE1'), std::nullopt},  // 256 bytes once converted
        {"", std::nullopt},
        {".", std::nullopt},
        {"..", std::nullopt},
        {".order", std::nullopt},
        {"../a", std::nullopt},
        {"a/b", std::nullopt},
        {"a\\b", std::nullopt},
        {"/etc", std::nullopt},
        {"a\tb", std::nullopt},
        {"a\x7F", std::nullopt},
        {std::string("a\0b", 3), std::nullopt},
        {"x\x98y", std::nullopt},  // a byte that cp1250 leaves undefined
    };
    for (const Row& row : rows)
        EXPECT_EQ(labserver::fileSystemName(row.name), row.expected) << row.name;
}

TEST(DownloadPaths, AreRelativePathsOfAcceptedNames) {
    EXPECT_EQ(labserver::relativeDownloadPath("2.0.24.3/hlavicka.jpg"),
              std::filesystem::path("2.0.24.3/hlavicka.jpg"));
    EXPECT_EQ(labserver::relativeDownloadPath("snapord2.ini"), std::filesystem::path("snapord2.ini"));
    for (const char* refused :
         {"", "/", "/etc/passwd", "a//b", "a/", "a/../b", "../a", "a/./b", "a\\b", "a/.b"})
        EXPECT_EQ(labserver::relativeDownloadPath(refused), std::nullopt) << refused;
}

}  // namespace
