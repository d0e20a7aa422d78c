#include "catalogue/code_list.h"

#include <utility>

#include "catalogue/ini_section_reader.h"
#include "text/bounded.h"

CodeList::CodeList(std::string fileName) : fileName_(std::move(fileName)) {}

int CodeList::load(std::string_view section) {
    entries_.clear();
    cursor_ = 0;
    IniSectionReader reader;
    reader.open(fileName_, section);
    for (int i = 0; entries_.size() < kMaxEntries; ++i) {
        const IniEntry* name = reader.find("name", i);
        const IniEntry* abbreviation = reader.find("abbrev", i);
        const IniEntry* id = reader.find("id", i);
        const IniEntry* isDefault = reader.find("default", i);
        if (name == nullptr || abbreviation == nullptr || id == nullptr || isDefault == nullptr)
            break;
        entries_.push_back({text::cut(name->text(), kTextLimit), text::cut(abbreviation->text(), kTextLimit),
                            id->integer(), static_cast<std::uint8_t>(isDefault->integer())});
    }
    return count();
}

bool CodeList::next(CodeEntry& entry) {
    if (cursor_ >= entries_.size())
        return false;
    entry = entries_[cursor_++];
    return true;
}
