// The one exception type of the HTTP client and the functions that raise it.
//
// Every failure inside the client reaches its caller as an httpclientexceptionA: a code of
// error_codes.h, the platform error number captured at the failure (for transport failures the
// transport's own error number; 0 where no platform call failed) and the English message of the code.
// The wide twins (…W) only live inside the client; entry points turn them into the narrow type with
// NarrowedException before they leave.
//
// An exception owns its message; copying copies the text. A copy of an exception without a message has
// the message "NULL". Exceptions are plain values, usable from any thread that holds them.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

namespace Tarvo {

// An exception with an owned, possibly absent, message.
template <class Char>
class BasicErrmsgException : public std::exception {
  public:
    BasicErrmsgException() = default;
    BasicErrmsgException(const BasicErrmsgException& other) : std::exception(other) {
        SetErrorMessage(other.ErrorMessage());
    }
    BasicErrmsgException& operator=(const BasicErrmsgException& other) {
        if (this != &other)
            SetErrorMessage(other.ErrorMessage());
        return *this;
    }
    ~BasicErrmsgException() override = default;

    // Narrow: the message (see ErrorMessage); wide: the class name "errmsg_exceptionW".
    const char* what() const noexcept override;
    // The message, or "NULL" when there is none.
    virtual const Char* ErrorMessage() const noexcept;
    // Replaces the message by a copy of `text`; a null text leaves none. When the copy cannot be
    // allocated the exception silently has no message.
    virtual void SetErrorMessage(const Char* text) noexcept;

  private:
    std::unique_ptr<Char[]> message_;
};

// An error of the HTTP client: message, code and platform error. `Diagnostic()` keeps the transport's
// own description of a failure (for example the text of the network library) for logs and reports; it
// is empty for failures that have none.
template <class Char>
class BasicHttpClientException : public BasicErrmsgException<Char> {
  public:
    BasicHttpClientException() = default;
    BasicHttpClientException(std::uint32_t code, std::uint32_t platformError, const Char* message,
                             std::string diagnostic = {})
        : code_(code), platformError_(platformError), diagnostic_(std::move(diagnostic)) {
        this->SetErrorMessage(message);
    }

    // Narrow: the message; wide: the class name "httpclientexceptionW".
    const char* what() const noexcept override;

    std::uint32_t ErrorCode() const noexcept { return code_; }
    std::uint32_t Win32Error() const noexcept { return platformError_; }
    const std::string& Diagnostic() const noexcept { return diagnostic_; }

  private:
    std::uint32_t code_ = 0;
    std::uint32_t platformError_ = 0;
    std::string diagnostic_;
};

using errmsg_exceptionA = BasicErrmsgException<char>;
using errmsg_exceptionW = BasicErrmsgException<wchar_t>;
using httpclientexceptionA = BasicHttpClientException<char>;
using httpclientexceptionW = BasicHttpClientException<wchar_t>;

extern template class BasicErrmsgException<char>;
extern template class BasicErrmsgException<wchar_t>;
extern template class BasicHttpClientException<char>;
extern template class BasicHttpClientException<wchar_t>;

// Status values that checked arithmetic reports to RaiseArithmeticError.
inline constexpr std::uint32_t kStatusIntegerDivideByZero = 0xC0000094;
inline constexpr std::uint32_t kErrorArithmeticOverflow = 534;

// Throws the code with its table text and platform error 0.
[[noreturn]] void RaiseHttpClientError(std::int64_t code);
// Throws the code with `platformError`. With an argument, the table text is a format whose one "%s"
// takes the argument; the result is cut to 511 characters. A malformed format falls back to the
// unformatted text.
[[noreturn]] void RaiseHttpClientError(std::int64_t code, std::uint32_t platformError, const char* argument);
// Throws 113 for kStatusIntegerDivideByZero, 112 for kErrorArithmeticOverflow, 111 for anything else.
[[noreturn]] void RaiseArithmeticError(std::uint32_t failure);
// A failure of the transport below the client: the table text of `code`, the transport's error number
// and its own description kept as the diagnostic.
[[noreturn]] void RaiseTransportError(std::int64_t code, std::uint32_t platformError, std::string diagnostic);

// The same over the wide table.
[[noreturn]] void RaiseHttpClientErrorW(std::int64_t code);
[[noreturn]] void RaiseHttpClientErrorW(std::int64_t code, std::uint32_t platformError,
                                        const wchar_t* argument);
[[noreturn]] void RaiseArithmeticErrorW(std::uint32_t failure);

// The narrow exception that replaces a wide one at an entry point: same code and platform error; the
// message converted to narrow text, or none when it holds characters outside ASCII (the client's own
// texts are ASCII).
httpclientexceptionA NarrowedException(const httpclientexceptionW& wide);

// The message that a raise with an argument forms, exposed for the tests: `format` with its "%s"
// replaced by `argument`, at most 511 characters; `format` itself when it holds any other conversion.
std::string FormatErrorMessage(std::string_view format, std::string_view argument);
std::wstring FormatErrorMessage(std::wstring_view format, std::wstring_view argument);

}  // namespace Tarvo
