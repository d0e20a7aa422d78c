#include "platform/program_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/files.h"
#include "platform/path.h"
#include "platform/shell_open.h"
#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;

TEST(ProgramFiles, AnInstalledProgramFindsItsFilesUnderItsPrefixAndABuiltOneNextToItself) {
    TempFolder root;
#ifdef _WIN32
    // Everything installed lies beside snapord.exe, even with a Unix-like layout around it.
    root.write("Snapord/snapord.exe", "");
    root.write("Snapord/snapord2.ini", "[format]\r\n");
    root.write("share/snapord/snapord2.ini", "[format]\r\n");
    EXPECT_EQ(platform::programDataFolder(root.file("Snapord")), root.file("Snapord"));
#else
    root.write("usr/bin/snapord", "");
    root.write("usr/share/snapord/snapord2.ini", "[format]\r\n");
    root.write("usr/share/snapord/help/index.html", "<html></html>");
    root.write("build/src/main/snapord", "");
    root.write("build/src/main/help/index.html", "<html></html>");

    EXPECT_EQ(platform::programDataFolder(root.file("usr/bin")), root.file("usr/share/snapord"));
    EXPECT_EQ(platform::programDataFolder(root.file("usr/bin/")), root.file("usr/share/snapord"));
    // A build folder has no share/ beside it: the files lie next to the program.
    EXPECT_EQ(platform::programDataFolder(root.file("build/src/main")), root.file("build/src/main"));
#endif
}

TEST(ProgramFiles, TheRunningProgramKnowsItsOwnFolderAndItsHelpPage) {
    const auto folder = platform::programFolder();
    ASSERT_TRUE(folder);
    // This test program lies in the folder found, whatever the current directory is.
    TempFolder elsewhere;
    testing_support::CurrentFolderScope here(elsewhere.path());
#ifdef _WIN32
    EXPECT_TRUE(platform::canOpenForReading(platform::joinPath(*folder, "platform_test.exe")));
    // No help beside the tests: the help file is named where it belongs.
    EXPECT_EQ(platform::helpDocument(), platform::joinPath(*folder, "help.chm"));
#else
    EXPECT_TRUE(platform::canOpenForReading(platform::joinPath(*folder, "platform_test")));
    EXPECT_EQ(platform::helpDocument(), platform::joinPath(*folder, "help/index.html"));
#endif
}

#ifndef _WIN32
// The desktop's opener replaced by a script on the PATH, for the length of a test.
class FakeOpener {
  public:
    explicit FakeOpener(int exitCode) {
        folder_.write("xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/opened\"\nexit " +
                                      std::to_string(exitCode) + "\n");
        std::filesystem::permissions(folder_.file("xdg-open"), std::filesystem::perms::owner_all);
        const char* path = std::getenv("PATH");
        oldPath_ = path != nullptr ? path : "";
        setenv("PATH", (folder_.path() + ":" + oldPath_).c_str(), 1);
    }
    ~FakeOpener() { setenv("PATH", oldPath_.c_str(), 1); }
    FakeOpener(const FakeOpener&) = delete;
    FakeOpener& operator=(const FakeOpener&) = delete;

    std::string opened() const { return folder_.read("opened"); }

  private:
    TempFolder folder_;
    std::string oldPath_;
};
#endif

TEST(ShellOpen, TellsWhetherTheOpenerFoundAnApplication) {
#ifdef _WIN32
    // The shell's answer for a type no application is associated with; opening one that has an
    // application would start it, which no test may do.
    TempFolder documents;
    documents.write(
        "Dovolen\xC3\xA1 u mo\xC5\x99"
        "e.snapord-nic",
        "x");
    EXPECT_FALSE(platform::openWithShell(platform::joinPath(documents.path(),
                                                            "Dovolen\xE1 u mo\xF8"
                                                            "e.snapord-nic")));
#else
    TempFolder documents;
    documents.write("index.html", "<html></html>");
    {
        FakeOpener opener(0);
        EXPECT_TRUE(platform::openWithShell(documents.file("index.html")));
        EXPECT_EQ(opener.opened(), documents.file("index.html"));
    }
    {
        // xdg-open's answer when no application handles the file: 3.
        FakeOpener opener(3);
        EXPECT_FALSE(platform::openWithShell(documents.file("index.html")));
        EXPECT_EQ(opener.opened(), documents.file("index.html"));
        EXPECT_FALSE(platform::openWithShell("http://127.0.0.1:1/cenik.php"));
        EXPECT_EQ(opener.opened(), "http://127.0.0.1:1/cenik.php");
    }
#endif
}

}  // namespace
