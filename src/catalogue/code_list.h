// A section of the catalogue as numbered entries of name, abbreviation, id and default flag.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/state_files.h"

struct CodeEntry {
    std::string name;
    std::string abbreviation;
    std::int32_t id = 0;
    // Non-zero: the entry is preselected.
    std::uint8_t isDefault = 0;
};

class CodeList {
  public:
    static constexpr std::size_t kMaxEntries = 512;
    static constexpr std::size_t kTextLimit = 255;

    // An empty list on the catalogue file (a bare name resolves in the working folder).
    explicit CodeList(std::string fileName = state_files::kCatalogue);

    // Reads `section` and builds its entries; returns their number. Entry i takes the i-th "name",
    // "abbrev", "id" and "default" keys of the section, which need not be adjacent or in order; the
    // list ends at the first i for which one of the four is missing, or at kMaxEntries. Resets the
    // cursor, so one CodeList serves several sections in turn.
    int load(std::string_view section);

    // Hands out the entry under the cursor and advances; false once every entry was handed out.
    bool next(CodeEntry& entry);

    int count() const { return static_cast<int>(entries_.size()); }
    const std::vector<CodeEntry>& entries() const { return entries_; }

  private:
    std::string fileName_;
    std::vector<CodeEntry> entries_;
    std::size_t cursor_ = 0;
};
