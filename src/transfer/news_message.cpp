#include "transfer/news_message.h"

#include <cstdio>
#include <limits>
#include <memory>

#include "platform/files.h"
#include "text/format.h"

namespace {

// The characters of a file read as text: CR LF comes as one LF, NUL bytes are left out.
class TextSource {
  public:
    explicit TextSource(std::FILE* file) : file_(file) {}

    // The next character, EOF at the end.
    int get() {
        int c = ahead_ != kNone ? ahead_ : raw();
        ahead_ = kNone;
        if (c == '\r') {
            const int next = raw();
            if (next == '\n')
                return '\n';
            ahead_ = next;
        }
        return c;
    }

    void unget(int c) { ahead_ = c; }

  private:
    static constexpr int kNone = -2;

    int raw() {
        int c = 0;
        do {
            c = std::getc(file_);
        } while (c == '\0');
        return c;
    }

    std::FILE* file_;
    int ahead_ = kNone;
};

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A decimal number after optional white space, as "%d" reads it; none when no digit follows or the
// number does not fit 32 bits. The character after the number is left unread.
std::optional<std::int32_t> readNumber(TextSource& source) {
    int c = source.get();
    while (isSpace(c))
        c = source.get();
    bool negative = false;
    if (c == '-' || c == '+') {
        negative = c == '-';
        c = source.get();
    }
    if (c < '0' || c > '9')
        return std::nullopt;
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; c >= '0' && c <= '9'; c = source.get()) {
        value = value * 10 + (c - '0');
        if (value > kLimit)
            return std::nullopt;
    }
    source.unget(c);
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// The rest of the line, at most kNewsTextLimit characters of it; the line break is read, not kept.
std::string readLine(TextSource& source) {
    std::string line;
    for (int c = source.get(); c != EOF && c != '\n'; c = source.get()) {
        if (line.size() < kNewsTextLimit)
            line += static_cast<char>(c);
    }
    return line;
}

std::string readRest(TextSource& source) {
    std::string rest;
    for (int c = source.get(); c != EOF && rest.size() < kNewsTextLimit; c = source.get())
        rest += static_cast<char>(c);
    return rest;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::optional<NewsMessage> readNewsMessage(std::string_view path) {
    const OpenFile file(platform::openFile(path, "rb"));
    if (!file)
        return std::nullopt;
    TextSource source(file.get());
    NewsMessage message;
    const std::optional<std::int32_t> number = readNumber(source);
    if (!number)
        return message;
    message.number = *number;
    message.title = readLine(source);
    message.link = readLine(source);
    message.text = readRest(source);
    return message;
}

std::int32_t readShownMessageNumber(std::string_view path) {
    const OpenFile file(platform::openFile(path, "rb"));
    if (!file)
        return 0;
    TextSource source(file.get());
    return readNumber(source).value_or(0);
}

bool writeShownMessageNumber(std::string_view path, std::int32_t number) {
    return platform::writeFileAtomically(path, text::format("%d\n", number));
}

bool isWebAddress(std::string_view link) {
    // The scheme in lower case: "http://" or "https://", and something after it.
    const std::size_t slashes = link.find("//");
    std::string scheme(link.substr(0, slashes == std::string_view::npos ? 0 : slashes + 2));
    for (char& c : scheme) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    if ((scheme != "http://" && scheme != "https://") || link.size() == scheme.size())
        return false;
    for (const char c : link) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}
