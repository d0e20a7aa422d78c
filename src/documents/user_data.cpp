#include "documents/user_data.h"

#include <cstdio>
#include <string>

#include "platform/files.h"
#include "text/numbers.h"

namespace {

constexpr int kLinesRead = 13;
constexpr std::size_t kLineBuffer = 1024;

// Reads one line byte by byte. CR, LF, NUL, 0xFF and the end of the file end a line; at the start of a
// line CR, LF and NUL are passed over, so empty lines and any mix of line ends read alike. None at the
// end of the file, at a 0xFF that starts a line, or when a line fills the whole buffer.
std::optional<std::string> readLine(std::FILE* file) {
    std::string line;
    for (;;) {
        const int byte = std::fgetc(file);
        const bool ends = byte == EOF || byte == 0xFF || byte == '\r' || byte == '\n' || byte == 0;
        if (ends) {
            if (!line.empty())
                return line;
            if (byte == EOF || byte == 0xFF)
                return std::nullopt;
            continue;
        }
        line += static_cast<char>(byte);
        if (line.size() == kLineBuffer)
            return std::nullopt;
    }
}

}  // namespace

SavedChoices restoreSavedChoices(std::string_view path) {
    SavedChoices choices;
    std::FILE* file = platform::openFile(path, "rb");
    if (file == nullptr)
        return choices;
    // Lines after the third are read and have no effect; nothing after the 13th is read.
    for (int n = 1; n <= kLinesRead; ++n) {
        const auto line = readLine(file);
        if (!line)
            break;
        const std::int32_t value = text::leadingInt(*line);
        if (n == 1)
            choices.payment = value;
        else if (n == 2)
            choices.delivery = value;
        else if (n == 3)
            choices.shop = value;
    }
    std::fclose(file);
    return choices;
}

bool saveChoices(std::int32_t payment, std::int32_t delivery, std::int32_t shop, std::string_view path) {
    std::string content;
    for (const std::int32_t value : {payment, delivery, shop})
        content += std::to_string(value) + "\r\r\n";
    return platform::writeFileAtomically(path, content);
}
