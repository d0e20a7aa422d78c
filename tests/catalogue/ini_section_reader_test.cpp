#include "catalogue/ini_section_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/process_memory.h"
#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;

class IniSection : public ::testing::Test {
  protected:
    TempFolder folder;

    IniSectionReader read(std::string_view content, std::string_view section = "s") {
        folder.write("cat.ini", content);
        IniSectionReader reader;
        EXPECT_TRUE(reader.open(folder.file("cat.ini"), section));
        return reader;
    }
};

TEST_F(IniSection, TypesValuesByTheirCharacters) {
    struct Case {
        const char* value;
        unsigned types;
        std::int32_t integer;
        double real;
        std::vector<std::int32_t> list;
    };
    using T = IniEntry::TypeFlag;
    const Case cases[] = {
        {"7", T::Text | T::Integer | T::Real, 7, 7.0, {}},
        {"-5", T::Text | T::Integer | T::Real, -5, -5.0, {}},
        {"5-", T::Text | T::Integer | T::Real, 5, 5.0, {}},  // '-' anywhere counts as a digit
        {"1.5", T::Text | T::Real, 0, 1.5, {}},
        {"12,13", T::Text | T::List, 0, 0.0, {12, 13}},
        {"1,2,3,4,5,6,7,8", T::Text | T::List, 0, 0.0, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"1,2,3,4,5,6,7,8,9", T::Text | T::List, 0, 0.0, {1, 2, 3, 4, 5, 6, 7, 8}},  // a ninth ends it
        {"1,,3", T::Text | T::List, 0, 0.0, {1}},  // an unreadable element ends it
        {" 7", T::Text, 0, 0.0, {}},               // a blank makes it text
        {"7 ", T::Text, 0, 0.0, {}},
        {".5", T::Text, 0, 0.0, {}},  // one digit is not enough for a real
        {"1.2.3", T::Text, 0, 0.0, {}},
        {"1,5.0", T::Text, 0, 0.0, {}},
        {"", T::Text, 0, 0.0, {}},
        {"abc", T::Text, 0, 0.0, {}},
    };
    for (const Case& c : cases) {
        const auto reader = read(std::string("[s]\nk=") + c.value + "\n");
        const IniEntry* entry = reader.find("k", 0);
        ASSERT_NE(entry, nullptr) << c.value;
        EXPECT_EQ(entry->text(), c.value);
        EXPECT_EQ(entry->types(), c.types) << c.value;
        EXPECT_EQ(entry->integer(), c.integer) << c.value;
        EXPECT_DOUBLE_EQ(entry->real(), c.real) << c.value;
        EXPECT_EQ(std::vector<std::int32_t>(entry->list().begin(), entry->list().end()), c.list) << c.value;
    }
}

TEST_F(IniSection, KeepsOnlyTheFirstSectionOfTheName) {
    const auto reader = read("[a]\nk=a\n[s]\nk=first\n[b]\nk=b\n[s]\nk=second\n");
    ASSERT_NE(reader.find("k", 0), nullptr);
    EXPECT_EQ(reader.find("k", 0)->text(), "first");
    EXPECT_EQ(reader.find("k", 1), nullptr);
    EXPECT_EQ(reader.entryCount(), 1u);

    IniSectionReader second;
    second.open(folder.file("cat.ini"), "s", 1);
    EXPECT_EQ(second.find("k", 0)->text(), "second");
}

TEST_F(IniSection, SectionNamesAreCaseSensitiveAndMayBeMissing) {
    EXPECT_EQ(read("[S]\nk=1\n").entryCount(), 0u);
    EXPECT_FALSE(read("[other]\nk=1\n").found());
    EXPECT_TRUE(read("[s] trailing\nk=1\n").found());  // the name ends at the first ']'
}

