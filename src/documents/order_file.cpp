// The order file: an INI-like text that the lab reads to produce the order.
#include <cstdio>
#include <string>

#include "buildinfo/build_constants.h"
#include "documents/document_file.h"
#include "documents/order_document.h"

namespace {

std::string decimal(std::int32_t value) {
    return std::to_string(value);
}

// The photograph's number in the order: at least three digits, zero-padded (001 ... 999, 1000, ...).
std::string photoNumber(std::size_t number) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%03zu", number);
    return buffer;
}

// Two lines for each slot in use: a readable comment and "id=value".
void writeOptions(DocumentFile& file, const std::array<OrderOption, OrderParams::kOptionSlots>& options) {
    for (const OrderOption& option : options) {
        if (option.used != 1)
            continue;
        file.line("# " + option.name + " (" + option.abbrev + "): " + decimal(option.value));
        file.line(decimal(option.id) + "=" + decimal(option.value));
    }
}

}  // namespace

int OrderDocument::writeOrderFile(std::string_view path) const {
    DocumentFile file(path);
    if (!file.opened())
        return 1;
    const OrderParams& p = params_;

    file.line("[Customer]");
    file.line("ID=" + identity_.customerId);
    file.emptyLine();
    file.line("[Order]");
    file.line("ID=" + identity_.orderId);
    file.line("SystemID=1");
    file.line("Date=" + identity_.date);
    file.line("Version=" + std::string(build::kVersion));
    file.line("Notice=" + p.notice);
    file.line("Payment=" + decimal(p.payment));
    file.line("Delivery=" + decimal(p.delivery));
    file.line("Shop=" + decimal(p.shop));
    file.line("# Payment:  " + p.paymentName);
    file.line("# Delivery: " + p.deliveryName);
    file.line("# Shop:     " + p.shopName);
    file.emptyLine();
    file.line("[OrderSpecials]");
    writeOptions(file, p.specials);
    file.emptyLine();
    file.line("[OrderProducts]");
    writeOptions(file, p.products);
    file.emptyLine();
    file.line("[Content]");
    // Numbers count the used slots only, so free slots between used ones leave no gaps; the name on
    // the Name line is the one under which the photograph is uploaded or saved.
    std::size_t number = 0;
    for (const DocumentEntry& entry : entries_) {
        if (entry.used == 0)
            continue;
        ++number;
        file.line("Name=" + photoNumber(number) + "_" + identity_.orderId + "_" + entry.fileName);
        file.line("# " + entry.photo.description + " ");
        file.line("Format=" + decimal(entry.photo.formatId));
        file.line("Count=" + decimal(entry.photo.copies));
        file.line("Border=" + decimal(entry.photo.marginId));
        file.line("Dull=" + decimal(entry.photo.paperId));
    }
    file.emptyLine();
    file.line("[Price]");
    return file.close() ? 0 : 1;
}
