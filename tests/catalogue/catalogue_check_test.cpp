#include "catalogue/catalogue_check.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace {

std::string section(const std::string& name) {
    return "[" + name + "]\r\nname=" + name + "\r\nabbrev=a\r\nid=1\r\ndefault=1\r\n";
}

std::string fullCatalogue() {
    return section("format") + section("surface") + section("margin") + section("pay") + section("delivery");
}

TEST(CatalogueCheck, OnlyAFileWithTheListsOfTheWindowsIsACatalogue) {
    struct Row {
        const char* name;
        std::string content;
        bool usable;
    };
    const std::string padding(catalogue_check::kCatalogueSizeLimit, ';');
    const Row rows[] = {
        {"the five lists", fullCatalogue(), true},
        {"shops, specials and products besides", fullCatalogue() + section("shop") + section("order"), true},
        {"an empty body", "", false},
        {"a hotspot's page", "<html><head><title>Přihlášení k Wi-Fi</title></head><body></body></html>",
         false},
        {"no payments", section("format") + section("surface") + section("margin") + section("delivery"),
         false},
        {"an empty format section",
         "[format]\r\n" + section("surface") + section("margin") + section("pay") + section("delivery"),
         false},
        {"larger than any catalogue", fullCatalogue() + "\r\n" + padding, false},
    };
    testing_support::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        folder.write("download", row.content);
        EXPECT_EQ(catalogue_check::isUsableCatalogue(folder.file("download")), row.usable);
    }
    EXPECT_FALSE(catalogue_check::isUsableCatalogue(folder.file("missing")));
    EXPECT_FALSE(catalogue_check::isUsableCatalogue(folder.path()));
}

}  // namespace
