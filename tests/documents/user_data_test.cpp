#include "documents/user_data.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;

struct RestoreCase {
    const char* name;
    std::string bytes;
    std::optional<std::int32_t> payment;
    std::optional<std::int32_t> delivery;
    std::optional<std::int32_t> shop;
};

TEST(UserData, RestoresThePositionsWhateverTheLineEnds) {
    const RestoreCase cases[] = {
        {"as the program writes it", "2\r\r\n0\r\r\n-1\r\r\n", 2, 0, -1},
        {"LF only", "2\n0\n-1\n", 2, 0, -1},
        {"CR only", "2\r0\r-1\r", 2, 0, -1},
        {"blank lines between", "\n\n2\r\n\r\n\n0\n\n\n-1", 2, 0, -1},
        {"no selected payment", "-1\r\r\n3\r\r\n4\r\r\n", -1, 3, 4},
        {"fewer than three lines", "5\n", 5, std::nullopt, std::nullopt},
        {"not a number reads as 0", "abc\n 7x\n+3\n", 0, 7, 3},
        {"NUL ends a line",
         std::string("4\0\0"
                     "1\n2\n",
                     7),
         4, 1, 2},
        {"0xFF at a line start ends the file",
         "1\n\xFF"
         "2\n3\n",
         1, std::nullopt, std::nullopt},
        {"0xFF inside a line ends the line",
         "1\xFF"
         "2\n3\n",
         1, 2, 3},
        {"a line of 1024 characters ends the reading", "1\n" + std::string(1024, '9') + "\n3\n", 1,
         std::nullopt, std::nullopt},
        {"empty file", "", std::nullopt, std::nullopt, std::nullopt},
    };
    TempFolder folder;
    for (const RestoreCase& c : cases) {
        folder.write("userdata.sno", c.bytes);
        const SavedChoices choices = restoreSavedChoices(folder.file("userdata.sno"));
        EXPECT_EQ(choices.payment, c.payment) << c.name;
        EXPECT_EQ(choices.delivery, c.delivery) << c.name;
        EXPECT_EQ(choices.shop, c.shop) << c.name;
    }
}

TEST(UserData, AMissingFileRestoresNothing) {
    TempFolder folder;
    const SavedChoices choices = restoreSavedChoices(folder.file("userdata.sno"));
    EXPECT_FALSE(choices.payment || choices.delivery || choices.shop);
}

TEST(UserData, SavesThreeLinesEndingInCrCrLfAndReadsThemBack) {
    TempFolder folder;
    const std::string path = folder.file("userdata.sno");
    folder.write("userdata.sno", "old content that is longer than the new one\n");
    ASSERT_TRUE(saveChoices(2, 0, -1, path));
    EXPECT_EQ(folder.read("userdata.sno"), "2\r\r\n0\r\r\n-1\r\r\n");
    const SavedChoices choices = restoreSavedChoices(path);
    EXPECT_EQ(choices.payment, 2);
    EXPECT_EQ(choices.delivery, 0);
    EXPECT_EQ(choices.shop, -1);

    EXPECT_FALSE(saveChoices(1, 1, 1, folder.file("missing/userdata.sno")));
}

}  // namespace
