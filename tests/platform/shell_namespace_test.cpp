#include "platform/shell_namespace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/collation.h"
#include "platform/shell_open.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"

namespace {

using platform::FileSystemObject;
using platform::ShellItem;
using testing_support::TempFolder;

int sign(int value) {
    return (value > 0) - (value < 0);
}

struct CollationRow {
    std::string_view a;
    std::string_view b;
    int order;
};

void expectOrders(std::initializer_list<CollationRow> rows) {
    for (const CollationRow& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " / " + std::string(row.b));
        EXPECT_EQ(sign(platform::compareNaturally(row.a, row.b)), row.order);
        EXPECT_EQ(sign(platform::compareNaturally(row.b, row.a)), -row.order);
    }
}

TEST(Collation, SortsRunsOfDigitsByTheirValue) {
    expectOrders({
        {"foto2", "foto10", -1},
        {"foto10", "foto9", 1},
        {"foto007", "foto8", -1},
        {"a01", "a1", -1},  // equal values: the leading zero first, so the two still have an order
        {"2020", "a", -1},  // digits before letters
        {"same", "same", 0},
    });
}

TEST(Collation, SortsNamesAsCzechUsersAndFileManagersDo) {
    if (!platform::hasCzechCollation())
        GTEST_SKIP() << "the system has no cs_CZ locale (scripts/setup makes it)";
    expectOrders({
        {"Brno", "Český Krumlov"_cz, -1},  // Č after C, before D
        {"Hradec", "Cheb", -1},            // ch after h
        {"Zlín"_cz, "Žatec"_cz, -1},
        {"řeka"_cz, "sova", -1},
        {"alba", "Alba", -1},  // case only as a tie-breaker: small letters first
        {"alba", "Album", -1},
    });
}

TEST(ShellItems, SortByRankBeforeName) {
    ShellItem computer;
    computer.displayName = "Počítač"_cz;
    computer.sortRank = 2;
    ShellItem home;
    home.displayName = "Domovská složka"_cz;
    home.sortRank = 0;
    ShellItem folder;
    folder.displayName = "Alba";
    EXPECT_LT(platform::compareShellItems(home, computer), 0);
    EXPECT_LT(platform::compareShellItems(computer, folder), 0);
}

#ifndef _WIN32
// Points HOME at a folder for the lifetime of the object.
class HomeScope {
  public:
    explicit HomeScope(const std::string& home) {
        if (const char* old = std::getenv("HOME"))
            old_ = old;
        setenv("HOME", home.c_str(), 1);
    }
    ~HomeScope() {
        if (old_)
            setenv("HOME", old_->c_str(), 1);
        else
            unsetenv("HOME");
    }

  private:
    std::optional<std::string> old_;
};

std::map<std::string, ShellItem, std::less<>> listing(const platform::ShellNamespace& shell,
                                                      std::string_view folder) {
    std::map<std::string, ShellItem, std::less<>> items;
    EXPECT_TRUE(shell.enumerate(folder, [&](const ShellItem& item) {
        items[item.displayName.value_or("<none>")] = item;
        return true;
    }));
    return items;
}

#endif

TEST(LocalShellNamespace, ListsFoldersAndFilesWithTheirAttributesAndHidesDotNames) {
#ifdef _WIN32
    GTEST_SKIP() << "the shell namespace over the local file system is the Linux desktop's";
#else
    TempFolder folder;
    folder.write("Fotky/Léto/a.jpg", "x");
    folder.write("Prázdná/b.jpg", "x");
    folder.write(".skryté/c.jpg", "x");
    folder.write("poznámka.txt", "x");
    folder.write("\xE2\x98\x83/d.jpg", "x");  // a snowman: cp1250 cannot hold it
    const auto shell = platform::localShellNamespace();
    const std::string path = cp1250::fromUtf8(folder.path()).text;

    const auto items = listing(*shell, path);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_TRUE(items.at("Fotky").isFolder);
    EXPECT_TRUE(items.at("Fotky").hasSubfolders);
    EXPECT_EQ(items.at("Fotky").parsingName, path + "/Fotky");
    EXPECT_TRUE(items.at(std::string("Prázdná"_cz)).isFolder);
    EXPECT_FALSE(items.at(std::string("Prázdná"_cz)).hasSubfolders);
    EXPECT_FALSE(items.at(std::string("poznámka.txt"_cz)).isFolder);
    EXPECT_FALSE(items.at("<none>").parsingName.has_value());
    EXPECT_EQ(items.count(".skryté"_cz), 0u);

    EXPECT_EQ(shell->fileSystemObject(path + "/Fotky"), FileSystemObject::Directory);
    EXPECT_EQ(shell->fileSystemObject(path + std::string("/poznámka.txt"_cz)), FileSystemObject::Other);
    EXPECT_EQ(shell->fileSystemObject(path + "/nic"), FileSystemObject::None);
    EXPECT_EQ(shell->fileSystemObject("::computer"), FileSystemObject::None);
    EXPECT_FALSE(shell->enumerate(path + "/nic", [](const ShellItem&) { return true; }));
#endif
}

TEST(LocalShellNamespace, TheDesktopHoldsHomeComputerAndTrash) {
#ifdef _WIN32
    GTEST_SKIP() << "the shell namespace over the local file system is the Linux desktop's";
#else
    TempFolder home;
    HomeScope scope(home.path());
    const auto shell = platform::localShellNamespace();
    EXPECT_EQ(shell->desktop().displayName, "Plocha");
    EXPECT_EQ(shell->desktop().parsingName, "");

    const auto desktop = listing(*shell, "");
    EXPECT_EQ(desktop.at(std::string("Domovská složka"_cz)).parsingName, cp1250::fromUtf8(home.path()).text);
    EXPECT_EQ(desktop.at(std::string("Počítač"_cz)).parsingName, "::computer");
    EXPECT_TRUE(desktop.at(std::string("Počítač"_cz)).hasSubfolders);
    EXPECT_EQ(desktop.at(std::string("Koš"_cz)).parsingName, "::trash");
    EXPECT_EQ(desktop.count("Desktop"), 0u);  // no desktop folder in this home

    const auto computer = listing(*shell, "::computer");
    EXPECT_EQ(computer.at(std::string("Systém souborů"_cz)).parsingName, "/");
    EXPECT_TRUE(listing(*shell, "::trash").empty());

    EXPECT_EQ(shell->specialFolder(platform::kSpecialRecycleBin), "::trash");
    EXPECT_EQ(shell->specialFolder(platform::kSpecialControlPanel), std::nullopt);
    EXPECT_EQ(shell->specialFolder(platform::kSpecialComputer), "::computer");
#endif
}

TEST(ShellOpen, TellsAddressesFromPathsAndOpensOnlyWhatExists) {
    struct Row {
        std::string_view target;
        bool address;
    };
    const Row rows[] = {
        {"http://127.0.0.1:8080/cenik.php", true},
        {"mailto:lab@example.com", true},
        {"help.chm", false},
        {"C:\\Fotky\\a.jpg", false},
        {"--option:x", false},
        {"/home/jana/a.jpg", false},
        {"", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(platform::isAddress(row.target), row.address) << row.target;
    TempFolder folder;
    testing_support::CurrentFolderScope here(folder.path());
    EXPECT_FALSE(platform::openWithShell("help.chm"));  // no such file in the current folder
    EXPECT_FALSE(platform::openWithShell(""));
}

}  // namespace
