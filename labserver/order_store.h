// The orders the lab has handed out and received: one folder per order.
//
// Each order lives in the folder "obj<order number>" of the orders folder. That name is the server
// folder the client is given and sends back with every file. Beside the received files the folder
// holds the server's own records, under names that no client may use (safe_names.h): ".order" (who
// opened it, when, for which customer) and ".closed" (when the order was closed, and how many times an
// end was asked for: a client whose reply to the end was lost may ask again).
// All members may be called from several threads at once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace labserver {

struct OrderRecord {
    std::string id;          // the order number, decimal digits
    std::string folderName;  // "obj" + id: the server folder the client is given
    std::string customer;    // the customer number
    std::string login;       // the login that opened the order (cp1250; empty: anonymous)
    std::string date;        // the order date as handed out, "YYYY-MM-DD"
    std::string openedAt;    // local time of opening, "YYYY-MM-DD hh:mm:ss"
    std::string closedAt;    // local time of closing; empty while the order is open
    std::uint32_t ends = 0;  // how many "transend" requests the order accepted; the first one closed it
    bool closed() const { return !closedAt.empty(); }
};

enum class StoreResult {
    Stored,
    OrderClosed,  // the order was closed: it takes no more files
    MissingFile,  // the file to copy is not in the order
    WriteFailed,  // the disk refused (full, no permission)
};

class OrderStore {
  public:
    // Works in `ordersFolder`, creating it when missing; the next order number follows the highest
    // one found there (the first order is 100001).
    explicit OrderStore(std::filesystem::path ordersFolder);

    // Opens a new order with a fresh number for the login and customer; none when its folder or its
    // record cannot be written.
    std::optional<OrderRecord> open(std::string_view login, std::string_view customer);

    // The order of a server folder name or of an order number, as a client sends them; none for an
    // unknown order or a name that is not one of this store's.
    std::optional<OrderRecord> findByFolder(std::string_view folderName) const;
    std::optional<OrderRecord> findById(std::string_view id) const;

    // Every order, newest first.
    std::vector<OrderRecord> list() const;

    std::filesystem::path folderOf(const OrderRecord& order) const { return folder_ / order.folderName; }

    // Moves a received file into an open order under `name` (a file-system name checked by
    // fileSystemName()), replacing a file of that name.
    StoreResult store(const OrderRecord& order, const std::filesystem::path& receivedFile,
                      const std::string& name);
    // Copies the order's file `from` to `to` within an open order.
    StoreResult copy(const OrderRecord& order, const std::string& from, const std::string& to);
    // Closes the order, noting the time, and counts the end. Closing a closed order keeps the first
    // time and only counts the end once more, so a lab (or a test) can tell an order ended twice.
    StoreResult close(const OrderRecord& order);

  private:
    std::optional<OrderRecord> read(const std::string& folderName) const;
    bool isClosed(const OrderRecord& order) const;

    std::filesystem::path folder_;
    mutable std::mutex mutex_;
    std::uint64_t lastNumber_ = 100000;
};

// The local time now as "YYYY-MM-DD hh:mm:ss".
std::string localTimeText();

}  // namespace labserver
