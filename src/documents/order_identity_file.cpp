#include "documents/order_identity_file.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/files.h"
#include "text/cp1250.h"

namespace {

bool isBlank(int byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\v' || byte == '\f';
}

enum class Token { Read, End, TooLong };

// Reads the next white-space separated token, at most `limit` characters.
Token readToken(std::FILE* file, std::size_t limit, std::string& token) {
    token.clear();
    int byte = std::fgetc(file);
    while (byte != EOF && isBlank(byte))
        byte = std::fgetc(file);
    if (byte == EOF)
        return Token::End;
    while (byte != EOF && !isBlank(byte)) {
        if (token.size() == limit)
            return Token::TooLong;
        token += static_cast<char>(byte);
        byte = std::fgetc(file);
    }
    return Token::Read;
}

// Whether `id` can stand inside a file name on any of the program's platforms and never climbs out of
// the folder it is put in.
bool fitsInFileName(std::string_view id) {
    if (id.find("..") != std::string_view::npos)
        return false;
    for (const char c : id) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    }
    return cp1250::toUtf8(id).complete();  // bytes that cp1250 leaves undefined name no file
}

}  // namespace

OrderIdentity presetOrderIdentity() {
    OrderIdentity identity;
    identity.date = "now";
    identity.serverFolder = "temp";
    identity.customerId = "X";
    identity.orderId = "Y";
    return identity;
}

int readOrderIdentity(OrderIdentity& identity, std::string_view path) {
    std::FILE* file = platform::openFile(path, "rb");
    if (file == nullptr)
        return 1;
    OrderIdentity read = identity;
    struct Field {
        std::string* value;
        std::size_t limit;
        bool namesFiles;
    };
    const std::array<Field, 4> fields = {{
        {&read.date, OrderIdentity::kIdLimit, false},
        {&read.serverFolder, OrderIdentity::kFolderLimit, false},
        {&read.customerId, OrderIdentity::kIdLimit, true},
        {&read.orderId, OrderIdentity::kIdLimit, true},
    }};
    bool refused = false;
    std::string token;
    for (const Field& field : fields) {
        const Token result = readToken(file, field.limit, token);
        if (result == Token::End)
            break;
        if (result == Token::TooLong || (field.namesFiles && !fitsInFileName(token))) {
            refused = true;
            break;
        }
        *field.value = token;
    }
    refused = refused || std::ferror(file) != 0;
    std::fclose(file);
    if (refused)
        return 1;
    identity = read;
    return 0;
}
