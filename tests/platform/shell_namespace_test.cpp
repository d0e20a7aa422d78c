#include "platform/shell_namespace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/collation.h"
#include "platform/path.h"
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
        GTEST_SKIP() << "the system has no Czech collation (on Linux scripts/setup makes the cs_CZ locale)";
    expectOrders({
        {"Brno", "Český Krumlov"_cz, -1},  // Č after C, before D
        {"Cyril", "Čáslav"_cz, -1},
        {"Čáslav"_cz, "Dobříš"_cz, -1},
        {"Hradec", "Cheb", -1},  // ch after h, before i
        {"Chomutov", "Ivančice"_cz, -1},
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

#ifdef _WIN32
constexpr std::string_view kComputer = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

std::map<std::string, ShellItem, std::less<>> windowsListing(const platform::ShellNamespace& shell,
                                                             std::string_view folder) {
    std::map<std::string, ShellItem, std::less<>> items;
    EXPECT_TRUE(shell.enumerate(folder, [&](const ShellItem& item) {
        items[item.parsingName.value_or("<none>")] = item;
        return true;
    }));
    return items;
}

// Class identifiers are written in either case (Wine writes them in small letters).
std::string upper(std::string text) {
    for (char& c : text)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return text;
}

TEST(WindowsShellNamespace, TheDesktopHoldsTheComputerAndItsDrives) {
    const auto shell = platform::localShellNamespace();
    const ShellItem desktop = shell->desktop();
    EXPECT_EQ(desktop.parsingName, "");
    EXPECT_FALSE(desktop.displayName.value_or("").empty());
    EXPECT_EQ(desktop.icon, platform::ShellIcon::Desktop);

    std::string listed;
    const ShellItem* found = nullptr;
    const auto items = windowsListing(*shell, "");
    for (const auto& [name, item] : items) {
        listed += name + " (" + item.displayName.value_or("") + ") ";
        if (upper(name) == kComputer)
            found = &item;
    }
    ASSERT_NE(found, nullptr) << listed;
    const ShellItem computer = *found;
    EXPECT_TRUE(computer.isFolder);
    EXPECT_TRUE(computer.hasSubfolders);
    EXPECT_EQ(computer.icon, platform::ShellIcon::Computer);
    EXPECT_FALSE(computer.displayName.value_or("").empty());
    EXPECT_EQ(upper(shell->specialFolder(platform::kSpecialComputer).value_or("")), kComputer);
    EXPECT_EQ(shell->specialFolder(platform::kSpecialComputer), computer.parsingName);
    EXPECT_EQ(shell->fileSystemObject(std::string(kComputer)), FileSystemObject::None);

    // The recycle bin and the control panel have names the tree can leave out: the recycle bin's is the
    // name it has in the desktop's listing. The desktop is the root.
    const auto recycleBin = shell->specialFolder(platform::kSpecialRecycleBin);
    ASSERT_TRUE(recycleBin);
    EXPECT_TRUE(recycleBin->starts_with("::"));
    ASSERT_EQ(items.count(*recycleBin), 1u) << listed;
    EXPECT_EQ(items.at(*recycleBin).icon, platform::ShellIcon::Trash);
    EXPECT_TRUE(shell->specialFolder(platform::kSpecialControlPanel).value_or("").starts_with("::"));
    EXPECT_EQ(shell->specialFolder(platform::kSpecialDesktop), "");

    const auto drives = windowsListing(*shell, *computer.parsingName);
    listed.clear();
    for (const auto& [name, item] : drives)
        listed += name + " (" + item.displayName.value_or("") + ") ";
    ASSERT_EQ(drives.count("C:\\"), 1u) << listed;
    const ShellItem& c = drives.find("C:\\")->second;
    EXPECT_TRUE(c.isFolder);
    EXPECT_EQ(c.icon, platform::ShellIcon::HardDisk);
    EXPECT_EQ(shell->fileSystemObject("C:\\"), FileSystemObject::Directory);

    // The shell's own small icons, by their index in the system list, with their pixels.
    ASSERT_TRUE(shell->hasSystemIcons());
    EXPECT_GE(computer.systemIcon, 0);
    EXPECT_GE(c.systemIcon, 0);
    const auto pixels = shell->systemIconPixels(c.systemIcon);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->width, 16);
    EXPECT_EQ(pixels->height, 16);
    ASSERT_EQ(pixels->rgba.size(), 16u * 16u * 4u);
    bool opaque = false;
    for (std::size_t i = 3; i < pixels->rgba.size(); i += 4)
        opaque = opaque || pixels->rgba[i] != 0;
    EXPECT_TRUE(opaque);
    EXPECT_FALSE(shell->systemIconPixels(-1));
}

TEST(WindowsShellNamespace, ListsFoldersAndFilesWithCzechNamesInTheShellsOrder) {
    TempFolder folder;
    folder.write("Fotky/L\xC3\xA9to/a.jpg", "x");      // Fotky/Léto
    folder.write("Pr\xC3\xA1zdn\xC3\xA1/b.jpg", "x");  // Prázdná
    folder.write(
        "Dovolen\xC3\xA1 u mo\xC5\x99"
        "e.jpg",
        "x");                                 // Dovolená u moře.jpg
    folder.write("\xE2\x98\x83/d.jpg", "x");  // a snowman: cp1250 cannot hold it
    const auto shell = platform::localShellNamespace();
    const std::string path = cp1250::fromUtf8(folder.path()).text;
    const std::string photos = platform::joinPath(path, "Fotky");
    const std::string empty = platform::joinPath(path, "Pr\xE1zdn\xE1");
    const std::string holiday = platform::joinPath(path,
                                                   "Dovolen\xE1 u mo\xF8"
                                                   "e.jpg");

    const auto items = windowsListing(*shell, path);
    ASSERT_EQ(items.size(), 4u);
    ASSERT_EQ(items.count(photos), 1u);
    EXPECT_EQ(items.at(photos).displayName, "Fotky");
    EXPECT_TRUE(items.at(photos).isFolder);
    EXPECT_TRUE(items.at(photos).hasSubfolders);
    EXPECT_GE(items.at(photos).systemIcon, 0);
    ASSERT_EQ(items.count(empty), 1u);
    EXPECT_EQ(items.at(empty).displayName, "Pr\xE1zdn\xE1");
    EXPECT_TRUE(items.at(empty).isFolder);
    ASSERT_EQ(items.count(holiday), 1u);
    EXPECT_FALSE(items.at(holiday).isFolder);
    EXPECT_EQ(items.at(holiday).icon, platform::ShellIcon::File);
    EXPECT_TRUE(
        items.at(holiday).displayName.value_or("").starts_with("Dovolen\xE1 u mo\xF8"
                                                               "e"));
    EXPECT_EQ(items.count("<none>"), 1u);  // the snowman's folder has no cp1250 name

    // The folder's own order: the two folders compare by the shell's rules, each way round.
    EXPECT_LT(shell->compare(items.at(photos), items.at(empty)), 0);
    EXPECT_GT(shell->compare(items.at(empty), items.at(photos)), 0);

    const auto inPhotos = windowsListing(*shell, photos);
    ASSERT_EQ(inPhotos.size(), 1u);
    EXPECT_EQ(inPhotos.begin()->second.displayName, "L\xE9to");

    EXPECT_EQ(shell->fileSystemObject(photos), FileSystemObject::Directory);
    EXPECT_EQ(shell->fileSystemObject(holiday), FileSystemObject::Other);
    EXPECT_EQ(shell->fileSystemObject(platform::joinPath(path, "nic")), FileSystemObject::None);
    EXPECT_FALSE(shell->enumerate(platform::joinPath(path, "nic"), [](const ShellItem&) { return true; }));
}
#endif

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
