#include "text/format.h"

namespace text {

namespace {

std::string decimal(const FormatArg& number) {
    std::string digits;
    std::uint64_t rest = number.magnitude();
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + rest % 10));
        rest /= 10;
    } while (rest != 0);
    return digits;
}

// The argument's text padded to the conversion's width; zeros go after a number's sign.
std::string filled(const Conversion& conversion, const FormatArg& arg) {
    const bool number = arg.kind() == FormatArgKind::Number;
    const std::string sign = number && arg.negative() ? "-" : "";
    std::string body = number ? decimal(arg) : std::string(arg.text());
    const std::size_t length = sign.size() + body.size();
    if (length >= conversion.width)
        return sign + body;
    const std::size_t padding = conversion.width - length;
    if (conversion.leftAlign)
        return sign + body + std::string(padding, ' ');
    if (conversion.zeroPad && number)
        return sign + std::string(padding, '0') + body;
    return std::string(padding, ' ') + sign + body;
}

}  // namespace

std::string formatPattern(std::string_view pattern, std::span<const FormatArg> args) {
    std::string out;
    out.reserve(pattern.size() + 16 * args.size());
    std::size_t next = 0;
    for (std::size_t pos = 0; pos < pattern.size(); ++pos) {
        if (pattern[pos] != '%') {
            out += pattern[pos];
            continue;
        }
        if (pos + 1 < pattern.size() && pattern[pos + 1] == '%') {
            out += '%';
            ++pos;
            continue;
        }
        Conversion conversion;
        if (!parseConversion(pattern, pos, conversion) || next >= args.size() ||
            args[next].kind() != conversion.kind)
            throw std::invalid_argument("pattern and arguments do not fit");
        out += filled(conversion, args[next++]);
        pos = conversion.end - 1;
    }
    if (next != args.size())
        throw std::invalid_argument("pattern and arguments do not fit");
    return out;
}

}  // namespace text
