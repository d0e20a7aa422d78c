#include "labserver/commands.h"

#include <array>
#include <fstream>

#include "labserver/pricing.h"
#include "labserver/safe_names.h"
#include "labserver/users.h"
#include "text/cp1250.h"

namespace labserver {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 6> kCommandFields = {"sendfile", "onlycopy", "transend",
                                                            "getfile",  "getprice", "getvalidity"};
// An order file of 1999 photographs takes well under this.
constexpr std::uintmax_t kOrderFileLimit = 16 * 1024 * 1024;
// A validity warning names at most this many missing files.
constexpr std::size_t kMissingNamesShown = 10;

// The parts, one after the other.
template <typename... Parts>
std::string join(const Parts&... parts) {
    std::string text;
    (text.append(std::string_view(parts)), ...);
    return text;
}

Reply reply(std::string_view body, std::string note) {
    return {200, std::string(body), {}, std::move(note)};
}

Reply refuse(std::string_view reason) {
    return reply("error: " + std::string(reason), std::string(reason));
}

// The one command field of the form; empty when it has none or several.
std::string_view commandOf(const RequestForm& form) {
    std::string_view found;
    for (const std::string_view field : kCommandFields) {
        if (form.has(field) || (field == kFileField && form.hadFile)) {
            if (!found.empty())
                return {};
            found = field;
        }
    }
    return found;
}

// The fields that say what a command is about, for the log.
std::string describe(const RequestForm& form, std::string_view command) {
    std::string text(command);
    const auto add = [&](std::string_view field) {
        if (form.has(field))
            text += " " + printable(form.value(field));
    };
    if (command == "sendfile") {
        add("targetdir");
        add("targetfile");
    } else if (command == "onlycopy") {
        add("targetdir");
        add("onlycopy");
        add("targetfile");
    } else if (command == "transend") {
        add("transend");
        add("targetfile");
    } else if (command == "getfile") {
        add("getfile");
    } else {
        add("objID");
        add("usrID");
    }
    return text;
}

std::optional<std::string> readFileUpTo(const fs::path& path, std::uintmax_t limit) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error || size > limit)
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    std::string content(size, '\0');
    if (!file.read(content.data(), static_cast<std::streamsize>(size)))
        return std::nullopt;
    return content;
}

Reply storeFailure(StoreResult result) {
    switch (result) {
        case StoreResult::OrderClosed:
            return refuse("the order is closed");
        case StoreResult::MissingFile:
            return refuse("no such file in the order");
        case StoreResult::WriteFailed:
        case StoreResult::Stored:
            break;
    }
    return refuse("the file could not be stored");
}

std::string orderFileName(const OrderRecord& order) {
    return "000_" + order.id + ".snf";
}
std::string laceFileName(const OrderRecord& order) {
    return "000_" + order.id + ".lace";
}

}  // namespace

Commands::Commands(DataFolder data) : data_(std::move(data)), orders_(data_.orders()) {
    std::error_code error;
    fs::create_directories(data_.incoming(), error);
    removeLeftovers(data_.incoming());
}

bool Commands::keepsUpload(const RequestForm& sofar) const {
    // Only both fields decide; a body that sends them after the file is checked once it is read.
    if (!sofar.has("login") || !sofar.has("pass"))
        return true;
    return checkLogin(data_.users(), sofar.value("login"), sofar.value("pass")).result ==
           LoginResult::Accepted;
}

Reply Commands::standalone(RequestForm& form) {
    const std::string_view command = commandOf(form);
    if (command.empty())
        return refuse("the request names no command, or more than one");
    const std::string_view name = form.value("login");
    const Login login = checkLogin(data_.users(), name, form.value("pass"));
    Reply result;
    if (command == "getfile" && login.result != LoginResult::Accepted &&
        login.result != LoginResult::Anonymous) {
        // A download knows only "badlogin" and "notfound": any other text would be taken as the file.
        result = reply(kBadLogin, "login refused");
    } else if (login.result == LoginResult::WrongPassword) {
        result = reply(kBadLogin, "wrong password");
    } else if (login.result == LoginResult::UnknownName && command != "getfile") {
        result = reply(kNoLogin, "unknown name");
    } else if (login.result == LoginResult::Anonymous && command != "getfile") {
        result = reply(kNoLogin, "no login");
    } else if (!form.problem.empty()) {
        result = command == "getfile" ? reply(kNotFound, form.problem) : refuse(form.problem);
    } else if (command == "sendfile") {
        result = sendFile(form, login.customer);
    } else if (command == "onlycopy") {
        result = onlyCopy(form, login.customer);
    } else if (command == "transend") {
        result = transEnd(form, login.customer);
    } else if (command == "getfile") {
        result = getFile(form, name, login.customer);
    } else if (command == "getprice") {
        result = getPrice(form, login.customer);
    } else {
        result = getValidity(form, login.customer);
    }
    result.note = describe(form, command) + " [" + printable(name) + "]: " + result.note;
    return result;
}

Reply Commands::standfile(const RequestForm& form) const {
    const std::string_view command = commandOf(form);
    if (command != "getfile")
        return refuse("this address serves downloads only");
    Reply result = form.problem.empty() ? publicFile(form.value("getfile")) : reply(kNotFound, form.problem);
    result.note = describe(form, command) + ": " + result.note;
    return result;
}

