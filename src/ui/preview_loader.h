// Loads the main window's preview on a worker thread and hands each result back to the UI thread.
//
// A large or hostile picture takes up to about a second to decode; on a worker the window stays
// responsive meanwhile. The main window owns one loader and calls load() on the UI thread for every
// picture chosen. The worker always loads the latest choice: a load still running for an earlier one is
// stopped, and every result for an earlier choice is dropped on arrival, each load carrying its
// generation number. A result reaches `deliver` on the UI thread, through the desktop's runOnUiThread,
// only while its load is still the latest. Destroying the loader (UI thread) stops and joins the worker;
// results posted before then are dropped too.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "image/photo_preview.h"
#include "ui/controls/desktop_services.h"

class PreviewLoader {
  public:
    using Delivery = std::function<void(const std::string& path, PreviewPicture preview)>;

    // `services` must outlive the loader.
    PreviewLoader(ui::DesktopServices& services, Delivery deliver);
    ~PreviewLoader();
    PreviewLoader(const PreviewLoader&) = delete;
    PreviewLoader& operator=(const PreviewLoader&) = delete;

    // UI thread: loads `path` for the preview, in place of any earlier load, for a window of `scale`
    // device pixels per pixel (see PhotoPreview::decode).
    void load(std::string path, int scale = 1);

    // Blocks until the worker has finished the latest load and posted its result, which then waits for
    // the UI thread to dispatch events. For tests, which pump the events next.
    void waitUntilPosted();

  private:
    struct Request {
        std::string path;
        std::uint64_t generation = 0;
        int scale = 1;
    };
    // What the posted results reach: alive as long as the loader. UI thread only.
    struct Inbox {
        Delivery deliver;
        std::uint64_t latest = 0;
    };

    void work();

    ui::DesktopServices& services_;
    std::shared_ptr<Inbox> inbox_;

    std::mutex lock_;
    std::condition_variable changed_;
    // Guarded by lock_.
    std::optional<Request> next_;
    std::stop_source running_;
    std::uint64_t requested_ = 0;
    std::uint64_t posted_ = 0;
    bool quitting_ = false;

    std::thread worker_;  // last: starts when everything above is ready
};
