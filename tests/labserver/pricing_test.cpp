// The price list, the order file as the server reads it, and the sum of an order.
#include "labserver/pricing.h"

#include <gtest/gtest.h>

namespace {

using labserver::OrderFile;
using labserver::parseAmount;

TEST(Amounts, AreReadWithACommaOrAPointAndWrittenWithAComma) {
    struct Row {
        const char* text;
        std::optional<std::int64_t> hundredths;
    };
    const Row rows[] = {
        {"4,90", 490},           {"4.90", 490},
        {"120", 12000},          {"0,5", 50},
        {" 7,05 ", 705},         {"0", 0},
        {"", std::nullopt},      {"-1", std::nullopt},
        {"4,", std::nullopt},    {",5", std::nullopt},
        {"4,999", std::nullopt}, {"4,9x", std::nullopt},
        {"1 000", std::nullopt}, {"9999999999999", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parseAmount(row.text), row.hundredths) << "'" << row.text << "'";

    EXPECT_EQ(labserver::formatAmount(5260), "52,60");
    EXPECT_EQ(labserver::formatAmount(5), "0,05");
    EXPECT_EQ(labserver::formatAmount(123456789), "1234567,89");
    EXPECT_EQ(labserver::formatAmount(0), "0,00");
}

TEST(PriceList, ReadsItsSectionsAndSkipsWhatIsNotAPrice) {
    const auto prices = labserver::readPriceList(
        "; ceník\r\n[Currency]\r\nName=K\xE8\r\n[Format]\r\n1=4,90\r\n 2 = 5.90\r\nx=1\r\n3=zdarma\r\n"
        "[Product]\r\n3=120\r\n[Delivery]\n2=99,00\n[Other]\n5=1\n");
    EXPECT_EQ(prices.currency, "K\xE8");
    EXPECT_EQ(prices.formats, (std::map<std::int64_t, std::int64_t>{{1, 490}, {2, 590}}));
    EXPECT_EQ(prices.products, (std::map<std::int64_t, std::int64_t>{{3, 12000}}));
    EXPECT_EQ(prices.deliveries, (std::map<std::int64_t, std::int64_t>{{2, 9900}}));
}

// An order file as the client writes it: text-mode lines ending in CR CR LF, comments with '#'.
constexpr std::string_view kOrderFile =
    "[Customer]\r\r\nID=1001\r\r\n\r\r\n[Order]\r\r\nID=100007\r\r\nSystemID=1\r\r\nDate=2024-05-17\r\r\n"
    "Version=2.0.24.3\r\r\nNotice=Count=99 [Content]\r\r\nPayment=2\r\r\nDelivery=2\r\r\nShop=0\r\r\n"
    "# Payment:  P\xF8\x65vodem\r\r\n# Delivery: Po\xB9ta\r\r\n# Shop:     \r\r\n\r\r\n[OrderSpecials]\r\r\n"
    "\r\r\n[OrderProducts]\r\r\n# Fotografie (foto): 1\r\r\n1=1\r\r\n# CD (cd): 0\r\r\n3=0\r\r\n\r\r\n"
    "[Content]\r\r\nName=001_100007_a.jpg\r\r\n# 9 x 13 cm-Lesk\xFD-Bez okraje-2x "
    "\r\r\nFormat=1\r\r\nCount=2\r\r\n"
    "Border=1\r\r\nDull=1\r\r\nName=002_100007_b.jpg\r\r\n#  \r\r\nFormat=3\r\r\nCount=10\r\r\nBorder=2\r\r\n"
    "Dull=2\r\r\n\r\r\n[Price]\r\r\n";

TEST(OrderFiles, AreReadFromTheClientsLayout) {
    const auto order = labserver::readOrderFile(kOrderFile);
    ASSERT_TRUE(order);
    EXPECT_EQ(order->customerId, "1001");
    EXPECT_EQ(order->orderId, "100007");
    EXPECT_EQ(order->delivery, 2);
    EXPECT_EQ(order->products, (std::vector<std::pair<std::int64_t, std::int64_t>>{{1, 1}, {3, 0}}));
    ASSERT_EQ(order->photos.size(), 2u);
    EXPECT_EQ(order->photos[0].name, "001_100007_a.jpg");
    EXPECT_EQ(order->photos[1].name, "002_100007_b.jpg");
    EXPECT_EQ(order->photos[1].format, 3);
    EXPECT_EQ(order->photos[1].count, 10);
    EXPECT_EQ(order->photos[1].border, 2);
    EXPECT_EQ(order->photos[1].paper, 2);

    // An order without photographs is an order; a broken photograph makes the file unreadable.
    EXPECT_TRUE(labserver::readOrderFile("[Order]\r\r\nID=5\r\r\n\r\r\n[Content]\r\r\n\r\r\n[Price]\r\r\n"));
    EXPECT_FALSE(labserver::readOrderFile(""));
    EXPECT_FALSE(labserver::readOrderFile("[Order]\nID=5\n[Content]\nName=a\nFormat=1\n"));
    EXPECT_FALSE(labserver::readOrderFile("[Order]\nID=5\n[Content]\nName=a\nFormat=1\nCount=x\n"));
}

TEST(OrderPrices, AddPrintsTickedProductsAndDeliveryOrSayWhyNot) {
    labserver::PriceList prices;
    prices.formats = {{1, 490}, {3, 990}};
    prices.products = {{1, 0}, {3, 12000}};
    prices.deliveries = {{2, 9900}};
    const OrderFile order = *labserver::readOrderFile(kOrderFile);
    // 2 x 4,90 + 10 x 9,90 + product 1 + post 99,00; the unticked product 3 is not charged.
    EXPECT_EQ(labserver::priceOrder(order, prices).total, 980 + 9900 + 9900);

    struct Row {
        const char* name;
        void (*change)(OrderFile&);
    };
    const Row rows[] = {
        {"an unknown format", [](OrderFile& o) { o.photos[0].format = 2; }},
        {"a negative count", [](OrderFile& o) { o.photos[0].count = -1; }},
        {"an absurd count", [](OrderFile& o) { o.photos[0].count = 1'000'000'000'000; }},
        {"a ticked product without price", [](OrderFile& o) { o.products.emplace_back(7, 1); }},
        {"an unknown delivery", [](OrderFile& o) { o.delivery = -1; }},
    };
    for (const Row& row : rows) {
        OrderFile changed = order;
        row.change(changed);
        const auto result = labserver::priceOrder(changed, prices);
        EXPECT_FALSE(result.total) << row.name;
        EXPECT_FALSE(result.problem.empty()) << row.name;
    }
}

}  // namespace
