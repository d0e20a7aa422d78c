// The client's exceptions, their messages and the checked arithmetic that raises them.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <functional>

#include "http/checked_math.h"
#include "http/client_steps.h"
#include "http/error_codes.h"
#include "http/exceptions.h"

namespace {

using namespace Tarvo;
using http_testing::codeRaisedBy;

httpclientexceptionA raised(std::int64_t code, std::uint32_t platformError = 0,
                            const char* argument = nullptr) {
    try {
        RaiseHttpClientError(code, platformError, argument);
    } catch (const httpclientexceptionA& e) {
        return e;
    }
    return {};
}

TEST(Errors, CodesFindTheirMessageByGroup) {
    struct Row {
        std::int64_t code;
        const char* message;
    };
    const Row rows[] = {
        {0, "Not specified"},
        {1, ""},  // a code of a group without a text of its own
        {99, ""},
        {100, "Unexpected error occurred."},
        {104, "The post context is not started yet."},
        {113, "An interger divide by zero exception has been occurred."},
        {114, ""},
        {200, ""},  // reserved
        {250, ""},
        {399, ""},
        {400, "::HttpQueryInfo failed."},
        {410, "::InternetSetOption failed."},
        {411, ""},
        {600, "::WideCharToMultiByte failed."},
        {605, "::GetFileSize failed (\"%s\")."},
        {606, ""},
        {999, ""},
        {1000, "user-defined error message"},
        {-1, "user-defined error message"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(ErrorMessageFor(row.code), row.message);
        EXPECT_STREQ(raised(row.code).ErrorMessage(), row.message);
        // The wide table holds the same texts.
        const std::wstring_view wide = ErrorMessageForW(row.code);
        EXPECT_EQ(std::string(wide.begin(), wide.end()), row.message);
    }
}

TEST(Errors, RaiseWithAnArgumentFormatsAndCutsTheMessage) {
    const std::string path(600, 'p');
    const auto longPath = raised(kErrFileSize, 5, path.c_str());
    EXPECT_EQ(std::strlen(longPath.ErrorMessage()), 511u);
    EXPECT_EQ(std::string(longPath.ErrorMessage()).substr(0, 26), "::GetFileSize failed (\"ppp");
    EXPECT_EQ(longPath.Win32Error(), 5u);

    EXPECT_STREQ(raised(kErrFileSize, 2, "C:\\a.jpg").ErrorMessage(),
                 "::GetFileSize failed (\"C:\\a.jpg\").");
    const auto withoutArgument = raised(kErrOpenSession, 12029, nullptr);
    EXPECT_STREQ(withoutArgument.what(), "::InternetOpen failed.");
    EXPECT_EQ(withoutArgument.Win32Error(), 12029u);
    EXPECT_EQ(withoutArgument.ErrorCode(), 402u);
    // An argument given to a message without "%s" changes nothing.
    EXPECT_STREQ(raised(kErrWriteFile, 1, "x").ErrorMessage(), "::InternetWriteFile failed.");
    // A format we cannot fill falls back to the text as it is.
    EXPECT_EQ(FormatErrorMessage("%d of %s", "x"), "%d of %s");
    EXPECT_EQ(FormatErrorMessage("100%% of %s", "x"), "100% of x");
}

TEST(Errors, MissingMessageReadsNullAndCopiesBecomeNull) {
    httpclientexceptionA empty;
    EXPECT_STREQ(empty.what(), "NULL");
    empty.SetErrorMessage("set");
    EXPECT_STREQ(empty.what(), "set");
    empty.SetErrorMessage(nullptr);
    EXPECT_STREQ(empty.ErrorMessage(), "NULL");

    const httpclientexceptionA original(408, 55, nullptr, "reset");
    httpclientexceptionA copy(original);
    EXPECT_STREQ(copy.ErrorMessage(), "NULL");
    EXPECT_EQ(copy.ErrorCode(), 408u);
    EXPECT_EQ(copy.Win32Error(), 55u);
    EXPECT_EQ(copy.Diagnostic(), "reset");

    httpclientexceptionA assigned(1, 1, "old");
    assigned = raised(kErrOutOfMemory);
    EXPECT_STREQ(assigned.ErrorMessage(), "Out of memory.");
    assigned = assigned;
    EXPECT_STREQ(assigned.ErrorMessage(), "Out of memory.");
}

TEST(Errors, WideExceptionsNameTheirClassAndNarrowAtTheEdge) {
    const errmsg_exceptionW plain;
    EXPECT_STREQ(plain.what(), "errmsg_exceptionW");
    try {
        RaiseHttpClientErrorW(kErrFileSize, 3, L"C:\\a.jpg");
    } catch (const httpclientexceptionW& wide) {
        EXPECT_STREQ(wide.what(), "httpclientexceptionW");
        EXPECT_EQ(std::wcscmp(wide.ErrorMessage(), L"::GetFileSize failed (\"C:\\a.jpg\")."), 0);
        const httpclientexceptionA narrow = NarrowedException(wide);
        EXPECT_STREQ(narrow.what(), "::GetFileSize failed (\"C:\\a.jpg\").");
        EXPECT_EQ(narrow.ErrorCode(), 605u);
        EXPECT_EQ(narrow.Win32Error(), 3u);
    }
    const httpclientexceptionW unconvertible(600, 0, L"\u010Dern\u00FD");
    EXPECT_STREQ(NarrowedException(unconvertible).ErrorMessage(), "NULL");
}

TEST(Errors, CheckedArithmeticRaisesInsteadOfWrapping) {
    EXPECT_EQ(CheckedAdd(0xFFFFFFFEu, 1), 0xFFFFFFFFu);
    EXPECT_EQ(CheckedSum({1, 2, 0xFFFFFFFCu}), 0xFFFFFFFFu);
    EXPECT_EQ(CheckedSub(5, 5), 0u);
    EXPECT_EQ(CheckedMul(0x10000u, 0xFFFFu), 0xFFFF0000u);
    EXPECT_EQ(CheckedDiv(7, 2), 3u);
    struct Row {
        const char* name;
        std::function<void()> action;
        std::uint32_t code;
    };
    const Row rows[] = {
        {"sum over 32 bits", [] { CheckedAdd(0xFFFFFFFFu, 1); }, kErrArithmeticOverflow},
        {"body of pieces over 32 bits",
         [] {
             CheckedSum({0x80000000u, 0x7FFFFFFFu, 1});
         },
         kErrArithmeticOverflow},
        {"size over 32 bits", [] { Checked32(std::uint64_t{1} << 32); }, kErrArithmeticOverflow},
        {"below zero", [] { CheckedSub(1, 2); }, kErrArithmeticOverflow},
        {"product over 32 bits", [] { CheckedMul(0x10000u, 0x10000u); }, kErrArithmeticOverflow},
        {"divide by zero", [] { CheckedDiv(1, 0); }, kErrDivideByZero},
        {"other failure", [] { RaiseArithmeticError(1); }, kErrArithmetic},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(codeRaisedBy(row.action), row.code);
    }
}

}  // namespace
