// A sending window for the transfer's tests: it records what the procedure shows, answers its
// questions from a script, keeps a virtual clock, and runs the test's actions where the real dialog
// would dispatch events (in PumpEvents), also actions posted from a worker thread.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/server_request.h"
#include "transfer/transfer_order.h"

namespace transfer_testing {

class SendingWindow final : public TransferWindow {
  public:
    struct Question {
        std::string text;
        std::string caption;
    };

    // --- What the customer typed and ticked
    std::string login = "demo";
    std::string password = "demo";
    bool autoResume = true;
    bool photobook = false;

    // --- Script
    std::deque<bool> answers;  // Yes (true) or No for the next questions
    // Called for every status text, and in every pump; either may act on the transfer.
    std::function<void(std::string_view)> onStatus;
    std::function<void()> onPump;
    std::function<bool()> saveToDisk = [] { return false; };

    // --- Record
    std::vector<std::string> statuses;
    std::vector<std::string> warnings;
    std::vector<Question> questions;
    std::map<SendControl, bool> enabled;
    std::map<SendControl, bool> visible;
    SendControl focused = SendControl::Login;
    int overallBar = 0;
    int fileBar = 0;
    std::vector<int> overallBars;  // every change
    std::vector<int> fileBars;
    std::string overallText;
    std::string fileText;
    bool finishedShown = false;
    int closed = 0;
    int keepAwakeDepth = 0;
    int keepAwakeBegins = 0;
    int saveToDiskCalls = 0;
    std::int64_t now = 0;  // virtual milliseconds

    // Any thread: runs `action` in the next pump.
    void post(std::function<void()> action) {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(action));
    }

    bool saw(std::string_view status) const {
        for (const std::string& shown : statuses) {
            if (shown == status)
                return true;
        }
        return false;
    }
    std::string lastStatus() const { return statuses.empty() ? std::string() : statuses.back(); }

    // --- TransferWindow
    std::string LoginText() override { return login; }
    std::string PasswordText() override { return password; }
    bool AutoResumeTicked() override { return autoResume; }
    bool photobookMode() override { return photobook; }
    void ShowStatus(std::string_view text) override {
        statuses.emplace_back(text);
        if (onStatus)
            onStatus(text);
    }
    void SetOverallBar(int percent) override {
        overallBar = percent;
        overallBars.push_back(percent);
    }
    void SetOverallText(std::string_view text) override { overallText = text; }
    void SetFileBar(int percent) override {
        fileBar = percent;
        fileBars.push_back(percent);
    }
    void SetFileText(std::string_view text) override { fileText = text; }
    void EnableControl(SendControl control, bool on) override { enabled[control] = on; }
    void ShowControl(SendControl control, bool on) override { visible[control] = on; }
    void FocusControl(SendControl control) override { focused = control; }
    void ShowFinished() override { finishedShown = true; }
    void Warn(std::string_view text) override { warnings.emplace_back(text); }
    bool Ask(std::string_view text, std::string_view caption) override {
        questions.push_back({std::string(text), std::string(caption)});
        if (answers.empty()) {
            ADD_FAILURE() << "an unexpected question";
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void PumpEvents() override {
        std::vector<std::function<void()>> actions;
        {
            std::lock_guard lock(postedMutex_);
            actions.swap(posted_);
        }
        for (auto& action : actions)
            action();
        if (onPump)
            onPump();
    }
    void Sleep(int milliseconds) override { now += milliseconds; }
    void BeginKeepAwake() override {
        ++keepAwakeDepth;
        ++keepAwakeBegins;
    }
    void EndKeepAwake() override { --keepAwakeDepth; }
    bool SaveToDisk() override {
        ++saveToDiskCalls;
        return saveToDisk();
    }
    void CloseWindow() override { ++closed; }

  private:
    std::mutex postedMutex_;
    std::vector<std::function<void()>> posted_;
};

// Runs `action` on the UI thread at the first step of the next upload whose status names `source`,
// with the upload held until it ran: the action falls inside that upload, however fast the loopback.
class DuringUpload {
  public:
    DuringUpload(ServerRequest& request, SendingWindow& window) : request_(request), window_(window) {
        request_.SetStepObserver([this] { OnStep(); });
    }
    ~DuringUpload() {
        request_.SetStepObserver({});
        window_.onStatus = previous_;
    }
    DuringUpload(const DuringUpload&) = delete;
    DuringUpload& operator=(const DuringUpload&) = delete;

    // Arms the action for the upload that starts after the status `status`.
    void arm(std::string status, std::function<void()> action) {
        status_ = std::move(status);
        action_ = std::move(action);
        previous_ = window_.onStatus;
        window_.onStatus = [this](std::string_view shown) {
            if (previous_)
                previous_(shown);
            if (!status_.empty() && shown == status_) {
                status_.clear();
                std::lock_guard lock(mutex_);
                armed_ = true;
            }
        };
    }
    bool fired() const { return fired_; }

  private:
    // On the worker thread.
    void OnStep() {
        {
            std::lock_guard lock(mutex_);
            if (!armed_)
                return;
            armed_ = false;
        }
        auto done = std::make_shared<std::promise<void>>();
        std::future<void> ran = done->get_future();
        window_.post([this, done] {
            fired_ = true;
            action_();
            done->set_value();
        });
        if (ran.wait_for(std::chrono::seconds(30)) != std::future_status::ready)
            ADD_FAILURE() << "the action was never run";
    }

    ServerRequest& request_;
    SendingWindow& window_;
    std::string status_;
    std::function<void()> action_;
    std::function<void(std::string_view)> previous_;
    std::mutex mutex_;
    bool armed_ = false;
    bool fired_ = false;
};

}  // namespace transfer_testing
