#include "app/working_folder.h"

#include <gtest/gtest.h>

#include <map>

#include "app/state_files.h"
#include "buildinfo/build_constants.h"
#include "support/temp_folder.h"

namespace {

using testing_support::CurrentFolderScope;
using testing_support::TempFolder;

platform::EnvironmentLookup environmentOf(std::map<std::string, std::string> values) {
    return [values](const char* name) -> std::optional<std::string> {
        const auto found = values.find(name);
        if (found == values.end())
            return std::nullopt;
        return found->second;
    };
}

TEST(ApplicationDataFolder, FallsBackInOrder) {
    struct Case {
        std::map<std::string, std::string> environment;
        std::string expected;
    };
    const Case cases[] = {
        {{{"XDG_DATA_HOME", "/x"}, {"HOME", "/h"}, {"TEMP", "/t"}}, "/x"},
        {{{"XDG_DATA_HOME", ""}, {"HOME", "/h"}}, "/h/.local/share"},
        {{{"HOME", "/h"}, {"TEMP", "/t"}, {"TMP", "/m"}}, "/h/.local/share"},
        {{{"TEMP", "/t"}, {"TMP", "/m"}}, "/t"},
        {{{"TMP", "/m"}}, "/m"},
        {{}, ""},
        // A value cp1250 cannot hold cannot become a path inside the program.
        {{{"XDG_DATA_HOME", "/\xE2\x98\x83"}, {"TMP", "/m"}}, "/m"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::applicationDataFolder(environmentOf(c.environment)), c.expected);
    }
}

TEST(WorkingFolder, IsProductAndVersionUnderTheBase) {
    EXPECT_EQ(workingFolderPath("/home/jana/.local/share"),
              "/home/jana/.local/share/Snapord/" + std::string(build::kVersion));
}

class StartUp : public ::testing::Test {
  protected:
    TempFolder home;
    TempFolder start;
    CurrentFolderScope inStart{start.path()};
    const std::string working = home.path() + "/data/Snapord/" + std::string(build::kVersion);

    // Each start begins in the start folder, as the program does.
    std::string settle() {
        std::filesystem::current_path(start.path());
        return settleWorkingFolder(environmentOf({{"XDG_DATA_HOME", home.path() + "/data"}}));
    }
};

TEST_F(StartUp, CreatesTheFoldersCopiesTheCatalogueAndEntersTheWorkingFolder) {
    // The base folder itself does not exist yet, as on a fresh home.
    start.write("snapord2.ini", "[format]\n");
    EXPECT_EQ(settle(), working);
    EXPECT_EQ(workingFolder(), working);
    EXPECT_EQ(std::filesystem::current_path(), working);
    EXPECT_EQ(home.read("data/Snapord/" + std::string(build::kVersion) + "/snapord2.ini"), "[format]\n");
}

TEST_F(StartUp, KeepsAReadableCatalogueAndReplacesAnUnreadableOne) {
    home.write("data/Snapord/" + std::string(build::kVersion) + "/snapord2.ini", "old");
    start.write("snapord2.ini", "new");
    settle();
    EXPECT_EQ(home.read("data/Snapord/" + std::string(build::kVersion) + "/snapord2.ini"), "old");

    // A catalogue that cannot be opened (here a link to nothing) is replaced by the start folder's.
    std::filesystem::remove(working + "/snapord2.ini");
    std::filesystem::create_symlink(home.path() + "/gone", working + "/snapord2.ini");
    settle();
    EXPECT_EQ(home.read("data/Snapord/" + std::string(build::kVersion) + "/snapord2.ini"), "new");
}

TEST_F(StartUp, GoesOnWhenTheCatalogueCannotBeReplaced) {
    std::filesystem::create_directories(working + "/snapord2.ini");
    start.write("snapord2.ini", "new");
    EXPECT_EQ(settle(), working);
    EXPECT_TRUE(std::filesystem::is_directory(working + "/snapord2.ini"));
}

TEST_F(StartUp, WithoutAnyCatalogueGoesOn) {
    EXPECT_EQ(settle(), working);
    EXPECT_FALSE(home.exists("data/Snapord/" + std::string(build::kVersion) + "/snapord2.ini"));
}

TEST_F(StartUp, FirstRunMarkerEmptiesTheOrderAndDeletesItself) {
    home.write("data/Snapord/" + std::string(build::kVersion) + "/order.sno", "a row\r\n");
    home.write("data/Snapord/" + std::string(build::kVersion) + "/firstrun.sno", "");
    settle();
    EXPECT_TRUE(home.exists("data/Snapord/" + std::string(build::kVersion) + "/order.sno"));
    EXPECT_EQ(home.read("data/Snapord/" + std::string(build::kVersion) + "/order.sno"), "");
    EXPECT_FALSE(home.exists("data/Snapord/" + std::string(build::kVersion) + "/firstrun.sno"));
}

TEST_F(StartUp, WithoutMarkerTheOrderStays) {
    home.write("data/Snapord/" + std::string(build::kVersion) + "/order.sno", "a row\r\n");
    settle();
    EXPECT_EQ(home.read("data/Snapord/" + std::string(build::kVersion) + "/order.sno"), "a row\r\n");
}

TEST_F(StartUp, MarkerStaysWhenTheOrderCannotBeEmptied) {
    home.write("data/Snapord/" + std::string(build::kVersion) + "/firstrun.sno", "");
    std::filesystem::create_directories(working + "/order.sno");  // cannot be opened for writing
    settle();
    EXPECT_TRUE(home.exists("data/Snapord/" + std::string(build::kVersion) + "/firstrun.sno"));
}

}  // namespace
