#include "labserver/order_store.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>

#include "labserver/durable_files.h"
#include "labserver/ini_text.h"

namespace labserver {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFolderPrefix = "obj";
constexpr std::string_view kRecordName = ".order";
constexpr std::string_view kClosedName = ".closed";
// Order numbers have at most this many digits, so that they always fit in 64 bits.
constexpr std::size_t kNumberDigits = 18;

bool isOrderNumber(std::string_view id) {
    return !id.empty() && id.size() <= kNumberDigits && id.front() != '0' &&
           std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The order number of a folder name "obj<number>"; none for any other name.
std::optional<std::string> numberOfFolder(std::string_view name) {
    if (!name.starts_with(kFolderPrefix) || !isOrderNumber(name.substr(kFolderPrefix.size())))
        return std::nullopt;
    return std::string(name.substr(kFolderPrefix.size()));
}

// The end count of a ".closed" record; 0 when it is not a number.
std::uint32_t endsOf(std::string_view text) {
    std::uint32_t ends = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ends);
    return error == std::errc() && end == text.data() + text.size() ? ends : 0;
}

std::string readWhole(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

std::string localTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

OrderStore::OrderStore(fs::path ordersFolder) : folder_(std::move(ordersFolder)) {
    std::error_code error;
    fs::create_directories(folder_, error);
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        if (const auto number = numberOfFolder(it->path().filename().string()))
            lastNumber_ = std::max<std::uint64_t>(lastNumber_, std::stoull(*number));
    }
}

std::optional<OrderRecord> OrderStore::open(std::string_view login, std::string_view customer) {
    const std::string openedAt = localTimeText();
    std::lock_guard lock(mutex_);
    // A folder of the next number may exist when another server shares the folder: skip it.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        OrderRecord order;
        order.id = std::to_string(++lastNumber_);
        order.folderName = std::string(kFolderPrefix) + order.id;
        std::error_code error;
        if (!fs::create_directory(folderOf(order), error)) {
            if (error)
                return std::nullopt;
            continue;
        }
        order.customer = customer;
        order.login = login;
        order.date = openedAt.substr(0, 10);
        order.openedAt = openedAt;
        std::ostringstream record;
        record << "id=" << order.id << "\ncustomer=" << order.customer << "\nlogin=" << order.login
               << "\ndate=" << order.date << "\nopened=" << order.openedAt << "\n";
        if (!writeDurably(folderOf(order) / kRecordName, record.str())) {
            fs::remove_all(folderOf(order), error);
            return std::nullopt;
        }
        return order;
    }
    return std::nullopt;
}

std::optional<OrderRecord> OrderStore::read(const std::string& folderName) const {
    const fs::path folder = folder_ / folderName;
    std::ifstream probe(folder / kRecordName, std::ios::binary);
    if (!probe)
        return std::nullopt;
    OrderRecord order;
    order.folderName = folderName;
    forEachIniLine(readWhole(folder / kRecordName), [&](const IniLine& line) {
        const std::string value(line.value);
        if (line.key == "id")
            order.id = value;
        else if (line.key == "customer")
            order.customer = value;
        else if (line.key == "login")
            order.login = value;
        else if (line.key == "date")
            order.date = value;
        else if (line.key == "opened")
            order.openedAt = value;
    });
    forEachIniLine(readWhole(folder / kClosedName), [&](const IniLine& line) {
        if (line.key == "closed")
            order.closedAt = line.value;
        else if (line.key == "ends")
            order.ends = endsOf(line.value);
    });
    // A closed order was ended at least once, also when its record does not say how often.
    if (order.closed() && order.ends == 0)
        order.ends = 1;
    if (std::string(kFolderPrefix) + order.id != folderName)
        return std::nullopt;
    return order;
}

std::optional<OrderRecord> OrderStore::findByFolder(std::string_view folderName) const {
    if (!numberOfFolder(folderName))
        return std::nullopt;
    return read(std::string(folderName));
}

std::optional<OrderRecord> OrderStore::findById(std::string_view id) const {
    if (!isOrderNumber(id))
        return std::nullopt;
    return read(std::string(kFolderPrefix) + std::string(id));
}

std::vector<OrderRecord> OrderStore::list() const {
    std::vector<std::pair<std::uint64_t, OrderRecord>> found;
    std::error_code error;
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const auto number = numberOfFolder(name);
        if (!number)
            continue;
        if (auto order = read(name))
            found.emplace_back(std::stoull(*number), std::move(*order));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<OrderRecord> orders;
    for (auto& entry : found)
        orders.push_back(std::move(entry.second));
    return orders;
}

bool OrderStore::isClosed(const OrderRecord& order) const {
    std::error_code error;
    return fs::exists(folderOf(order) / kClosedName, error);
}

StoreResult OrderStore::store(const OrderRecord& order, const fs::path& receivedFile,
                              const std::string& name) {
    std::lock_guard lock(mutex_);
    if (isClosed(order))
        return StoreResult::OrderClosed;
    return moveDurably(receivedFile, folderOf(order) / name) ? StoreResult::Stored : StoreResult::WriteFailed;
}

StoreResult OrderStore::copy(const OrderRecord& order, const std::string& from, const std::string& to) {
    std::lock_guard lock(mutex_);
    if (isClosed(order))
        return StoreResult::OrderClosed;
    std::error_code error;
    if (!fs::is_regular_file(folderOf(order) / from, error))
        return StoreResult::MissingFile;
    if (from == to)
        return StoreResult::Stored;
    return copyDurably(folderOf(order) / from, folderOf(order) / to) ? StoreResult::Stored
                                                                     : StoreResult::WriteFailed;
}

StoreResult OrderStore::close(const OrderRecord& order) {
    std::lock_guard lock(mutex_);
    // Read again under the lock: the record the caller holds may predate an end of another request.
    const auto current = read(order.folderName);
    if (!current)
        return StoreResult::WriteFailed;
    const std::string closedAt = current->closed() ? current->closedAt : localTimeText();
    const std::uint32_t ends = current->ends + 1;
    return writeDurably(folderOf(order) / kClosedName,
                        "closed=" + closedAt + "\nends=" + std::to_string(ends) + "\n")
               ? StoreResult::Stored
               : StoreResult::WriteFailed;
}

}  // namespace labserver
