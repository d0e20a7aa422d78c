#include "labserver/pages.h"

#include <fstream>
#include <iterator>
#include <map>

#include "labserver/ini_text.h"
#include "labserver/pricing.h"
#include "labserver/safe_names.h"

namespace labserver {

namespace fs = std::filesystem;

namespace {

std::string page(std::string_view title, std::string_view body) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + escapeHtml(title) +
        "</title>\n<style>body{font-family:sans-serif;margin:2em;max-width:50em}"
        "table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:.2em .6em;text-align:left}"
        "td.num{text-align:right}</style>\n</head>\n<body>\n<h1>" +
        escapeHtml(title) + "</h1>\n";
    html += body;
    html += "<p><a href=\"/\">Fotolab Demo</a></p>\n</body>\n</html>\n";
    return html;
}

std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The names of a catalogue section by id: the i-th "name" of the section belongs to its i-th "id".
std::map<std::int64_t, std::string> catalogueNames(std::string_view catalogue, std::string_view section) {
    std::vector<std::string> names;
    std::vector<std::int64_t> ids;
    forEachIniLine(catalogue, [&](const IniLine& line) {
        if (line.section != section)
            return;
        if (line.key == "name")
            names.push_back(printable(line.value));
        else if (line.key == "id")
            ids.push_back(wholeInteger(line.value).value_or(0));
    });
    std::map<std::int64_t, std::string> byId;
    for (std::size_t i = 0; i < names.size() && i < ids.size(); ++i)
        byId.emplace(ids[i], names[i]);
    return byId;
}

std::string priceTable(std::string_view heading, const std::map<std::int64_t, std::int64_t>& prices,
                       const std::map<std::int64_t, std::string>& names, std::string_view currency) {
    std::string html = "<h2>" + escapeHtml(heading) + "</h2>\n<table>\n";
    for (const auto& [id, amount] : prices) {
        const auto name = names.find(id);
        html += "<tr><td>" + escapeHtml(name == names.end() ? "č. " + std::to_string(id) : name->second) +
                "</td><td class=\"num\">" + formatAmount(amount) + "&nbsp;" + escapeHtml(currency) +
                "</td></tr>\n";
    }
    return html + "</table>\n";
}

}  // namespace

std::string escapeHtml(std::string_view utf8) {
    std::string escaped;
    for (const char c : utf8) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string homePage() {
    return page("Fotolab Demo",
                "<p>Ukázkový server fotolaboratoře pro program Snapord.</p>\n<ul>\n"
                "<li><a href=\"/extranet.php\">Přijaté objednávky</a></li>\n"
                "<li><a href=\"/cenik.php\">Ceník</a></li>\n</ul>\n");
}

std::string ordersPage(const Commands& commands) {
    std::string body;
    const auto orders = commands.orders().list();
    if (orders.empty())
        body = "<p>Zatím žádné objednávky.</p>\n";
    else
        body =
            "<table>\n<tr><th>Objednávka</th><th>Datum</th><th>Zákazník</th><th>Souborů</th><th>Stav</th></"
            "tr>\n";
    for (const OrderRecord& order : orders) {
        std::size_t files = 0;
        std::error_code error;
        for (fs::directory_iterator it(commands.orders().folderOf(order), error), end; !error && it != end;
             it.increment(error)) {
            if (!it->path().filename().string().starts_with("."))
                ++files;
        }
        body += "<tr><td>" + escapeHtml(order.id) + "</td><td>" + escapeHtml(order.openedAt) + "</td><td>" +
                escapeHtml(printable(order.customer)) + "</td><td class=\"num\">" + std::to_string(files) +
                "</td><td>" +
                (order.closed() ? "uzavřena " + escapeHtml(order.closedAt) : std::string("otevřená")) +
                (order.ends > 1 ? ", ukončena " + std::to_string(order.ends) + "×" : std::string()) +
                "</td></tr>\n";
    }
    if (!orders.empty())
        body += "</table>\n";
    return page("Přijaté objednávky", body);
}

std::string priceListPage(const DataFolder& data, std::string_view version) {
    const PriceList prices = readPriceList(readText(data.prices()));
    const std::string currency = printable(prices.currency);
    const std::string catalogue = readText(data.publicFiles() / std::string(version) / "snapord2.ini");
    std::string body =
        priceTable("Fotografie (cena za kus)", prices.formats, catalogueNames(catalogue, "format"), currency);
    body += priceTable("Výrobky (cena za objednávku)", prices.products, catalogueNames(catalogue, "order"),
                       currency);
    body += priceTable("Doprava", prices.deliveries, catalogueNames(catalogue, "delivery"), currency);
    return page("Ceník", body);
}

std::string paymentPage(const Commands& commands, std::string_view order, std::string_view type) {
    const auto found = commands.orders().findById(order);
    std::string body = "<p>Objednávka: <b>" + escapeHtml(printable(order)) + "</b><br>\nZpůsob platby: <b>" +
                       escapeHtml(printable(type)) + "</b></p>\n";
    if (!found)
        body += "<p>Tuto objednávku server nezná.</p>\n";
    else if (found->closed())
        body += "<p>Objednávka byla přijata " + escapeHtml(found->closedAt) + ".</p>\n";
    else
        body += "<p>Objednávka ještě nebyla dokončena.</p>\n";
    body += "<p>Toto je ukázková platební brána: žádná platba se neprovede.</p>\n";
    return page("Platba objednávky", body);
}

}  // namespace labserver
