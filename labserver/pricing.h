// Pricing an order: the lab's price list and the order file that the client uploads with every order.
//
// Amounts are kept in hundredths of the currency unit (haléře for Kč), so that sums are exact.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace labserver {

// The price list "prices.ini" (cp1250): section [Currency] with Name=, and the sections [Format]
// (price of one print by format id), [Product] (price per order of each ticked product, by id) and
// [Delivery] (price by delivery id), each line "id=amount".
struct PriceList {
    std::string currency;
    std::map<std::int64_t, std::int64_t> formats;
    std::map<std::int64_t, std::int64_t> products;
    std::map<std::int64_t, std::int64_t> deliveries;
};

// Reads a price list; lines that are not "id=amount" with a readable amount are skipped.
PriceList readPriceList(std::string_view text);

// An amount written with a decimal comma or point and at most two decimals ("4,90", "120", "0.5"), in
// hundredths; none for anything else, a negative amount included.
std::optional<std::int64_t> parseAmount(std::string_view text);

// Hundredths as the lab writes an amount: "1234,50".
std::string formatAmount(std::int64_t hundredths);

// One photograph of an order file: its name on the server, format id, copies, border and paper ids.
struct OrderFilePhoto {
    std::string name;
    std::int64_t format = 0;
    std::int64_t count = 0;
    std::int64_t border = 0;
    std::int64_t paper = 0;
};

// What the server reads from an order file: the ids of its header and the photographs of [Content].
struct OrderFile {
    std::string customerId;
    std::string orderId;
    std::int64_t delivery = 0;
    // [OrderProducts]: product id and value (1 = ticked), in file order.
    std::vector<std::pair<std::int64_t, std::int64_t>> products;
    std::vector<OrderFilePhoto> photos;
};

// Reads an order file (cp1250; CR LF or CR CR LF line ends; '#' lines are comments). None when it has
// no [Order] section, or a photograph lacks Format or Count, or a number is unreadable.
std::optional<OrderFile> readOrderFile(std::string_view text);

// The total of an order in hundredths, or the reason it cannot be priced (an id the price list does
// not know, a count out of range).
struct PriceResult {
    std::optional<std::int64_t> total;
    std::string problem;
};
PriceResult priceOrder(const OrderFile& order, const PriceList& prices);

}  // namespace labserver
