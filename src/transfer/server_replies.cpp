#include "transfer/server_replies.h"

namespace {

constexpr std::string_view kOk = "OK";
constexpr std::string_view kNoLogin = "nologin";
constexpr std::string_view kBadLogin = "badlogin";
constexpr std::string_view kNotFound = "notfound";
constexpr std::string_view kPriceEnd = "&nbsp;";
constexpr std::string_view kWarning = "warning";
constexpr std::string_view kError = "error";

bool refusesLogin(std::string_view reply) {
    return reply == kNoLogin || reply == kBadLogin;
}

}  // namespace

RequestState uploadReplyState(std::string_view reply) {
    if (refusesLogin(reply))
        return RequestState::BadLogin;
    return reply == kOk ? RequestState::Ok : RequestState::Failed;
}

RequestState downloadReplyState(std::string_view body) {
    if (body == kNotFound)
        return RequestState::NotFound;
    if (body == kBadLogin)
        return RequestState::BadLogin;
    return RequestState::Ok;
}

PriceReply readPriceReply(std::string_view reply) {
    if (refusesLogin(reply))
        return {RequestState::BadLogin, {}};
    const std::string_view price = reply.substr(0, reply.find(kPriceEnd));
    return {RequestState::Ok, std::string(price.substr(0, PriceReply::kPriceLimit))};
}

ValidityReply readValidityReply(std::string_view reply) {
    const std::size_t lineEnd = reply.find_first_of("\r\n");
    const std::string_view firstLine = reply.substr(0, lineEnd);
    if (firstLine == kOk)
        return {RequestState::Ok, {}};
    if (firstLine != kWarning && firstLine != kError)
        return {RequestState::Failed, {}};
    const RequestState state = firstLine == kWarning ? RequestState::Warning : RequestState::Failed;
    if (lineEnd == std::string_view::npos)
        return {state, {}};
    return {state, std::string(reply.substr(lineEnd + 1))};
}
