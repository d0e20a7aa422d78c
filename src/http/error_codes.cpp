#include "http/error_codes.h"

#include <array>

namespace Tarvo {

namespace {

// One table per group, indexed by the code modulo 100. The wide tables are spelled out beside the
// narrow ones so that both stay constant data without conversion at run time.
#define TARVO_TEXT(s) s, L"" s

struct Text {
    std::string_view narrow;
    std::wstring_view wide;
};

constexpr std::array<Text, 1> kGeneral = {{{TARVO_TEXT("Not specified")}}};

constexpr std::array<Text, 14> kClient = {{
    {TARVO_TEXT("Unexpected error occurred.")},
    {TARVO_TEXT("The index is out of range.")},
    {TARVO_TEXT("Out of memory.")},
    {TARVO_TEXT("The requested URL is not a valid URL.")},
    {TARVO_TEXT("The post context is not started yet.")},
    {TARVO_TEXT("Couldn't read expected bytes from a file.")},
    {TARVO_TEXT("The post context has not been finished yet.")},
    {TARVO_TEXT("The port number is not valid.")},
    {TARVO_TEXT("std::exception occurred.")},
    {TARVO_TEXT("The encoded URL is not valid.")},
    {TARVO_TEXT("The UTF8 string contains an invalid character.")},
    {TARVO_TEXT("An unexpected arithmetic error has been occurred.")},
    {TARVO_TEXT("An arithmetic overflow error has been occurred.")},
    {TARVO_TEXT("An interger divide by zero exception has been occurred.")},
}};

constexpr std::array<Text, 11> kPlatformCalls = {{
    {TARVO_TEXT("::HttpQueryInfo failed.")},
    {TARVO_TEXT("::InternetReadFile failed.")},
    {TARVO_TEXT("::InternetOpen failed.")},
    {TARVO_TEXT("::InternetConnect failed.")},
    {TARVO_TEXT("::HttpOpenRequest failed.")},
    {TARVO_TEXT("::HttpAddRequestHeaders failed.")},
    {TARVO_TEXT("::HttpSendRequest failed.")},
    {TARVO_TEXT("::HttpSendRequestEx failed.")},
    {TARVO_TEXT("::InternetWriteFile failed.")},
    {TARVO_TEXT("::HttpEndRequest failed.")},
    {TARVO_TEXT("::InternetSetOption failed.")},
}};

constexpr std::array<Text, 6> kConversionsAndFiles = {{
    {TARVO_TEXT("::WideCharToMultiByte failed.")},
    {TARVO_TEXT("::MultiByteToWideChar failed.")},
    {TARVO_TEXT("::ReadFile failed.")},
    {TARVO_TEXT("OpenFile (::CreateFile) failed (\"%s\").")},
    {TARVO_TEXT("::SetFilePointer failed.")},
    {TARVO_TEXT("::GetFileSize failed (\"%s\").")},
}};

constexpr Text kUserDefined = {TARVO_TEXT("user-defined error message")};
constexpr Text kNone = {"", L""};

#undef TARVO_TEXT

template <std::size_t N>
Text inGroup(const std::array<Text, N>& group, std::int64_t code) {
    const auto index = static_cast<std::size_t>(code % 100);
    return index < N ? group[index] : kNone;
}

Text lookup(std::int64_t code) {
    if (code < 0 || code >= 1000)
        return kUserDefined;
    if (code < 100)
        return inGroup(kGeneral, code);
    if (code < 200)
        return inGroup(kClient, code);
    if (code < 400)
        return kNone;
    if (code < 600)
        return inGroup(kPlatformCalls, code);
    return inGroup(kConversionsAndFiles, code);
}

}  // namespace

std::string_view ErrorMessageFor(std::int64_t code) {
    return lookup(code).narrow;
}
std::wstring_view ErrorMessageForW(std::int64_t code) {
    return lookup(code).wide;
}

}  // namespace Tarvo
