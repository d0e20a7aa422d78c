// The demo data that the build makes: a catalogue the client can use, a price list that prices it,
// a header picture and a news message in the forms the client checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "buildinfo/build_constants.h"
#include "catalogue/code_list.h"
#include "lab_fixture.h"
#include "labserver/pricing.h"
#include "labserver/users.h"
#include "text/cp1250.h"

namespace {

namespace fs = std::filesystem;

const fs::path kPublic = labserver::demoDataFolder() / "public" / std::string(build::kVersion);

struct Section {
    std::vector<CodeEntry> entries;
    std::set<std::string> abbreviations() const {
        std::set<std::string> all;
        for (const CodeEntry& entry : entries)
            all.insert(entry.abbreviation);
        return all;
    }
    bool hasName(std::string_view wanted) const {
        return std::any_of(entries.begin(), entries.end(),
                           [&](const CodeEntry& e) { return e.name == wanted; });
    }
};

// The section as the client's own reader sees it.
Section load(std::string_view name) {
    CodeList list((kPublic / "snapord2.ini").string());
    list.load(name);
    return {list.entries()};
}

TEST(DemoCatalogue, IsWindows1250WithCrLfLinesAndNoCommentsCuttingValues) {
    const std::string bytes = labtest::readFile(kPublic / "snapord2.ini");
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(cp1250::toUtf8(bytes).complete());
    EXPECT_NE(bytes.find("name=Leskl\xFD\r\n"), std::string::npos) << "Czech names in cp1250";
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find('\n', start);
        ASSERT_NE(end, std::string::npos) << "the last line ends with a line break";
        const std::string line = bytes.substr(start, end - start);
        EXPECT_TRUE(line.ends_with('\r')) << line;
        // The client reads a ';' after the first position as the start of a comment.
        EXPECT_EQ(line.find(';', 1), std::string::npos) << line;
        EXPECT_LT(line.size(), 256u) << line;
        start = end + 1;
    }
}

TEST(DemoCatalogue, HasEverySectionTheClientReadsWithUsableEntries) {
    struct Row {
        const char* section;
        std::size_t least, most;        // entries
        std::size_t abbreviationLimit;  // what an order row's column holds; 0: no limit
        bool oneDefault;                // a drop-down list: exactly one entry preselected
    };
    const Row rows[] = {
        {"format", 5, 512, 11, true},      {"surface", 2, 512, 6, true}, {"margin", 2, 512, 6, true},
        {"specialfoto", 3, 512, 0, false}, {"pay", 4, 512, 0, true},     {"delivery", 4, 512, 0, true},
        {"shop", 2, 512, 0, true},         {"special", 1, 7, 0, false},  {"order", 1, 6, 0, false},
    };
    for (const Row& row : rows) {
        const Section section = load(row.section);
        EXPECT_GE(section.entries.size(), row.least) << row.section;
        EXPECT_LE(section.entries.size(), row.most) << row.section;
        std::set<std::int32_t> ids;
        int defaults = 0;
        for (const CodeEntry& entry : section.entries) {
            EXPECT_TRUE(ids.insert(entry.id).second) << row.section << " id " << entry.id;
            EXPECT_GT(entry.id, 0) << row.section;
            EXPECT_FALSE(entry.name.empty()) << row.section;
            defaults += entry.isDefault != 0;
            if (row.abbreviationLimit != 0) {
                EXPECT_LE(entry.abbreviation.size(), row.abbreviationLimit) << entry.abbreviation;
                EXPECT_EQ(entry.abbreviation.find(' '), std::string::npos) << entry.abbreviation;
            }
        }
        if (row.oneDefault) {
            EXPECT_EQ(defaults, 1) << row.section;
        }
    }
    EXPECT_TRUE(load("format").hasName("10 x 15 cm"));
    EXPECT_TRUE(load("surface").hasName("Lesklý"_cz));
    EXPECT_TRUE(load("surface").hasName("Matný"_cz));
    EXPECT_TRUE(load("margin").hasName("Bez okraje"));
    EXPECT_TRUE(load("margin").hasName("S okrajem"));
    EXPECT_EQ(load("pay").abbreviations(), (std::set<std::string>{"hot", "ucet", "dob", "online"}));
    EXPECT_EQ(load("delivery").abbreviations(), (std::set<std::string>{"os", "post", "dob", "postdob"}));
}

