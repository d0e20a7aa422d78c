#include "labserver/pricing.h"

#include "labserver/ini_text.h"

namespace labserver {

namespace {

// Large enough for any real order, small enough that no sum of them overflows.
constexpr std::int64_t kMaxAmount = 1'000'000'000'00;
constexpr std::int64_t kMaxCopies = 100'000;

bool addChecked(std::int64_t& sum, std::int64_t amount) {
    return !__builtin_add_overflow(sum, amount, &sum) && sum <= kMaxAmount * 1000;
}

}  // namespace

std::optional<std::int64_t> parseAmount(std::string_view text) {
    text = trimBlanks(text);
    const auto separator = text.find_first_of(",.");
    const std::string_view units = text.substr(0, separator);
    std::string_view decimals =
        separator == std::string_view::npos ? std::string_view() : text.substr(separator + 1);
    if (units.empty() || decimals.size() > 2 || (separator != std::string_view::npos && decimals.empty()))
        return std::nullopt;
    const auto allDigits = [](std::string_view digits) {
        return digits.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!allDigits(units) || !allDigits(decimals) || units.size() > 12)
        return std::nullopt;
    std::int64_t hundredths = std::stoll(std::string(units)) * 100;
    if (!decimals.empty())
        hundredths += std::stoll(std::string(decimals)) * (decimals.size() == 1 ? 10 : 1);
    if (hundredths > kMaxAmount)
        return std::nullopt;
    return hundredths;
}

std::string formatAmount(std::int64_t hundredths) {
    const std::string sign = hundredths < 0 ? "-" : "";
    const std::uint64_t magnitude = hundredths < 0 ? 0 - static_cast<std::uint64_t>(hundredths) : hundredths;
    const std::uint64_t cents = magnitude % 100;
    return sign + std::to_string(magnitude / 100) + (cents < 10 ? ",0" : ",") + std::to_string(cents);
}

PriceList readPriceList(std::string_view text) {
    PriceList prices;
    forEachIniLine(text, [&](const IniLine& line) {
        if (line.section == "Currency") {
            if (line.key == "Name")
                prices.currency = trimBlanks(line.value);
            return;
        }
        std::map<std::int64_t, std::int64_t>* table = line.section == "Format"     ? &prices.formats
                                                      : line.section == "Product"  ? &prices.products
                                                      : line.section == "Delivery" ? &prices.deliveries
                                                                                   : nullptr;
        const auto id = wholeInteger(line.key);
        const auto amount = parseAmount(line.value);
        if (table != nullptr && id && amount)
            (*table)[*id] = *amount;
    });
    return prices;
}

std::optional<OrderFile> readOrderFile(std::string_view text) {
    OrderFile order;
    bool hasOrder = false;
    bool readable = true;
    const auto number = [&](std::string_view value, std::int64_t& into) {
        const auto read = wholeInteger(value);
        if (read)
            into = *read;
        else
            readable = false;
    };
    // Which of Format and Count each photograph had: both are needed to price it.
    std::vector<unsigned> seen;
    forEachIniLine(text, [&](const IniLine& line) {
        if (line.section == "Customer" && line.key == "ID") {
            order.customerId = line.value;
        } else if (line.section == "Order") {
            hasOrder = true;
            if (line.key == "ID")
                order.orderId = line.value;
            else if (line.key == "Delivery")
                number(line.value, order.delivery);
        } else if (line.section == "OrderProducts") {
            std::int64_t id = 0;
            std::int64_t value = 0;
            number(line.key, id);
            number(line.value, value);
            order.products.emplace_back(id, value);
        } else if (line.section == "Content") {
            if (line.key == "Name") {
                order.photos.push_back({std::string(line.value)});
                seen.push_back(0);
                return;
            }
            if (order.photos.empty())
                return;
            OrderFilePhoto& photo = order.photos.back();
            if (line.key == "Format") {
                number(line.value, photo.format);
                seen.back() |= 1;
            } else if (line.key == "Count") {
                number(line.value, photo.count);
                seen.back() |= 2;
            } else if (line.key == "Border") {
                number(line.value, photo.border);
            } else if (line.key == "Dull") {
                number(line.value, photo.paper);
            }
        }
    });
    for (const unsigned flags : seen)
        readable = readable && flags == 3;
    if (!hasOrder || !readable)
        return std::nullopt;
    return order;
}

PriceResult priceOrder(const OrderFile& order, const PriceList& prices) {
    std::int64_t total = 0;
    for (const OrderFilePhoto& photo : order.photos) {
        const auto price = prices.formats.find(photo.format);
        if (price == prices.formats.end())
            return {std::nullopt, "format " + std::to_string(photo.format) + " has no price"};
        if (photo.count < 0 || photo.count > kMaxCopies)
            return {std::nullopt, "count " + std::to_string(photo.count) + " is out of range"};
        if (!addChecked(total, price->second * photo.count))
            return {std::nullopt, "the total is out of range"};
    }
    for (const auto& [id, value] : order.products) {
        if (value != 1)
            continue;
        const auto price = prices.products.find(id);
        if (price == prices.products.end())
            return {std::nullopt, "product " + std::to_string(id) + " has no price"};
        if (!addChecked(total, price->second))
            return {std::nullopt, "the total is out of range"};
    }
    const auto delivery = prices.deliveries.find(order.delivery);
    if (delivery == prices.deliveries.end())
        return {std::nullopt, "delivery " + std::to_string(order.delivery) + " has no price"};
    if (!addChecked(total, delivery->second))
        return {std::nullopt, "the total is out of range"};
    return {total, {}};
}

}  // namespace labserver
