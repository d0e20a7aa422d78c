// The order document: everything the lab receives about one order, from which the order file and the
// LACE file are written.
//
// The application owns one document for the run, rebuilt for every sending: the main window resets it
// and adds one entry per order row, the parameters dialog sets its params on Send, the transfer sets the
// order's identity from the server and writes both files. Tests and other tools build their own. Only
// the user-interface thread touches it; it holds no lock.
//
// Texts are cp1250 and keep the limits of the lab's formats: the setters cut longer texts, except names
// of files, which are refused rather than cut (a cut name would name another file).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One special requirement or product of the order, as offered by the parameters dialog.
struct OrderOption {
    std::int32_t used = 0;  // 1: the slot is in use; any other value keeps it out of the order file
    std::int32_t id = 0;
    std::string name;
    std::string abbrev;
    std::int32_t value = 0;  // 1: ticked
};

// The order-level choices of the parameters dialog.
struct OrderParams {
    static constexpr std::size_t kTextLimit = 254;
    static constexpr std::size_t kOptionSlots = 8;

    std::int32_t payment = 0;
    std::int32_t delivery = 0;
    std::int32_t shop = 0;
    std::string paymentName;
    std::string paymentAbbrev;
    std::string deliveryName;
    std::string shopName;
    std::string notice;
    std::string discCode;
    std::array<OrderOption, kOptionSlots> specials{};
    std::array<OrderOption, kOptionSlots> products{};
};

// The customer's contact record. The client never fills it (the lab keeps the customer's data), so it
// stays empty; the LACE file still has its lines.
struct CustomerData {
    static constexpr std::size_t kTextLimit = 254;

    std::string firstName;
    std::string surname;
    std::string street;
    std::string city;
    std::string postcode;
    std::string email;
    std::string phone;
    std::string company;
    std::string companyNumber;
    std::string taxNumber;
};

// What the lab makes of one photograph: catalogue ids, copies and a readable description.
struct PhotoRecord {
    static constexpr std::size_t kDescriptionLimit = 255;

    std::uint8_t mark = 0;  // 1 for the files of a photobook; not written to the files
    std::int32_t formatId = 0;
    std::string description;
    std::int32_t paperId = 0;
    std::int32_t marginId = 0;
    std::int32_t copies = 0;
};

// One photograph slot of the document.
struct DocumentEntry {
    static constexpr std::size_t kNameLimit = 259;

    std::uint8_t used = 0;
    std::string folder;  // without a trailing separator
    std::string fileName;
    PhotoRecord photo;
};

// The order's identity as the server hands it out for each order.
struct OrderIdentity {
    static constexpr std::size_t kIdLimit = 63;
    static constexpr std::size_t kFolderLimit = 259;

    std::string date;
    std::string serverFolder;  // where the server stores this order's files; not written to the files
    std::string customerId;
    std::string orderId;
};

enum class AddEntryResult {
    Added = 0,
    Full = 1,         // every slot is in use; nothing was added
    NameTooLong = 2,  // the folder or the file name exceeds DocumentEntry::kNameLimit; nothing was added
};

class OrderDocument {
  public:
    static constexpr std::size_t kSlotCount = 1999;

    // Every slot unused, identity and texts empty, ids and values 0.
    OrderDocument();

    // Frees every slot and empties the identity. Params, customer and the current photo are kept.
    void reset();

    // Replace that part by a copy, texts cut to their limits.
    void setCurrentPhoto(const PhotoRecord& record);
    void setParams(const OrderParams& params);
    void setCustomer(const CustomerData& customer);
    void setIdentity(const OrderIdentity& identity);

    // Takes the first unused slot: copies folder and file name, marks it used and gives it a copy of the
    // current photo.
    AddEntryResult addEntry(std::string_view folder, std::string_view fileName);

    // Write the order file and the LACE file (every line ends in CR CR LF). 0 on success; 1 when the
    // file cannot be created (nothing is written) or when a write or the close fails.
    int writeOrderFile(std::string_view path) const;
    int writeLaceFile(std::string_view path) const;

    const OrderIdentity& identity() const { return identity_; }
    const PhotoRecord& currentPhoto() const { return currentPhoto_; }
    const CustomerData& customer() const { return customer_; }
    const OrderParams& params() const { return params_; }
    // The parameters dialog fills the specials and products slots in place when it opens.
    OrderParams& params() { return params_; }

    // All kSlotCount slots in slot order, used or not. The photobook sending fills them in place.
    std::span<const DocumentEntry> entries() const { return entries_; }
    std::span<DocumentEntry> entries() { return entries_; }
    std::size_t usedCount() const;

  private:
    OrderIdentity identity_;
    OrderParams params_;
    CustomerData customer_;
    PhotoRecord currentPhoto_;
    std::vector<DocumentEntry> entries_;  // always kSlotCount long
};
