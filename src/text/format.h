// Filling printf-style patterns ("%d fotek, %d kopií, %s MB") with typed arguments.
//
// A pattern knows two kinds of conversion: numbers (%d, %i, %u, with an optional l or ll) and texts (%s),
// each with the optional flags '-' and '0' and a width; "%%" is a percent sign. A number of any integral
// type fills a number conversion, any text (std::string, std::string_view, a C string) a text
// conversion, so the widths that printf cares about (%d against %ld) cannot be mixed up.
//
// A literal pattern is checked while compiling: format("%03d_%s", number, name) does not build when the
// pattern's conversions and the arguments differ in number or kind. Patterns that live in a table are
// checked against their declared kinds with patternTakes, also while compiling (see app/ui_texts.h).
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace text {

enum class FormatArgKind { Number, Text };

template <class T>
concept NumberFormatArg =
    std::integral<std::remove_cvref_t<T>> && !std::same_as<std::remove_cvref_t<T>, bool> &&
    !std::same_as<std::remove_cvref_t<T>, char>;
template <class T>
concept TextFormatArg = std::convertible_to<const T&, std::string_view>;

template <class T>
consteval FormatArgKind formatArgKind() {
    static_assert(NumberFormatArg<T> || TextFormatArg<T>, "a pattern takes integral numbers and texts only");
    return NumberFormatArg<T> ? FormatArgKind::Number : FormatArgKind::Text;
}

// One conversion of a pattern, as parsed.
struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    std::size_t width = 0;
    FormatArgKind kind = FormatArgKind::Number;
    std::size_t end = 0;  // the position after the conversion in the pattern
};

// Parses the conversion that starts at the '%' at `start`; false for a malformed one (or "%%", which is
// no conversion).
constexpr bool parseConversion(std::string_view pattern, std::size_t start, Conversion& conversion) {
    std::size_t pos = start + 1;
    conversion = Conversion{};
    for (; pos < pattern.size() && (pattern[pos] == '-' || pattern[pos] == '0'); ++pos) {
        if (pattern[pos] == '-')
            conversion.leftAlign = true;
        else
            conversion.zeroPad = true;
    }
    for (; pos < pattern.size() && pattern[pos] >= '0' && pattern[pos] <= '9'; ++pos) {
        conversion.width = conversion.width * 10 + static_cast<std::size_t>(pattern[pos] - '0');
        if (conversion.width > 255)
            return false;
    }
    std::size_t lengthLetters = 0;
    for (; pos < pattern.size() && pattern[pos] == 'l' && lengthLetters < 2; ++pos)
        ++lengthLetters;
    if (pos >= pattern.size())
        return false;
    const char letter = pattern[pos];
    if (letter == 'd' || letter == 'i' || letter == 'u') {
        conversion.kind = FormatArgKind::Number;
    } else if (letter == 's' && lengthLetters == 0) {
        conversion.kind = FormatArgKind::Text;
    } else {
        return false;
    }
    conversion.end = pos + 1;
    return true;
}

// Whether the pattern is well formed and its conversions are exactly `kinds`, in order.
constexpr bool patternTakes(std::string_view pattern, std::span<const FormatArgKind> kinds) {
    std::size_t next = 0;
    for (std::size_t pos = 0; pos < pattern.size(); ++pos) {
        if (pattern[pos] != '%')
            continue;
        if (pos + 1 < pattern.size() && pattern[pos + 1] == '%') {
            ++pos;
            continue;
        }
        Conversion conversion;
        if (!parseConversion(pattern, pos, conversion) || next >= kinds.size() ||
            kinds[next] != conversion.kind)
            return false;
        ++next;
        pos = conversion.end - 1;
    }
    return next == kinds.size();
}

// Whether the text holds anything a pattern would treat specially.
constexpr bool isPattern(std::string_view text) {
    for (const char c : text) {
        if (c == '%')
            return true;
    }
    return false;
}

// One argument, as the formatter takes it.
class FormatArg {
  public:
    template <NumberFormatArg T>
    FormatArg(T number)  // NOLINT(google-explicit-constructor): arguments convert as they are passed
        : kind_(FormatArgKind::Number),
          negative_(number < 0),
          magnitude_(number < 0 ? 0 - static_cast<std::uint64_t>(number)
                                : static_cast<std::uint64_t>(number)) {}
    template <TextFormatArg T>
    requires(!NumberFormatArg<T>) FormatArg(const T& value)  // NOLINT(google-explicit-constructor)
        : kind_(FormatArgKind::Text), text_(value) {}

    FormatArgKind kind() const { return kind_; }
    bool negative() const { return negative_; }
    std::uint64_t magnitude() const { return magnitude_; }
    std::string_view text() const { return text_; }

  private:
    FormatArgKind kind_;
    bool negative_ = false;
    std::uint64_t magnitude_ = 0;
    std::string_view text_;
};

// Fills a pattern that patternTakes has accepted for the kinds of `args`. A pattern or argument list
// that does not fit throws std::invalid_argument (never reached through format or formatUiText).
std::string formatPattern(std::string_view pattern, std::span<const FormatArg> args);

// A pattern whose conversions were checked against the argument types while compiling.
template <class... Args>
class CheckedPattern {
  public:
    static constexpr std::array<FormatArgKind, sizeof...(Args)> kKinds{formatArgKind<Args>()...};

    template <class Text>
    requires std::convertible_to<const Text&, std::string_view>
    consteval CheckedPattern(const Text& pattern)  // NOLINT(google-explicit-constructor)
        : pattern_(pattern) {
        if (!patternTakes(pattern_, kKinds))
            throw std::logic_error("the pattern's conversions do not match its arguments");
    }

    std::string_view text() const { return pattern_; }

  private:
    std::string_view pattern_;
};

template <class... Args>
std::string format(CheckedPattern<std::type_identity_t<Args>...> pattern, const Args&... args) {
    const std::array<FormatArg, sizeof...(Args)> values{FormatArg(args)...};
    return formatPattern(pattern.text(), values);
}

}  // namespace text