TEST(DemoPriceList, PricesEveryFormatProductAndDeliveryOfTheCatalogue) {
    const auto prices =
        labserver::readPriceList(labtest::readFile(labserver::demoDataFolder() / "prices.ini"));
    EXPECT_EQ(prices.currency, "Kč"_cz);
    struct Row {
        const char* section;
        const std::map<std::int64_t, std::int64_t>& table;
    };
    for (const Row& row :
         {Row{"format", prices.formats}, Row{"order", prices.products}, Row{"delivery", prices.deliveries}}) {
        for (const CodeEntry& entry : load(row.section).entries)
            EXPECT_TRUE(row.table.contains(entry.id)) << row.section << " " << entry.id;
    }
}

TEST(DemoHeaderPicture, IsASmallJfifBannerOf380By50) {
    const std::string jpeg = labtest::readFile(kPublic / "hlavicka.jpg");
    ASSERT_GT(jpeg.size(), 11u);
    EXPECT_LT(jpeg.size(), 20u * 1024);
    // The signature the client checks before it shows the header.
    EXPECT_EQ(jpeg.substr(0, 4), "\xFF\xD8\xFF\xE0");
    EXPECT_EQ(jpeg.substr(6, 5), std::string("JFIF\0", 5));
    // The frame header (SOF0 or SOF2) holds the height and the width.
    std::size_t pos = 2;
    int width = 0, height = 0;
    while (pos + 9 < jpeg.size() && jpeg[pos] == '\xFF') {
        const auto marker = static_cast<unsigned char>(jpeg[pos + 1]);
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(jpeg[at]); };
        if (marker == 0xC0 || marker == 0xC2) {
            height = byte(pos + 5) * 256 + byte(pos + 6);
            width = byte(pos + 7) * 256 + byte(pos + 8);
            break;
        }
        pos += 2 + byte(pos + 2) * 256 + byte(pos + 3);
    }
    EXPECT_EQ(width, 380);
    EXPECT_EQ(height, 50);
}

TEST(DemoNewsMessage, HasANumberATitleALinkAndATextInWindows1250) {
    const std::string message = labtest::readFile(kPublic / "message.txt");
    EXPECT_TRUE(cp1250::toUtf8(message).complete());
    const auto firstEnd = message.find("\r\n");
    ASSERT_NE(firstEnd, std::string::npos);
    const std::string first = message.substr(0, firstEnd);
    EXPECT_GT(std::atoi(first.c_str()), 0) << first;
    EXPECT_NE(first.find("Vítejte"_cz), std::string::npos) << first;
    const auto secondEnd = message.find("\r\n", firstEnd + 2);
    ASSERT_NE(secondEnd, std::string::npos);
    EXPECT_EQ(message.substr(firstEnd + 2, secondEnd - firstEnd - 2),
              std::string(build::kServerUrl) + "/cenik.php");
    EXPECT_GT(message.size(), secondEnd + 10) << "a text follows the link";
}

TEST(DemoUsers, KnowTheDemoLogin) {
    const fs::path users = labserver::demoDataFolder() / "users.txt";
    EXPECT_EQ(labserver::checkLogin(users, "demo", "demo").result, labserver::LoginResult::Accepted);
    EXPECT_EQ(labserver::checkLogin(users, "demo", "demo").customer, "1001");
    EXPECT_EQ(labserver::checkLogin(users, "demo", "Demo").result, labserver::LoginResult::WrongPassword);
    EXPECT_EQ(labserver::checkLogin(users, "Demo", "demo").result, labserver::LoginResult::UnknownName);
    EXPECT_EQ(labserver::checkLogin(users, "", "").result, labserver::LoginResult::Anonymous);
    EXPECT_EQ(labserver::checkLogin(users, "#",
                                    "Z\xE1kazn\xED"
                                    "ci")
                  .result,
              labserver::LoginResult::UnknownName)
        << "comment lines are no users";
}

}  // namespace
