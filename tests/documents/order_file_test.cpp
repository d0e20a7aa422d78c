// The order file against bytes written by hand from its format.
#include <gtest/gtest.h>

#include <string>

#include "buildinfo/build_constants.h"
#include "documents/order_document.h"
#include "support/full_device.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"

namespace {

using testing_support::TempFolder;

constexpr char E[] = "\r\r\n";  // every line of the file ends so

OrderOption option(std::int32_t used, std::int32_t id, std::string_view name, std::string_view abbrev,
                   std::int32_t value) {
    return {used, id, std::string(name), std::string(abbrev), value};
}

PhotoRecord photo(std::int32_t formatId, std::string_view description, std::int32_t paperId,
                  std::int32_t marginId, std::int32_t copies) {
    return {0, formatId, std::string(description), paperId, marginId, copies};
}

class OrderFile : public ::testing::Test {
  protected:
    TempFolder folder;
    OrderDocument document;

    std::string written() {
        EXPECT_EQ(document.writeOrderFile(folder.file("obj.snf")), 0);
        return folder.read("obj.snf");
    }

    void identify(std::string_view customerId, std::string_view orderId, std::string_view date) {
        document.setIdentity({std::string(date), "srv/A123", std::string(customerId), std::string(orderId)});
    }
};

TEST_F(OrderFile, EmptyOrderEndsWithContentFollowedByPrice) {
    identify("C77", "A123", "2024-05-01");
    OrderParams params;
    params.payment = 1;
    params.delivery = 2;
    params.shop = 3;
    params.paymentName = "Hotov\xEC";  // Hotově
    params.deliveryName = "Osobn\xED";
    params.shopName = "Praha";
    document.setParams(params);
    const std::string expected =
        std::string("[Customer]") + E + "ID=C77" + E + E + "[Order]" + E + "ID=A123" + E + "SystemID=1" + E +
        "Date=2024-05-01" + E + "Version=" + std::string(build::kVersion) + E + "Notice=" + E + "Payment=1" +
        E + "Delivery=2" + E + "Shop=3" + E + "# Payment:  Hotov\xEC" + E + "# Delivery: Osobn\xED" + E +
        "# Shop:     Praha" + E + E + "[OrderSpecials]" + E + E + "[OrderProducts]" + E + E + "[Content]" +
        E + E + "[Price]" + E;
    EXPECT_EQ(written(), expected);
}

TEST_F(OrderFile, SpecialsProductsAndPhotographsInSlotOrder) {
    identify("C77", "A123", "2024-05-01");
    OrderParams params;
    params.payment = 3;
    params.delivery = 5;
    params.shop = 12;
    params.paymentName = "Hotov\xEC";
    params.deliveryName = std::string("Osobní odběr"_cz);
    params.shopName = "Praha 1";
    params.notice = "Rychle = #1";  // written as it stands
    params.specials[0] = option(1, 4, "Lamino", "lam", 1);
    params.specials[1] = option(2, 5, "Skipped", "x", 1);  // only used == 1 is written
    params.specials[3] = option(1, 6, "Obálka"_cz, "ob", 0);
    params.products[0] = option(1, 2, "Fotografie", "foto", 1);
    params.products[7] = option(-1, 9, "Skipped", "y", 1);
    document.setParams(params);

    document.setCurrentPhoto(photo(10, "9x13-Lesk-Bez-2x", 1, 3, 2));
    ASSERT_EQ(document.addEntry("/home/jana/fotky", "a.jpg"), AddEntryResult::Added);
    document.setCurrentPhoto(photo(99, "gone", 9, 9, 9));
    ASSERT_EQ(document.addEntry("/home/jana/fotky", "gap.jpg"), AddEntryResult::Added);
    document.setCurrentPhoto(photo(11, "10x15-Mat-S-1x", 2, 4, 1));
    ASSERT_EQ(document.addEntry("/home/jana", "b.jpg"), AddEntryResult::Added);
    document.entries()[1].used = 0;  // a free slot between used ones takes no number

    const std::string expected =
        std::string("[Customer]") + E + "ID=C77" + E + E + "[Order]" + E + "ID=A123" + E + "SystemID=1" + E +
        "Date=2024-05-01" + E + "Version=" + std::string(build::kVersion) + E + "Notice=Rychle = #1" + E +
        "Payment=3" + E + "Delivery=5" + E + "Shop=12" + E + "# Payment:  Hotov\xEC" + E +
        "# Delivery: Osobn\xED odb\xECr" + E + "# Shop:     Praha 1" + E + E + "[OrderSpecials]" + E +
        "# Lamino (lam): 1" + E + "4=1" + E + "# Ob\xE1lka (ob): 0" + E + "6=0" + E + E + "[OrderProducts]" +
        E + "# Fotografie (foto): 1" + E + "2=1" + E + E + "[Content]" + E + "Name=001_A123_a.jpg" + E +
        "# 9x13-Lesk-Bez-2x " + E + "Format=10" + E + "Count=2" + E + "Border=3" + E + "Dull=1" + E +
        "Name=002_A123_b.jpg" + E + "# 10x15-Mat-S-1x " + E + "Format=11" + E + "Count=1" + E + "Border=4" +
        E + "Dull=2" + E + E + "[Price]" + E;
    EXPECT_EQ(written(), expected);
}

TEST_F(OrderFile, TheThousandthPhotographHasFourDigits) {
    identify("C", "B9", "d");
    for (int i = 1; i <= 1000; ++i) {
        document.setCurrentPhoto(photo(i, "p", 0, 0, 1));
        ASSERT_EQ(document.addEntry("/f", "p" + std::to_string(i) + ".jpg"), AddEntryResult::Added);
    }
    const std::string file = written();
    const std::string tail = std::string("Name=999_B9_p999.jpg") + E + "# p " + E + "Format=999" + E +
                             "Count=1" + E + "Border=0" + E + "Dull=0" + E + "Name=1000_B9_p1000.jpg" + E +
                             "# p " + E + "Format=1000" + E + "Count=1" + E + "Border=0" + E + "Dull=0" + E +
                             E + "[Price]" + E;
    ASSERT_GE(file.size(), tail.size());
    EXPECT_EQ(file.substr(file.size() - tail.size()), tail);
    EXPECT_NE(file.find(std::string("Name=001_B9_p1.jpg") + E), std::string::npos);
}

// An order saved to disk after the server's parameters could not be fetched, to a shop that does not
// apply: empty identity, shop 0 and no shop name.
TEST_F(OrderFile, EmptyHeaderTextsAndNoShop) {
    OrderParams params;
    params.shop = 0;
    document.setParams(params);
    document.setCurrentPhoto(photo(1, "d", 1, 1, 1));
    ASSERT_EQ(document.addEntry("/f", "IMG_0001.JPG"), AddEntryResult::Added);
    ASSERT_EQ(document.addEntry("/f", "IMG_0002.JPG"), AddEntryResult::Added);
    const std::string file = written();
    const std::string head = std::string("[Customer]") + E + "ID=" + E + E + "[Order]" + E + "ID=" + E +
                             "SystemID=1" + E + "Date=" + E + "Version=";
    EXPECT_EQ(file.substr(0, head.size()), head);
    EXPECT_NE(file.find(std::string(E) + "Shop=0" + E), std::string::npos);
    EXPECT_NE(file.find(std::string(E) + "# Shop:     " + E), std::string::npos);
    EXPECT_NE(file.find(std::string(E) + "Name=001__IMG_0001.JPG" + E), std::string::npos);
    EXPECT_NE(file.find(std::string(E) + "Name=002__IMG_0002.JPG" + E), std::string::npos);
}

TEST_F(OrderFile, LineBreaksInValuesAreWrittenAsBlanks) {
    OrderParams params;
    params.notice = "first\r\n[Price]\nsecond\r";
    params.products[0] = option(1, 2, "Foto\ngrafie", "f", 1);
    document.setParams(params);
    const std::string file = written();
    EXPECT_NE(file.find(std::string(E) + "Notice=first  [Price] second " + E), std::string::npos);
    EXPECT_NE(file.find(std::string(E) + "# Foto grafie (f): 1" + E), std::string::npos);
    // One "[Price]" line only: the note added none.
    const std::string price = std::string(E) + "[Price]" + E;
    EXPECT_EQ(file.find(price), file.rfind(price));
}

TEST_F(OrderFile, FailuresAreReported) {
    EXPECT_EQ(document.writeOrderFile(folder.file("missing/obj.snf")), 1);
    EXPECT_FALSE(folder.exists("missing"));
    // A disk that fills up after the file was created.
    const auto full = testing_support::fullDevice();
    if (!full)
        GTEST_SKIP() << "no device here that is always full (Windows has none; Wine shows Linux's)";
    EXPECT_EQ(document.writeOrderFile(*full), 1);
}

}  // namespace
