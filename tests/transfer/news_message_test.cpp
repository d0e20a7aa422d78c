#include "transfer/news_message.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace {

using namespace std::string_literals;

TEST(NewsMessage, ReadsNumberTitleLinkAndText) {
    struct Row {
        const char* name;
        std::string file;
        std::int32_t number;
        std::string title, link, text;
    };
    const std::string megabyte(1 << 20, 'm');
    const Row rows[] = {
        {"the blank after the number belongs to the title", "5 Akce\n\nPrvní řádek\nDruhý řádek\n", 5,
         " Akce", "", "První řádek\nDruhý řádek\n"},
        {"CR LF counts as one line break", "5 Akce\r\nhttp://lab.cz\r\nA\r\nB", 5, " Akce", "http://lab.cz",
         "A\nB"},
        {"white space before the number", " \n\t12x\nl\nt", 12, "x", "l", "t"},
        {"a negative number", "-3 old\n", -3, " old", "", ""},
        {"a title without a line feed at the end of the file", "7 Jen titulek", 7, " Jen titulek", "", ""},
        {"no number: a damaged file", "Novinka\nhttp://lab.cz\ntext", 0, "", "", ""},
        {"an empty file", "", 0, "", "", ""},
        {"a number beyond 32 bits", "99999999999 x\n", 0, "", "", ""},
        {"NUL bytes are left out", "5 Ti\0tle\nhttp://a\0b\nte\0xt"s, 5, " Title", "http://ab", "text"},
        {"lines of a megabyte are cut", "5" + megabyte + "\n" + megabyte + "\n" + megabyte, 5,
         std::string(kNewsTextLimit, 'm'), std::string(kNewsTextLimit, 'm'),
         std::string(kNewsTextLimit, 'm')},
        {"a megabyte without any line break", "8 " + megabyte, 8, " " + std::string(kNewsTextLimit - 1, 'm'),
         "", ""},
    };
    testing_support::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        folder.write("message.txt", row.file);
        const auto message = readNewsMessage(folder.file("message.txt"));
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->number, row.number);
        EXPECT_EQ(message->title, row.title);
        EXPECT_EQ(message->link, row.link);
        EXPECT_EQ(message->text, row.text);
    }
    EXPECT_FALSE(readNewsMessage(folder.file("missing.txt")).has_value());
}

TEST(NewsMessage, TheShownNumberIsWrittenAsADecimalLine) {
    testing_support::TempFolder folder;
    const std::string id = folder.file("message.id");
    EXPECT_EQ(readShownMessageNumber(id), 0);  // no file
    ASSERT_TRUE(writeShownMessageNumber(id, 5));
    EXPECT_EQ(folder.read("message.id"), "5\n");
    EXPECT_EQ(readShownMessageNumber(id), 5);
    folder.write("message.id", "poškozeno");
    EXPECT_EQ(readShownMessageNumber(id), 0);
}

TEST(NewsMessage, OnlyHttpAndHttpsAddressesAreOpened) {
    for (const char* link : {"http://lab.cz/akce", "https://lab.cz", "HTTP://LAB.CZ/?a=1&b=2"})
        EXPECT_TRUE(isWebAddress(link)) << link;
    for (const char* link :
         {"", "file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm", "C:\\Windows\\x.exe",
          "ftp://lab.cz", "mailto:lab@lab.cz", "http:/lab.cz", "https://", " http://lab.cz",
          "http://lab.cz/a b", "http://lab.cz/\t", "-http://lab.cz", "www.lab.cz"})
        EXPECT_FALSE(isWebAddress(link)) << link;
}

}  // namespace
