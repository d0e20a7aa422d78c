// The lab's web pages that the client opens in the browser: orders, price list, payment. They are
// plain UTF-8 HTML made from the data folder; every text from a request or a file is escaped.
#pragma once

#include <string>
#include <string_view>

#include "labserver/commands.h"

namespace labserver {

// "/": what this server is, with links to the pages.
std::string homePage();
// "/extranet.php": the orders received, newest first.
std::string ordersPage(const Commands& commands);
// "/cenik.php": the price list, with the names of the catalogue of client version `version`.
std::string priceListPage(const DataFolder& data, std::string_view version);
// "/onlineplatba.php?obj=...&type=...": the demo payment gateway for an order (cp1250 query values).
std::string paymentPage(const Commands& commands, std::string_view order, std::string_view type);

// `utf8` with the characters that HTML gives a meaning written as entities.
std::string escapeHtml(std::string_view utf8);

}  // namespace labserver
