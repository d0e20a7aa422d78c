#include "catalogue/option_list.h"

#include "catalogue/code_list.h"
#include "text/bounded.h"

namespace {
const std::string kEmpty;
}

void OptionList::clear() {
    entries_.clear();
    cursor_ = -1;
}

bool OptionList::add(std::string_view name, std::string_view abbreviation, std::int32_t id,
                     std::uint8_t isDefault) {
    if (entries_.size() >= kCapacity)
        return false;
    entries_.push_back({text::cut(name, kTextLimit), text::cut(abbreviation, kTextLimit), id, isDefault});
    return true;
}

bool OptionList::advance() {
    if (cursor_ < count())
        ++cursor_;
    return cursor_ >= count();
}

const std::string& OptionList::nameAt(int position) const {
    return inside(position) ? entries_[static_cast<std::size_t>(position)].name : kEmpty;
}

const std::string& OptionList::abbreviationAt(int position) const {
    return inside(position) ? entries_[static_cast<std::size_t>(position)].abbreviation : kEmpty;
}

std::int32_t OptionList::idAt(int position) const {
    return inside(position) ? entries_[static_cast<std::size_t>(position)].id : -1;
}

bool OptionList::isDefaultAt(int position) const {
    return inside(position) && entries_[static_cast<std::size_t>(position)].isDefault != 0;
}

int OptionList::defaultPosition() const {
    int position = -1;
    for (int i = 0; i < count(); ++i) {
        if (isDefaultAt(i))
            position = i;
    }
    return position;
}

int fillOptionList(CodeList& codes, std::string_view section, OptionList& list) {
    list.clear();
    codes.load(section);
    CodeEntry entry;
    while (codes.next(entry))
        list.add(entry.name, entry.abbreviation, entry.id, entry.isDefault);
    return list.count();
}
