#include "http/exceptions.h"

#include <new>
#include <string_view>
#include <type_traits>

#include "http/error_codes.h"

namespace Tarvo {

namespace {

template <class Char>
constexpr const Char* kNullText() {
    if constexpr (std::is_same_v<Char, char>)
        return "NULL";
    else
        return L"NULL";
}

// The formatted message lives in a buffer of 512 characters, of which 511 hold text.
constexpr std::size_t kMessageLimit = 511;

template <class Char>
std::basic_string<Char> format(std::basic_string_view<Char> pattern, std::basic_string_view<Char> argument) {
    std::basic_string<Char> out;
    bool argumentUsed = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != Char('%')) {
            out += pattern[i];
            continue;
        }
        const Char next = i + 1 < pattern.size() ? pattern[i + 1] : Char(0);
        if (next == Char('%')) {
            out += Char('%');
        } else if (next == Char('s') && !argumentUsed) {
            out.append(argument);
            argumentUsed = true;
        } else {
            return std::basic_string<Char>(pattern);  // not a format we can fill
        }
        ++i;
    }
    if (out.size() > kMessageLimit)
        out.resize(kMessageLimit);
    return out;
}

std::uint32_t arithmeticCode(std::uint32_t failure) {
    if (failure == kStatusIntegerDivideByZero)
        return kErrDivideByZero;
    if (failure == kErrorArithmeticOverflow)
        return kErrArithmeticOverflow;
    return kErrArithmetic;
}

template <class Char>
std::basic_string_view<Char> tableText(std::int64_t code) {
    if constexpr (std::is_same_v<Char, char>)
        return ErrorMessageFor(code);
    else
        return ErrorMessageForW(code);
}

// Builds the exception of `code` over the table of `Char` and throws it.
template <class Char>
[[noreturn]] void raise(std::int64_t code, std::uint32_t platformError, const Char* argument,
                        std::string diagnostic = {}) {
    const std::basic_string<Char> text =
        argument == nullptr ? std::basic_string<Char>(tableText<Char>(code))
                            : format(tableText<Char>(code), std::basic_string_view<Char>(argument));
    throw BasicHttpClientException<Char>(static_cast<std::uint32_t>(code), platformError, text.c_str(),
                                         std::move(diagnostic));
}

}  // namespace

template <class Char>
const char* BasicErrmsgException<Char>::what() const noexcept {
    if constexpr (std::is_same_v<Char, char>)
        return ErrorMessage();
    else
        return "errmsg_exceptionW";
}

template <class Char>
const Char* BasicErrmsgException<Char>::ErrorMessage() const noexcept {
    return message_ ? message_.get() : kNullText<Char>();
}

template <class Char>
void BasicErrmsgException<Char>::SetErrorMessage(const Char* text) noexcept {
    message_.reset();
    if (text == nullptr)
        return;
    const auto length = std::char_traits<Char>::length(text);
    message_.reset(new (std::nothrow) Char[length + 1]);
    if (message_)
        std::char_traits<Char>::copy(message_.get(), text, length + 1);
}

template <class Char>
const char* BasicHttpClientException<Char>::what() const noexcept {
    if constexpr (std::is_same_v<Char, char>)
        return BasicErrmsgException<Char>::what();
    else
        return "httpclientexceptionW";
}

template class BasicErrmsgException<char>;
template class BasicErrmsgException<wchar_t>;
template class BasicHttpClientException<char>;
template class BasicHttpClientException<wchar_t>;

std::string FormatErrorMessage(std::string_view pattern, std::string_view argument) {
    return format(pattern, argument);
}

std::wstring FormatErrorMessage(std::wstring_view pattern, std::wstring_view argument) {
    return format(pattern, argument);
}

void RaiseHttpClientError(std::int64_t code) {
    raise<char>(code, 0, nullptr);
}

void RaiseHttpClientError(std::int64_t code, std::uint32_t platformError, const char* argument) {
    raise(code, platformError, argument);
}

void RaiseArithmeticError(std::uint32_t failure) {
    raise<char>(arithmeticCode(failure), 0, nullptr);
}

void RaiseTransportError(std::int64_t code, std::uint32_t platformError, std::string diagnostic) {
    raise<char>(code, platformError, nullptr, std::move(diagnostic));
}

void RaiseHttpClientErrorW(std::int64_t code) {
    raise<wchar_t>(code, 0, nullptr);
}

void RaiseHttpClientErrorW(std::int64_t code, std::uint32_t platformError, const wchar_t* argument) {
    raise(code, platformError, argument);
}

void RaiseArithmeticErrorW(std::uint32_t failure) {
    raise<wchar_t>(arithmeticCode(failure), 0, nullptr);
}

httpclientexceptionA NarrowedException(const httpclientexceptionW& wide) {
    std::string narrow;
    bool convertible = true;
    for (const wchar_t* c = wide.ErrorMessage(); *c != L'\0'; ++c) {
        if (static_cast<std::uint32_t>(*c) > 0x7F) {
            convertible = false;
            break;
        }
        narrow += static_cast<char>(*c);
    }
    return httpclientexceptionA(wide.ErrorCode(), wide.Win32Error(), convertible ? narrow.c_str() : nullptr,
                                wide.Diagnostic());
}

}  // namespace Tarvo
