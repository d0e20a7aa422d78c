#include "ui/preview_loader.h"

#include <utility>

PreviewLoader::PreviewLoader(ui::DesktopServices& services, Delivery deliver)
    : services_(services),
      inbox_(std::make_shared<Inbox>(Inbox{std::move(deliver), 0})),
      worker_([this] { work(); }) {}

PreviewLoader::~PreviewLoader() {
    {
        const std::lock_guard guard(lock_);
        quitting_ = true;
        running_.request_stop();
    }
    changed_.notify_all();
    worker_.join();
}

void PreviewLoader::load(std::string path, int scale) {
    const std::uint64_t generation = ++inbox_->latest;
    {
        const std::lock_guard guard(lock_);
        next_ = Request{std::move(path), generation, scale};
        requested_ = generation;
        running_.request_stop();
    }
    changed_.notify_all();
}

void PreviewLoader::waitUntilPosted() {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [this] { return posted_ == requested_; });
}

void PreviewLoader::work() {
    for (;;) {
        Request request;
        std::stop_token stop;
        {
            std::unique_lock guard(lock_);
            changed_.wait(guard, [this] { return quitting_ || next_.has_value(); });
            if (quitting_)
                return;
            request = std::move(*next_);
            next_.reset();
            running_ = std::stop_source();
            stop = running_.get_token();
        }
        PreviewPicture preview = PhotoPreview::decode(request.path, stop, request.scale);
        services_.runOnUiThread(
            [inbox = std::weak_ptr(inbox_), request, preview = std::move(preview)]() mutable {
                const auto reached = inbox.lock();
                if (reached && request.generation == reached->latest)
                    reached->deliver(request.path, std::move(preview));
            });
        {
            const std::lock_guard guard(lock_);
            posted_ = request.generation;
        }
        changed_.notify_all();
    }
}
