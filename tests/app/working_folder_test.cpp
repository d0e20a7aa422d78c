#include "app/working_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/state_files.h"
#include "buildinfo/build_constants.h"
#include "platform/path.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"

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

// A cp1250 path of folders below the root, with the platform's separator.
std::string rooted(std::initializer_list<std::string_view> names) {
#ifdef _WIN32
    std::string path = "C:";
#else
    std::string path;
#endif
    for (std::string_view name : names)
        path = platform::joinPath(path, name);
    return path;
}

TEST(ApplicationDataFolder, FallsBackInOrder) {
    struct Case {
        std::map<std::string, std::string> environment;
        std::string expected;
    };
    const std::string x = rooted({"x"});
    const std::string h = rooted({"h"});
    const std::string t = rooted({"t"});
    const std::string m = rooted({"m"});
#ifdef _WIN32
    // The shell's folder first, then the profile.
    const std::string first = platform::kShellApplicationData;
    const std::string home = "USERPROFILE";
    const std::string homeData = h;
#else
    const std::string first = "XDG_DATA_HOME";
    const std::string home = "HOME";
    const std::string homeData = rooted({"h", ".local", "share"});
#endif
    const Case cases[] = {
        {{{first, x}, {home, h}, {"TEMP", t}}, x},
        {{{first, ""}, {home, h}}, homeData},
        {{{home, h}, {"TEMP", t}, {"TMP", m}}, homeData},
        {{{"TEMP", t}, {"TMP", m}}, t},
        {{{"TMP", m}}, m},
        {{}, ""},
        // A value cp1250 cannot hold cannot become a path inside the program.
        {{{first, rooted({"\xE2\x98\x83"})}, {"TMP", m}}, m},
        // A Czech value (UTF-8, as the environment holds it) becomes its cp1250 path.
        {{{first, rooted({"Jan\xC4\x8D"})}}, rooted({"Jan\xE8"})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::applicationDataFolder(environmentOf(c.environment)), c.expected);
    }
}

#ifdef _WIN32
TEST(ApplicationDataFolder, ComesFromTheShellOnWindows) {
    // The process's lookup asks the shell, which names a folder that exists, whatever %APPDATA% says.
    const auto folder = platform::systemEnvironment(platform::kShellApplicationData);
    ASSERT_TRUE(folder);
    EXPECT_TRUE(
        std::filesystem::is_directory(std::filesystem::path(std::u8string(folder->begin(), folder->end()))));
    EXPECT_EQ(platform::applicationDataFolder(), cp1250::fromUtf8(*folder).text);
}
#endif

TEST(WorkingFolder, IsProductAndVersionUnderTheBase) {
    EXPECT_EQ(workingFolderPath(rooted({"home", "jana", ".local", "share"})),
              rooted({"home", "jana", ".local", "share", "Snapord", build::kVersion}));
}

class StartUp : public ::testing::Test {
  protected:
    TempFolder home;
    TempFolder start;
    CurrentFolderScope inStart{start.path()};
    const std::string working =
        platform::joinPath(platform::joinPath(home.file("data"), "Snapord"), std::string(build::kVersion));

    // Each start begins in the start folder, as the program does.
    std::string settle() {
        std::filesystem::current_path(start.path());
#ifdef _WIN32
        const char* const first = platform::kShellApplicationData;
#else
        const char* const first = "XDG_DATA_HOME";
#endif
        return settleWorkingFolder(environmentOf({{first, home.file("data")}}));
    }
};

TEST_F(StartUp, CreatesTheFoldersCopiesTheCatalogueAndEntersTheWorkingFolder) {
    // The base folder itself does not exist yet, as on a fresh home.
    start.write("snapord2.ini", "[format]\n");
    EXPECT_EQ(settle(), working);
    EXPECT_EQ(workingFolder(), working);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(working));
    EXPECT_EQ(home.read("data/Snapord/" + std::string(build::kVersion) + "/snapord2.ini"), "[format]\n");
}

TEST_F(StartUp, KeepsAReadableCatalogueAndReplacesAnUnreadableOne) {
    home.write("data/Snapord/" + std::string(build::kVersion) + "/snapord2.ini", "old");
    start.write("snapord2.ini", "new");
    settle();
    EXPECT_EQ(home.read("data/Snapord/" + std::string(build::kVersion) + "/snapord2.ini"), "old");

    // A catalogue that cannot be opened (here a link to nothing) is replaced by the start folder's.
    std::filesystem::remove(working + "/snapord2.ini");
    std::error_code linkError;
    std::filesystem::create_symlink(home.file("gone"), working + "/snapord2.ini", linkError);
    if (linkError)
        GTEST_SKIP() << "no symbolic link here (Windows asks a privilege for one): only a link to nothing "
                        "is a catalogue that cannot be read and can still be replaced";
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
