// Reading one section of the catalogue's INI format.
//
// The format as the program reads it: lines end at CR or LF (empty lines are skipped) and hold at most
// 256 characters, a longer line continuing as the next one; a ';' anywhere but in the first position
// starts a comment. A line "[name]" starts a section. Each line of a section is split at its first
// '=' into key and value, neither trimmed. A value is typed by its characters: integer, real, a list
// of up to eight integers, or text only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One key=value line of the wanted section.
class IniEntry {
  public:
    enum TypeFlag : unsigned { Text = 1, Integer = 2, Real = 4, List = 8 };
    static constexpr std::size_t kTextLimit = 255;
    static constexpr std::size_t kListLimit = 8;

    // Splits `line` at its first '=' and types the value.
    explicit IniEntry(std::string_view line);

    bool valid() const { return valid_; }
    unsigned types() const { return types_; }
    const std::string& key() const { return key_; }
    // The accessors answer only for a valid entry (empty text, 0, no elements otherwise).
    std::string_view text() const { return valid_ ? std::string_view(value_) : std::string_view(); }
    // The value as a signed decimal number when it is typed integer, else 0.
    std::int32_t integer() const { return valid_ ? integer_ : 0; }
    // The value as a number when it is typed integer or real, else 0.
    double real() const { return valid_ ? real_ : 0.0; }
    // The elements of a list value. Parsing stops at a ninth or an unreadable element; the elements
    // before it are kept.
    std::span<const std::int32_t> list() const {
        return valid_ ? std::span<const std::int32_t>(list_.data(), listCount_)
                      : std::span<const std::int32_t>();
    }

  private:
    void typeValue();

    std::string key_;
    std::string value_;
    double real_ = 0.0;
    std::int32_t integer_ = 0;
    std::array<std::int32_t, kListLimit> list_{};
    std::size_t listCount_ = 0;
    unsigned types_ = 0;
    bool valid_ = false;
};

// Reads a file once and keeps the entries of one section. Owns its entries.
class IniSectionReader {
  public:
    static constexpr std::size_t kLineLimit = 256;

    // Reads `fileName` and keeps the lines of the section named `section` (case-sensitive); with
    // `occurrence` n the n-th section of that name counts (0: the first; later ones are ignored).
    // False when the file cannot be opened; a missing section leaves no entries.
    bool open(std::string_view fileName, std::string_view section, int occurrence = 0);

    // The n-th entry (from 0, in file order) whose key equals `key` exactly; null when there is none.
    const IniEntry* find(std::string_view key, int n) const;

    bool found() const { return found_; }
    std::size_t entryCount() const { return entries_.size(); }

  private:
    std::vector<IniEntry> entries_;
    bool found_ = false;
};
