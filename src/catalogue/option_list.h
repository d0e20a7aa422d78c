// The copy of a catalogue section that a window keeps to fill its controls and to look entries up by
// their position in a combo box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CodeList;

class OptionList {
  public:
    static constexpr std::size_t kCapacity = 1024;
    static constexpr std::size_t kTextLimit = 127;

    void clear();
    // Appends an entry, its texts cut to kTextLimit; false (entry dropped) when the list is full.
    bool add(std::string_view name, std::string_view abbreviation, std::int32_t id, std::uint8_t isDefault);

    // Cursor walk: rewind() puts the cursor before the first entry; advance() moves it one step and
    // returns true once it has passed the last entry.
    void rewind() { cursor_ = -1; }
    bool advance();
    const std::string& name() const { return nameAt(cursor_); }
    const std::string& abbreviation() const { return abbreviationAt(cursor_); }
    std::int32_t id() const { return idAt(cursor_); }
    bool isDefault() const { return isDefaultAt(cursor_); }

    // Lookups by position: outside the list (negative, or not below count) they give the empty text,
    // the id -1 and no default.
    const std::string& nameAt(int position) const;
    const std::string& abbreviationAt(int position) const;
    std::int32_t idAt(int position) const;
    bool isDefaultAt(int position) const;

    int count() const { return static_cast<int>(entries_.size()); }

    // The position a combo box filled from this list selects: the last entry with the default flag,
    // or -1 when none has it.
    int defaultPosition() const;

  private:
    struct Entry {
        std::string name;
        std::string abbreviation;
        std::int32_t id;
        std::uint8_t isDefault;
    };
    bool inside(int position) const { return position >= 0 && position < count(); }

    std::vector<Entry> entries_;
    int cursor_ = -1;
};

// The data side of filling a window's list: clears `list`, loads `section` with `codes` and moves every
// entry over. Returns the number of entries in the list.
int fillOptionList(CodeList& codes, std::string_view section, OptionList& list);
