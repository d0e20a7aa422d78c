// The HTTP client's error codes and their English messages.
//
// Every failure of the client is an httpclientexceptionA carrying one of these codes (see exceptions.h).
// The narrow and the wide table hold the same texts; the tables are constant and safe to read from any
// thread.
#pragma once

#include <cstdint>
#include <string_view>

namespace Tarvo {

enum HttpClientErrorCode : std::uint32_t {
    kErrNotSpecified = 0,
    kErrUnexpected = 100,
    kErrIndexOutOfRange = 101,
    kErrOutOfMemory = 102,
    kErrInvalidUrl = 103,
    kErrPostNotStarted = 104,
    kErrFileShortRead = 105,
    kErrPostNotFinished = 106,
    kErrInvalidPort = 107,
    kErrStdException = 108,
    kErrInvalidEncodedUrl = 109,
    kErrInvalidUtf8 = 110,
    kErrArithmetic = 111,
    kErrArithmeticOverflow = 112,
    kErrDivideByZero = 113,
    kErrQueryInfo = 400,
    kErrReadFile = 401,
    kErrOpenSession = 402,
    kErrConnect = 403,
    kErrOpenRequest = 404,
    kErrAddHeaders = 405,
    kErrSendRequest = 406,
    kErrSendRequestEx = 407,
    kErrWriteFile = 408,
    kErrEndRequest = 409,
    kErrSetOption = 410,
    kErrWideToNarrow = 600,
    kErrNarrowToWide = 601,
    kErrFileRead = 602,
    kErrFileOpen = 603,
    kErrFileRewind = 604,
    kErrFileSize = 605,
};

// The message of a code: codes 0 to 99, 100 to 199, 400 to 599 and 600 to 999 index their group by the
// code modulo 100 (a code of a group without a text of its own yields the empty text); 200 to 399 are
// reserved and yield the empty text; a negative code or one of 1000 and above yields
// "user-defined error message". Codes 603 and 605 contain one "%s" for a file path.
std::string_view ErrorMessageFor(std::int64_t code);
std::wstring_view ErrorMessageForW(std::int64_t code);

}  // namespace Tarvo
