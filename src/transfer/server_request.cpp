// The user-interface thread's side of the server request: arguments, states, starting and waiting.
#include "transfer/server_request.h"

#include <system_error>
#include <utility>

#include "buildinfo/build_constants.h"
#include "text/bounded.h"

ServerRequest::ServerRequest() : serverUrl_(build::kServerUrl) {}

ServerRequest::~ServerRequest() {
    // A command still running at the end of the program stops at its next upload step; waiting for it
    // keeps its thread from touching the request after it is gone.
    RequestCancel();
    if (worker_.joinable())
        worker_.join();
}

void ServerRequest::SetServerUrl(std::string_view baseUrl) {
    serverUrl_ = baseUrl;
}

void ServerRequest::SetTimeLimits(Tarvo::TimeLimits limits) {
    limits_ = limits;
}

void ServerRequest::SetAnonymousDownload(bool anonymous) {
    anonymousDownload_ = anonymous;
}

void ServerRequest::SetStepObserver(std::function<void()> observer) {
    stepObserver_ = std::move(observer);
}

void ServerRequest::SetCredentials(std::string_view login, std::string_view password) {
    login_ = text::cut(login, kCredentialLimit);
    password_ = text::cut(password, kCredentialLimit);
}

int ServerRequest::Prepare(std::string_view a, std::string_view b, std::string_view c) {
    if (State() != RequestState::Idle)
        return 1;
    cancel_.store(0, std::memory_order_relaxed);
    argA_ = text::cut(a, kArgumentLimit);
    argB_ = text::cut(b, kArgumentLimit);
    argC_ = text::cut(c, kArgumentLimit);
    state_.store(RequestState::Prepared, std::memory_order_release);
    return 0;
}

void ServerRequest::RequestCancel() {
    cancel_.store(1, std::memory_order_relaxed);
}

void ServerRequest::Reset() {
    state_.store(RequestState::Idle, std::memory_order_release);
}

void ServerRequest::Start(ServerCommand command) {
    if (worker_.joinable())
        worker_.join();
    if (const RequestState found = State(); found != RequestState::Prepared) {
        // Settled here rather than on a worker, so that a caller never waits on a state it left behind.
        Publish(found, RequestState::NotPrepared);
        return;
    }
    CommandInput input{
        command,      argA_, argB_, argC_, login_, password_, serverUrl_, limits_, anonymousDownload_,
        stepObserver_};
    try {
        worker_ = std::thread([this, input = std::move(input)] { Execute(input); });
    } catch (const std::system_error&) {
        // No thread to run it: the command fails without having been sent.
        Publish(RequestState::Prepared, RequestState::Failed);
    }
}

RequestState ServerRequest::AwaitFinal(std::chrono::milliseconds interval) const {
    std::unique_lock lock(waitMutex_);
    finished_.wait_for(lock, interval, [this] { return isFinal(State()); });
    return State();
}

std::string ServerRequest::Price() const {
    std::lock_guard lock(resultsMutex_);
    return price_;
}

std::string ServerRequest::Message() const {
    std::lock_guard lock(resultsMutex_);
    return message_;
}

void ServerRequest::SetPrice(std::string price) {
    std::lock_guard lock(resultsMutex_);
    price_ = std::move(price);
}

void ServerRequest::SetMessage(std::string message) {
    std::lock_guard lock(resultsMutex_);
    message_ = std::move(message);
}

void ServerRequest::Publish(RequestState from, RequestState to) {
    {
        // Under the waiting caller's lock, so that its wait cannot miss the change.
        std::lock_guard lock(waitMutex_);
        state_.compare_exchange_strong(from, to, std::memory_order_release, std::memory_order_relaxed);
    }
    finished_.notify_all();
}
