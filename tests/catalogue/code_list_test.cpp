#include "catalogue/code_list.h"

#include <gtest/gtest.h>

#include "catalogue/option_list.h"
#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;

std::string entry(const std::string& name, const std::string& abbrev, const std::string& id,
                  const std::string& def) {
    return "name=" + name + "\nabbrev=" + abbrev + "\nid=" + id + "\ndefault=" + def + "\n";
}

class Catalogue : public ::testing::Test {
  protected:
    TempFolder folder;
    CodeList codes{folder.file("snapord2.ini")};

    void write(const std::string& content) { folder.write("snapord2.ini", content); }
};

TEST_F(Catalogue, BuildsEntriesFromTheIthOccurrenceOfEachKey) {
    // Czech names in cp1250: "Lesklý", "Matný".
    write("[surface]\n" + entry("Leskl\xFD", "L", "1", "0") +
          "abbrev=M\nname=Matn\xFD\ndefault=1\nother=x\nid=2\n" + "[format]\n" +
          entry("9x13", "9x13", "10", "1"));
    ASSERT_EQ(codes.load("surface"), 2);
    CodeEntry e;
    ASSERT_TRUE(codes.next(e));
    EXPECT_EQ(e.name, "Leskl\xFD");
    EXPECT_EQ(e.abbreviation, "L");
    EXPECT_EQ(e.id, 1);
    EXPECT_EQ(e.isDefault, 0);
    ASSERT_TRUE(codes.next(e));
    EXPECT_EQ(e.name, "Matn\xFD");
    EXPECT_EQ(e.id, 2);
    EXPECT_EQ(e.isDefault, 1);
    EXPECT_FALSE(codes.next(e));

    ASSERT_EQ(codes.load("format"), 1);  // the same list serves the next section
    ASSERT_TRUE(codes.next(e));
    EXPECT_EQ(e.name, "9x13");
}

TEST_F(Catalogue, AMissingKeyEndsTheList) {
    write("[pay]\n" + entry("A", "a", "1", "0") + "name=B\nabbrev=b\nid=2\n" + entry("C", "c", "3", "0"));
    // The second entry lacks "default"; the third one's default line then belongs to entry 1.
    EXPECT_EQ(codes.load("pay"), 2);
    EXPECT_EQ(codes.entries()[1].name, "B");
    EXPECT_EQ(codes.load("missing"), 0);
}

TEST_F(Catalogue, BlanksAroundEqualsHideTheKey) {
    write("[pay]\nname = A\nabbrev=a\nid=1\ndefault=0\n");
    EXPECT_EQ(codes.load("pay"), 0);
}

TEST_F(Catalogue, IdsAndDefaultsThatAreNotPlainIntegersCountAsZero) {
    write("[pay]\n" + entry("A", "a", "-5", "1") + entry("B", "b", "1.5", "1") +
          entry("C", "c", "12,13", "x") + entry("D", "d", " 7", "256"));
    ASSERT_EQ(codes.load("pay"), 4);
    const auto& e = codes.entries();
    EXPECT_EQ(e[0].id, -5);
    EXPECT_EQ(e[1].id, 0);
    EXPECT_EQ(e[2].id, 0);
    EXPECT_EQ(e[2].isDefault, 0);
    EXPECT_EQ(e[3].id, 0);
    EXPECT_EQ(e[3].isDefault, 0);  // the default flag is one byte
}

TEST_F(Catalogue, KeepsAtMost512Entries) {
    std::string content = "[format]\n";
    for (int i = 0; i < 513; ++i)
        content += entry("F" + std::to_string(i), "f", std::to_string(i), "0");
    write(content);
    EXPECT_EQ(codes.load("format"), 512);
    EXPECT_EQ(codes.entries().back().name, "F511");
}

TEST_F(Catalogue, LastEntryCountsWithoutAFinalLineBreak) {
    write("[margin]\n" + entry("Bez okraje", "B", "1", "0") + "name=S okrajem\nabbrev=S\nid=2\ndefault=1");
    EXPECT_EQ(codes.load("margin"), 2);
    EXPECT_EQ(codes.entries()[1].isDefault, 1);
}

TEST_F(Catalogue, NoFileGivesEmptyLists) {
    EXPECT_EQ(codes.load("format"), 0);
    CodeEntry e;
    EXPECT_FALSE(codes.next(e));
}

TEST(OptionList, LooksEntriesUpByPosition) {
    OptionList list;
    list.add("A", "a", 1, 0);
    list.add("B", "b", 2, 1);
    list.add(std::string(200, 'n'), "c", 3, 1);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.nameAt(1), "B");
    EXPECT_EQ(list.abbreviationAt(0), "a");
    EXPECT_EQ(list.idAt(2), 3);
    EXPECT_EQ(list.nameAt(2).size(), 127u);
    for (int outside : {-1, 3, 1000}) {
        EXPECT_EQ(list.nameAt(outside), "");
        EXPECT_EQ(list.abbreviationAt(outside), "");
        EXPECT_EQ(list.idAt(outside), -1);
    }
    EXPECT_EQ(list.defaultPosition(), 2);  // the last preselected entry wins

    std::vector<std::string> walked;
    list.rewind();
    while (!list.advance())
        walked.push_back(list.abbreviation());
    EXPECT_EQ(walked, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(list.advance());

    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.defaultPosition(), -1);
}

TEST(OptionList, DropsThe1025thEntry) {
    OptionList list;
    for (int i = 0; i < 1024; ++i)
        EXPECT_TRUE(list.add("n", "a", i, 0));
    EXPECT_FALSE(list.add("extra", "x", 1024, 0));
    EXPECT_EQ(list.count(), 1024);
    EXPECT_EQ(list.idAt(1023), 1023);
}

TEST_F(Catalogue, FillsAnOptionListFromASection) {
    write("[shop]\n" + entry("Praha", "Vodi\xE8kova 1", "7", "1") +
          entry("Brno", "N\xE1m\xECst\xED 2", "8", "0"));
    OptionList shops;
    shops.add("stale", "s", 1, 0);
    EXPECT_EQ(fillOptionList(codes, "shop", shops), 2);
    EXPECT_EQ(shops.nameAt(0), "Praha");
    EXPECT_EQ(shops.abbreviationAt(1), "N\xE1m\xECst\xED 2");
    EXPECT_EQ(shops.defaultPosition(), 0);
}

}  // namespace
