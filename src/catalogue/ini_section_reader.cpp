#include "catalogue/ini_section_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/files.h"
#include "text/bounded.h"
#include "text/numbers.h"

namespace {

bool isDigitLike(char c) {
    return (c >= '0' && c <= '9') || c == '-';
}

// Reads the next line; false at the end of the file. The last line counts even without a line break
// after it, so a catalogue saved without a final newline keeps its last entry.
bool readLine(std::FILE* file, std::string& line) {
    int c = 0;
    do {
        c = std::getc(file);
    } while (c == '\r' || c == '\n');
    if (c == EOF)
        return false;
    line.assign(1, static_cast<char>(c));  // a ';' in the first position is an ordinary character
    while (line.size() < IniSectionReader::kLineLimit) {
        c = std::getc(file);
        if (c == EOF || c == '\r' || c == '\n')
            return true;
        if (c == ';') {
            do {
                c = std::getc(file);
            } while (c != EOF && c != '\r' && c != '\n');
            return true;
        }
        line += static_cast<char>(c);
    }
    return true;
}

// The name of a section header line, or nothing when the line is not one.
bool sectionName(const std::string& line, std::string& name) {
    if (line.empty() || line[0] != '[')
        return false;
    const auto close = line.find(']');
    if (close == std::string::npos)
        return false;
    name = text::cut(std::string_view(line).substr(1, close - 1), IniEntry::kTextLimit);
    return true;
}

// Reads an integer element of a list; false when it holds no digit.
bool readElement(std::string_view element, std::int32_t& value) {
    std::size_t pos = 0;
    if (pos < element.size() && (element[pos] == '-' || element[pos] == '+'))
        ++pos;
    if (pos >= element.size() || element[pos] < '0' || element[pos] > '9')
        return false;
    value = text::leadingInt(element);
    return true;
}

// The key of a kept line, as its entry holds it.
std::string_view keyOf(std::string_view line) {
    return line.substr(0, std::min(line.find('='), IniEntry::kTextLimit));
}

}  // namespace

IniEntry::IniEntry(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        key_ = text::cut(line, kTextLimit);
    } else {
        key_ = text::cut(line.substr(0, equals), kTextLimit);
        value_ = text::cut(line.substr(equals + 1), kTextLimit);
    }
    typeValue();
}

void IniEntry::typeValue() {
    types_ = Text;
    std::size_t digits = 0;
    std::size_t dots = 0;
    std::size_t commas = 0;
    for (const char c : value_) {
        if (isDigitLike(c)) {
            ++digits;
        } else if (c == '.') {
            ++dots;
        } else if (c == ',') {
            ++commas;
        } else {
            return;  // any other character, a blank too, makes the value text only
        }
    }
    if (digits >= 1 && dots == 0 && commas == 0) {
        integer_ = text::leadingInt(value_);
        real_ = integer_;
        types_ |= Integer | Real;
    } else if (dots == 1 && commas == 0 && digits >= 2) {
        real_ = std::strtod(value_.c_str(), nullptr);
        types_ |= Real;
    } else if (dots == 0 && commas >= 1 && digits >= 2) {
        std::string_view rest(value_);
        while (listCount_ < kListLimit) {
            const auto comma = rest.find(',');
            if (!readElement(rest.substr(0, comma), list_[listCount_]))
                break;
            ++listCount_;
            if (comma == std::string_view::npos)
                break;
            rest.remove_prefix(comma + 1);
        }
        if (listCount_ > 0)
            types_ |= List;
    }
}

bool IniSectionReader::open(std::string_view fileName, std::string_view section, int occurrence) {
    lines_.clear();
    count_ = 0;
    found_ = false;
    cursors_.clear();
    built_.clear();
    std::FILE* file = platform::openFile(fileName, "rb");
    if (file == nullptr)
        return false;
    std::string line;
    std::string name;
    int seen = 0;
    while (readLine(file, line)) {
        if (sectionName(line, name)) {
            if (found_)
                break;  // the wanted section ends at the next header
            if (name == section && seen++ == occurrence)
                found_ = true;
            continue;
        }
        if (found_) {
            lines_ += static_cast<char>(static_cast<unsigned char>(line.size() - 1));
            lines_ += line;
            ++count_;
        }
    }
    std::fclose(file);
    return true;
}

std::string_view IniSectionReader::lineAt(std::size_t offset) const {
    const std::size_t length = static_cast<unsigned char>(lines_[offset]) + std::size_t{1};
    return std::string_view(lines_).substr(offset + 1, length);
}

std::size_t IniSectionReader::nextLine(std::size_t offset) const {
    return offset + 1 + lineAt(offset).size();
}

const IniEntry* IniSectionReader::find(std::string_view key, int n) const {
    if (n < 0)
        return nullptr;
    auto cursor =
        std::find_if(cursors_.begin(), cursors_.end(), [key](const KeyCursor& c) { return c.key == key; });
    if (cursor == cursors_.end())
        cursor = cursors_.insert(cursors_.end(), KeyCursor{std::string(key), -1, 0});
    // Entries of one key are mostly asked for in order: go on after the last one found.
    std::size_t offset = 0;
    int skip = n;
    if (cursor->n >= 0 && cursor->n <= n) {
        if (cursor->n == n)
            return &built_.at(cursor->offset);
        offset = nextLine(cursor->offset);
        skip = n - cursor->n - 1;
    }
    for (; offset < lines_.size(); offset = nextLine(offset)) {
        const std::string_view line = lineAt(offset);
        if (keyOf(line) != key || skip-- > 0)
            continue;
        cursor->n = n;
        cursor->offset = offset;
        return &built_.try_emplace(offset, line).first->second;
    }
    return nullptr;
}
