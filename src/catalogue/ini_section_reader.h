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
#include <map>
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

    // Splits `line` at its first '=' and types the value. Every line is an entry: one without '=' is a
    // key with an empty value.
    explicit IniEntry(std::string_view line);

    unsigned types() const { return types_; }
    const std::string& key() const { return key_; }
    // The value as it stands (empty for a line without '=').
    std::string_view text() const { return value_; }
    // The value as a signed decimal number when it is typed integer, else 0.
    std::int32_t integer() const { return integer_; }
    // The value as a number when it is typed integer or real, else 0.
    double real() const { return real_; }
    // The elements of a list value. Parsing stops at a ninth or an unreadable element; the elements
    // before it are kept.
    std::span<const std::int32_t> list() const {
        return std::span<const std::int32_t>(list_.data(), listCount_);
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
};

// Reads a file once and keeps the lines of one section.
//
// The section's lines are kept as they were read, packed one after the other, so the memory it takes
// is never more than the section's share of the file; an entry is built from its line only when find
// hands it out. Not thread-safe (find remembers where it found the last entries of each key, so that
// asking for the entries of a key one after the other reads the section once).
class IniSectionReader {
  public:
    static constexpr std::size_t kLineLimit = 256;

    // Reads `fileName` and keeps the lines of the section named `section` (case-sensitive); with
    // `occurrence` n the n-th section of that name counts (0: the first; later ones are ignored).
    // False when the file cannot be opened; a missing section leaves no entries.
    bool open(std::string_view fileName, std::string_view section, int occurrence = 0);

    // The n-th entry (from 0, in file order) whose key equals `key` exactly; null when there is none.
    // The entry stays valid until the next open or the end of the reader.
    const IniEntry* find(std::string_view key, int n) const;

    bool found() const { return found_; }
    std::size_t entryCount() const { return count_; }

  private:
    // Where find found the last entry it handed out for a key (n -1: none yet).
    struct KeyCursor {
        std::string key;
        int n = -1;
        std::size_t offset = 0;
    };

    // The line stored at `offset` of lines_, and the offset of the line after it.
    std::string_view lineAt(std::size_t offset) const;
    std::size_t nextLine(std::size_t offset) const;

    // The kept lines, each stored as one byte holding its length minus one (lines hold 1 to
    // kLineLimit characters) followed by its characters.
    std::string lines_;
    std::size_t count_ = 0;
    bool found_ = false;
    mutable std::vector<KeyCursor> cursors_;
    // The entries handed out, by the offset of their line.
    mutable std::map<std::size_t, IniEntry> built_;
};