Reply Commands::sendFile(RequestForm& form, const std::string& customer) {
    if (!form.file)
        return refuse("no file");
    const auto order = orders_.findByFolder(form.value("targetdir"));
    if (!order || order->customer != customer)
        return refuse("no such order of this customer");
    const auto name = fileSystemName(form.value("targetfile"));
    if (!name)
        return refuse("invalid target name");
    const auto size = form.file->size();
    const StoreResult result = orders_.store(*order, form.file->path(), *name);
    if (result != StoreResult::Stored)
        return storeFailure(result);
    form.file->release();
    return reply(kOk, "stored " + std::to_string(size) + " bytes");
}

Reply Commands::onlyCopy(const RequestForm& form, const std::string& customer) {
    const auto order = orders_.findByFolder(form.value("targetdir"));
    if (!order || order->customer != customer)
        return refuse("no such order of this customer");
    const auto from = fileSystemName(form.value("onlycopy"));
    const auto to = fileSystemName(form.value("targetfile"));
    if (!from || !to)
        return refuse("invalid file name");
    const StoreResult result = orders_.copy(*order, *from, *to);
    return result == StoreResult::Stored ? reply(kOk, "copied") : storeFailure(result);
}

Reply Commands::transEnd(const RequestForm& form, const std::string& customer) {
    const auto order = orders_.findByFolder(form.value("transend"));
    if (!order || order->customer != customer)
        return refuse("no such order of this customer");
    if (form.value("targetfile") != order->id)
        return refuse("the order number does not match the folder");
    const StoreResult result = orders_.close(*order);
    if (result != StoreResult::Stored)
        return storeFailure(result);
    // A repeated end is answered as the first one (its reply may have been lost), and logged as such.
    const auto ended = orders_.findByFolder(order->folderName);
    const std::uint32_t ends = ended ? ended->ends : 0;
    return reply(kOk, ends <= 1 ? std::string("closed") : "ended again, " + std::to_string(ends) + " times");
}

Reply Commands::getFile(const RequestForm& form, std::string_view login, const std::string& customer) {
    const std::string_view path = form.value("getfile");
    if (path != "params")
        return publicFile(path);
    const auto order = orders_.open(login, customer);
    if (!order)
        return reply(kNotFound, "no order could be opened");
    return reply(order->date + " " + order->folderName + " " + order->customer + " " + order->id,
                 "opened order " + order->id);
}

Reply Commands::publicFile(std::string_view path) const {
    const auto relative = relativeDownloadPath(path);
    if (!relative)
        return reply(kNotFound, "refused path");
    const fs::path file = data_.publicFiles() / *relative;
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return reply(kNotFound, "no such file");
    Reply result;
    result.file = file;
    result.note = "served";
    return result;
}

Reply Commands::getPrice(const RequestForm& form, const std::string& customer) const {
    // The client reads any reply but a login refusal as the price, so an order that cannot be priced
    // is refused as "nologin": the client then says that the price could not be found.
    const auto order = orders_.findById(form.value("objID"));
    if (!order || order->customer != customer || form.value("usrID") != customer)
        return reply(kNoLogin, "no such order of this customer");
    const auto text = readFileUpTo(orders_.folderOf(*order) / orderFileName(*order), kOrderFileLimit);
    if (!text)
        return reply(kNoLogin, "no order file");
    const auto orderFile = readOrderFile(*text);
    if (!orderFile || orderFile->orderId != order->id)
        return reply(kNoLogin, "the order file cannot be read");
    const auto prices = readFileUpTo(data_.prices(), kOrderFileLimit);
    const PriceList priceList = readPriceList(prices.value_or(""));
    const PriceResult price = priceOrder(*orderFile, priceList);
    if (!price.total)
        return reply(kNoLogin, "not priced: " + price.problem);
    const std::string amount = formatAmount(*price.total);
    return reply(join(amount, "&nbsp;", priceList.currency), "price " + amount);
}

Reply Commands::getValidity(const RequestForm& form, const std::string& customer) const {
    const auto order = orders_.findById(form.value("objID"));
    if (!order || order->customer != customer || form.value("usrID") != customer)
        return reply(join("error\n", "Objednávka na serveru není."_cz), "no such order of this customer");
    const fs::path folder = orders_.folderOf(*order);
    const auto text = readFileUpTo(folder / orderFileName(*order), kOrderFileLimit);
    if (!text)
        return reply(join("error\n", "Na serveru chybí soubor objednávky "_cz, orderFileName(*order), "."),
                     "no order file");
    const auto orderFile = readOrderFile(*text);
    if (!orderFile || orderFile->orderId != order->id)
        return reply(join("error\n", "Soubor objednávky nelze přečíst."_cz), "the order file cannot be read");
    std::vector<std::string> missing;
    for (const OrderFilePhoto& photo : orderFile->photos) {
        const auto name = fileSystemName(photo.name);
        std::error_code error;
        if (!name || !fs::is_regular_file(folder / *name, error))
            missing.push_back(photo.name);
    }
    std::error_code error;
    const bool hasLace = fs::is_regular_file(folder / laceFileName(*order), error);
    if (missing.empty() && hasLace)
        return reply(kOk, "complete");
    std::string message = "warning\n";
    if (!hasLace)
        message += join("Na serveru chybí soubor "_cz, laceFileName(*order), ".\n");
    if (!missing.empty()) {
        message += join("Na serveru chybí "_cz, std::to_string(missing.size()), " z ",
                        std::to_string(orderFile->photos.size()), " fotografií:"_cz);
        for (std::size_t i = 0; i < missing.size() && i < kMissingNamesShown; ++i)
            message += "\n" + missing[i];
        if (missing.size() > kMissingNamesShown)
            message += "\n...";
    }
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    return reply(message, std::to_string(missing.size()) + " photographs missing");
}

}  // namespace labserver
