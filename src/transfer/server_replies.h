// How the lab server's replies are read.
//
// The server answers every command with a short plain text that is compared whole and exactly: nothing
// is trimmed, so "OK" followed by a line break is not "OK". Pure functions on cp1250 texts.
#pragma once

#include <string>
#include <string_view>

#include "transfer/request_state.h"

// "sendfile", "onlycopy" and "transend": "OK" is Ok, "nologin" and "badlogin" are BadLogin, any other
// reply (an error page, an empty body) is Failed.
RequestState uploadReplyState(std::string_view reply);

// "getfile", for a body short enough to be a reply: "notfound" is NotFound, "badlogin" is BadLogin (the
// one refusal a download knows; "nologin" is file content there), anything else is the file: Ok.
RequestState downloadReplyState(std::string_view body);

// "getprice": "nologin" and "badlogin" are BadLogin; anything else is Ok with the reply up to its first
// "&nbsp;" as the price (an amount followed by "&nbsp;" and a currency gives the amount), at most
// kPriceLimit characters.
struct PriceReply {
    static constexpr std::size_t kPriceLimit = 259;

    RequestState state = RequestState::Failed;
    std::string price;
};
PriceReply readPriceReply(std::string_view reply);

// "getvalidity": the first line (up to the first CR or LF) decides: "OK" is Ok, "warning" is Warning,
// "error" is Failed, and any other first line is Failed too. For "warning" and "error" the message is
// the text that starts right after the CR or LF ending the first line.
struct ValidityReply {
    RequestState state = RequestState::Failed;
    std::string message;
};
ValidityReply readValidityReply(std::string_view reply);
