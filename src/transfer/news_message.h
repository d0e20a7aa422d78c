// The news message that the lab publishes with its update files ("message.txt"), and the number of the
// message the user last asked not to see again ("message.id").
//
// message.txt, read as text (CR LF counts as one line break):
//   <number><title>        a decimal number (white space before it allowed), then the rest of the line;
//                          a blank after the number belongs to the title
//   <link>                 an address shown under the message; may be empty
//   <text ...>             everything after the second line, to the end of the file
// Title, link and text keep at most kNewsTextLimit characters each and end at the end of the file.
// The file comes from the server: whatever it holds (NUL bytes, lines of megabytes, no line break at
// all) is read without keeping more than the limits, and NUL bytes are left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::size_t kNewsTextLimit = 4095;

struct NewsMessage {
    // 0 when the file does not start with a number (a damaged or empty file): such a message is never
    // shown.
    std::int32_t number = 0;
    std::string title;
    std::string link;
    // Lines separated by "\n".
    std::string text;
};

// Reads the message file; none when it cannot be opened.
std::optional<NewsMessage> readNewsMessage(std::string_view path);

// The number held by the message id file; 0 when the file cannot be opened or does not start with a
// number.
std::int32_t readShownMessageNumber(std::string_view path);

// Writes the number as "%d\n", replacing the file in one step. False when it could not be written.
bool writeShownMessageNumber(std::string_view path, std::int32_t number);

// Whether a link of a message may be handed to the desktop to open: an http or https address (the
// scheme in any case) with something after "//" and no blank or control character in it. Anything
// else (a local file, "javascript:", a program) is only shown.
bool isWebAddress(std::string_view link);
