#include "documents/order_document.h"

#include <algorithm>

#include "text/bounded.h"

namespace {

void cutTo(std::string& value, std::size_t limit) {
    if (value.size() > limit)
        value.resize(limit);
}

void cutOption(OrderOption& option) {
    cutTo(option.name, OrderParams::kTextLimit);
    cutTo(option.abbrev, OrderParams::kTextLimit);
}

}  // namespace

OrderDocument::OrderDocument() : entries_(kSlotCount) {}

void OrderDocument::reset() {
    for (DocumentEntry& entry : entries_)
        entry.used = 0;
    identity_ = OrderIdentity{};
}

void OrderDocument::setCurrentPhoto(const PhotoRecord& record) {
    currentPhoto_ = record;
    cutTo(currentPhoto_.description, PhotoRecord::kDescriptionLimit);
}

void OrderDocument::setParams(const OrderParams& params) {
    params_ = params;
    for (std::string* value : {&params_.paymentName, &params_.paymentAbbrev, &params_.deliveryName,
                               &params_.shopName, &params_.notice, &params_.discCode}) {
        cutTo(*value, OrderParams::kTextLimit);
    }
    std::for_each(params_.specials.begin(), params_.specials.end(), cutOption);
    std::for_each(params_.products.begin(), params_.products.end(), cutOption);
}

void OrderDocument::setCustomer(const CustomerData& customer) {
    customer_ = customer;
    for (std::string* value : {&customer_.firstName, &customer_.surname, &customer_.street, &customer_.city,
                               &customer_.postcode, &customer_.email, &customer_.phone, &customer_.company,
                               &customer_.companyNumber, &customer_.taxNumber}) {
        cutTo(*value, CustomerData::kTextLimit);
    }
}

void OrderDocument::setIdentity(const OrderIdentity& identity) {
    identity_ = {text::cut(identity.date, OrderIdentity::kIdLimit),
                 text::cut(identity.serverFolder, OrderIdentity::kFolderLimit),
                 text::cut(identity.customerId, OrderIdentity::kIdLimit),
                 text::cut(identity.orderId, OrderIdentity::kIdLimit)};
}

AddEntryResult OrderDocument::addEntry(std::string_view folder, std::string_view fileName) {
    if (folder.size() > DocumentEntry::kNameLimit || fileName.size() > DocumentEntry::kNameLimit)
        return AddEntryResult::NameTooLong;
    const auto slot = std::find_if(entries_.begin(), entries_.end(),
                                   [](const DocumentEntry& entry) { return entry.used == 0; });
    if (slot == entries_.end())
        return AddEntryResult::Full;
    slot->used = 1;
    slot->folder = folder;
    slot->fileName = fileName;
    slot->photo = currentPhoto_;
    return AddEntryResult::Added;
}

std::size_t OrderDocument::usedCount() const {
    return static_cast<std::size_t>(std::count_if(
        entries_.begin(), entries_.end(), [](const DocumentEntry& entry) { return entry.used != 0; }));
}
