#include "ui/controls/headless/headless_desktop.h"

#include <algorithm>

#include "buildinfo/build_constants.h"

namespace ui::headless {

HeadlessDesktop::HeadlessDesktop() = default;
HeadlessDesktop::~HeadlessDesktop() = default;

MessageAnswer HeadlessDesktop::messageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                                          MessageButtons buttons) {
    MessageRecord record{std::string(text), std::string(caption.empty() ? build::kProductName : caption),
                         icon, buttons, MessageAnswer::Ok};
    if (buttons == MessageButtons::YesNo) {
        if (answers_.empty()) {
            messages_.push_back(record);
            throw HeadlessScriptError("unexpected question: " + record.text);
        }
        record.answer = answers_.front();
        answers_.pop_front();
    }
    messages_.push_back(record);
    return record.answer;
}

void HeadlessDesktop::pumpEvents() {
    ++pumps_;
    std::vector<std::function<void()>> posted;
    {
        const std::lock_guard lock(postedLock_);
        posted.swap(posted_);
    }
    for (auto& action : posted)
        action();
    // Actions may schedule further actions; those wait for a later pump.
    std::vector<Scheduled> due;
    std::vector<Scheduled> later;
    for (Scheduled& item : scheduled_)
        (item.due <= now_ ? due : later).push_back(std::move(item));
    scheduled_ = std::move(later);
    std::stable_sort(due.begin(), due.end(),
                     [](const Scheduled& a, const Scheduled& b) { return a.due < b.due; });
    for (Scheduled& item : due)
        item.action();
}

void HeadlessDesktop::runOnUiThread(std::function<void()> action) {
    const std::lock_guard lock(postedLock_);
    posted_.push_back(std::move(action));
}

void HeadlessDesktop::sleep(int milliseconds) {
    if (milliseconds > 0)
        now_ += milliseconds;
}

void HeadlessDesktop::beginWaitCursor() {
    ++waitCursorDepth_;
    ++waitCursorBegins_;
}

void HeadlessDesktop::endWaitCursor() {
    if (waitCursorDepth_ > 0)
        --waitCursorDepth_;
}

void HeadlessDesktop::beginKeepAwake() {
    ++keepAwakeDepth_;
    ++keepAwakeBegins_;
}

void HeadlessDesktop::endKeepAwake() {
    if (keepAwakeDepth_ > 0)
        --keepAwakeDepth_;
}

bool HeadlessDesktop::openWithShell(std::string_view target) {
    opened_.emplace_back(target);
    return canOpen_;
}

std::optional<std::string> HeadlessDesktop::browseForFolder(std::string_view title) {
    browserTitles_.emplace_back(title);
    if (folders_.empty())
        throw HeadlessScriptError("unexpected folder browser: " + std::string(title));
    auto folder = std::move(folders_.front());
    folders_.pop_front();
    return folder;
}

int HeadlessDesktop::runModal(Dialog& dialog, const DialogTemplate& dialogTemplate) {
    modalRuns_.push_back(dialogTemplate.id);
    HeadlessWindow window(*this, dialog, dialogTemplate);
    window.start();
    if (!window.isEnding()) {
        auto& scripts = windowScripts_[dialogTemplate.id];
        if (scripts.empty())
            throw HeadlessScriptError("no script for dialog " + std::to_string(dialogTemplate.id));
        WindowScript script = std::move(scripts.front());
        scripts.pop_front();
        script(window);
        if (!window.isEnding())
            throw HeadlessScriptError("dialog " + std::to_string(dialogTemplate.id) +
                                      " is still open after its script");
    }
    return window.result();
}

void HeadlessDesktop::answerNextQuestion(MessageAnswer answer) {
    answers_.push_back(answer);
}

void HeadlessDesktop::chooseNextFolder(std::optional<std::string> folder) {
    folders_.push_back(std::move(folder));
}

void HeadlessDesktop::onModal(int templateId, WindowScript script) {
    windowScripts_[templateId].push_back(std::move(script));
}

void HeadlessDesktop::at(std::int64_t milliseconds, std::function<void()> action) {
    scheduled_.push_back({milliseconds, std::move(action)});
}

void HeadlessDesktop::atNextPump(std::function<void()> action) {
    scheduled_.push_back({now_, std::move(action)});
}

std::unique_ptr<HeadlessWindow> HeadlessDesktop::open(Dialog& dialog, const DialogTemplate& dialogTemplate) {
    auto window = std::make_unique<HeadlessWindow>(*this, dialog, dialogTemplate);
    window->start();
    return window;
}

std::size_t HeadlessDesktop::unusedScripts() const {
    std::size_t unused = answers_.size() + folders_.size();
    for (const auto& [id, scripts] : windowScripts_)
        unused += scripts.size();
    return unused;
}

}  // namespace ui::headless