TEST_F(IniSection, SplitsAtTheFirstEqualsWithoutTrimming) {
    const auto reader = read("[s]\nname = Lesk\nurl=a=b\nbare line\n");
    EXPECT_EQ(reader.find("name", 0), nullptr);
    ASSERT_NE(reader.find("name ", 0), nullptr);
    EXPECT_EQ(reader.find("name ", 0)->text(), " Lesk");
    EXPECT_EQ(reader.find("url", 0)->text(), "a=b");
    ASSERT_NE(reader.find("bare line", 0), nullptr);
    EXPECT_EQ(reader.find("bare line", 0)->text(), "");
}

TEST_F(IniSection, SemicolonStartsACommentExceptInTheFirstPosition) {
    const auto reader = read("[s]\nabbrev=L ; glossy\n;note=x\nid=3;4\n");
    EXPECT_EQ(reader.find("abbrev", 0)->text(), "L ");
    ASSERT_NE(reader.find(";note", 0), nullptr);
    EXPECT_EQ(reader.find(";note", 0)->text(), "x");
    EXPECT_EQ(reader.find("id", 0)->integer(), 3);
}

TEST_F(IniSection, LineEndingsAllReadTheSame) {
    for (const char* content :
         {"[s]\nk=1\nj=2\n", "[s]\r\nk=1\r\nj=2\r\n", "[s]\rk=1\rj=2\r", "\n\n[s]\n\n\r\nk=1\nj=2"}) {
        const auto reader = read(content);
        ASSERT_EQ(reader.entryCount(), 2u) << content;
        EXPECT_EQ(reader.find("j", 0)->integer(), 2) << content;
    }
}

TEST_F(IniSection, ReadsTheLastLineWithoutALineBreak) {
    const auto reader = read("[s]\nname=A\ndefault=1");
    ASSERT_NE(reader.find("default", 0), nullptr);
    EXPECT_EQ(reader.find("default", 0)->integer(), 1);
}

TEST_F(IniSection, CutsLinesAt256CharactersAndReadsTheRestAsTheNextLine) {
    const std::string value(300, 'x');
    const auto reader = read("[s]\nk=" + value + "\n");
    ASSERT_EQ(reader.entryCount(), 2u);
    EXPECT_EQ(reader.find("k", 0)->text(), std::string(254, 'x'));
    EXPECT_EQ(reader.find(std::string(46, 'x'), 0)->text(), "");
}

TEST_F(IniSection, FindsTheNthEntryOfAKeyWhateverOrderTheQuestionsComeIn) {
    const auto reader = read("[s]\nk=0\nj=a\nk=1\nk=2\nj=b\nk=3\n");
    for (int n : {2, 0, 3, 1, 1, 4, 3}) {
        const IniEntry* entry = reader.find("k", n);
        if (n == 4) {
            EXPECT_EQ(entry, nullptr);
            continue;
        }
        ASSERT_NE(entry, nullptr) << n;
        EXPECT_EQ(entry->integer(), n);
    }
    EXPECT_EQ(reader.find("j", 1)->text(), "b");
    EXPECT_EQ(reader.find("k", -1), nullptr);
}

TEST_F(IniSection, ASectionTakesMemoryInProportionToItsLines) {
    // 16 MiB of one-letter lines under one section: eight million entries.
    const std::size_t lines = std::size_t{8} << 20;
    std::string content = "[s]\n";
    content.reserve(content.size() + 2 * lines + 16);
    for (std::size_t i = 0; i < lines; ++i)
        content += "a\n";
    content += "k=7\n";
    folder.write("cat.ini", content);
    content = std::string();

    const long peakBefore = testing_support::processStatusKiB("VmHWM");
    IniSectionReader reader;
    ASSERT_TRUE(reader.open(folder.file("cat.ini"), "s"));
    EXPECT_EQ(reader.entryCount(), lines + 1);
    ASSERT_NE(reader.find("k", 0), nullptr);
    EXPECT_EQ(reader.find("k", 0)->integer(), 7);
    ASSERT_NE(reader.find("a", static_cast<int>(lines) - 1), nullptr);
    // The lines themselves take 16 MiB; an entry object per line took more than 1 GiB.
    EXPECT_LT(testing_support::processStatusKiB("VmHWM") - peakBefore, 64 * 1024);
}

}  // namespace
