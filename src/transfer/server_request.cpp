// The user-interface thread's side of the server request: arguments, states, starting and waiting.
#include "transfer/server_request.h"

#include <system_error>
#include <thread>
#include <utility>

#include "buildinfo/build_constants.h"
#include "text/bounded.h"

ServerRequest::ServerRequest() : serverUrl_(build::kServerUrl), channel_(std::make_shared<Channel>()) {}

ServerRequest::~ServerRequest() {
    // A command still under way stops within one slice of its wait; its worker holds its own channel, so
    // nothing here needs to wait for it.
    channel_->cancel.store(1, std::memory_order_relaxed);
    if (lastStarted_)
        lastStarted_->cancel.store(1, std::memory_order_relaxed);
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
    // A fresh channel, so that a worker left behind by the last command cannot reach this one. The
    // results of earlier commands stay readable until a command of their kind replaces them.
    auto channel = std::make_shared<Channel>();
    {
        std::lock_guard lock(channel_->mutex);
        channel->price = channel_->price;
        channel->message = channel_->message;
    }
    argA_ = text::cut(a, kArgumentLimit);
    argB_ = text::cut(b, kArgumentLimit);
    argC_ = text::cut(c, kArgumentLimit);
    channel->state.store(RequestState::Prepared, std::memory_order_release);
    channel_ = std::move(channel);
    return 0;
}

void ServerRequest::RequestCancel() {
    channel_->cancel.store(1, std::memory_order_relaxed);
}

void ServerRequest::Reset() {
    // Nobody will read what a command still under way brings, so it is asked to stop.
    channel_->cancel.store(1, std::memory_order_relaxed);
    channel_->state.store(RequestState::Idle, std::memory_order_release);
}

void ServerRequest::Start(ServerCommand command) {
    if (const RequestState found = State(); found != RequestState::Prepared) {
        // Settled here rather than on a worker, so that a caller never waits on a state it left behind.
        channel_->Publish(found, RequestState::NotPrepared);
        return;
    }
    CommandInput input{
        command,      argA_, argB_, argC_, login_, password_, serverUrl_, limits_, anonymousDownload_,
        stepObserver_};
    try {
        std::thread worker([channel = channel_, previous = lastStarted_, input = std::move(input)]() mutable {
            Execute(*channel, std::move(previous), input);
        });
        worker.detach();
        lastStarted_ = channel_;
    } catch (const std::system_error&) {
        // No thread to run it: the command fails without having been sent.
        channel_->Publish(RequestState::Prepared, RequestState::Failed);
    }
}

RequestState ServerRequest::AwaitFinal(std::chrono::milliseconds interval) const {
    const Channel& channel = *channel_;
    std::unique_lock lock(channel.mutex);
    channel.changed.wait_for(lock, interval,
                             [&channel] { return isFinal(channel.state.load(std::memory_order_acquire)); });
    return channel.state.load(std::memory_order_acquire);
}

std::string ServerRequest::Price() const {
    std::lock_guard lock(channel_->mutex);
    return channel_->price;
}

std::string ServerRequest::Message() const {
    std::lock_guard lock(channel_->mutex);
    return channel_->message;
}

void ServerRequest::Channel::SetPrice(std::string text) {
    std::lock_guard lock(mutex);
    price = std::move(text);
}

void ServerRequest::Channel::SetMessage(std::string text) {
    std::lock_guard lock(mutex);
    message = std::move(text);
}

void ServerRequest::Channel::Publish(RequestState from, RequestState to) {
    {
        // Under the waiting caller's lock, so that its wait cannot miss the change.
        std::lock_guard lock(mutex);
        state.compare_exchange_strong(from, to, std::memory_order_release, std::memory_order_relaxed);
    }
    changed.notify_all();
}

void ServerRequest::Channel::MarkEnded() {
    {
        std::lock_guard lock(mutex);
        ended = true;
    }
    changed.notify_all();
}

bool ServerRequest::Channel::AwaitEnd(const Channel& stop) const {
    std::unique_lock lock(mutex);
    while (!ended) {
        if (stop.StopAsked())
            return false;
        changed.wait_for(lock, Tarvo::kWaitSlice);
    }
    return true;
}
