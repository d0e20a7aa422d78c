#include "catalogue/catalogue_check.h"

#include <array>

#include "catalogue/code_list.h"
#include "platform/files.h"

namespace catalogue_check {

bool isUsableCatalogue(std::string_view path) {
    const auto size = platform::fileSize(path);
    if (!size || *size > kCatalogueSizeLimit || !platform::canOpenForReading(path))
        return false;
    // The main window's parameter lists and the order parameters dialog's payments and deliveries; shops,
    // special requirements and products may be missing from a lab's offer.
    constexpr std::array<std::string_view, 5> kRequired = {"format", "surface", "margin", "pay", "delivery"};
    CodeList list{std::string(path)};
    for (std::string_view section : kRequired) {
        if (list.load(section) == 0)
            return false;
    }
    return true;
}

}  // namespace catalogue_check
