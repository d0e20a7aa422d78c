// The preview of the photograph last chosen in the main window's file list or order list.
//
// The main window owns one PhotoPreview and calls it on the UI thread: choose() decides whether a path
// is to be loaded at all; decode() does the loading and may run on any thread (the window runs it on a
// worker thread, so that a large or hostile picture never stops the window); show() takes its result.
// The window draws picture() inside its preview frame. Only the kWidth x kHeight result is kept.
#pragma once

#include <stop_token>
#include <string>
#include <string_view>

#include "image/picture.h"

// A loaded preview: the thumbnail on the grey canvas and the picture's own size (upright), or why the
// picture could not be shown.
struct PreviewPicture {
    LoadOutcome outcome = LoadOutcome::Unreadable;
    Picture picture;
    int width = 0;
    int height = 0;
    // Device pixels per pixel of the window the thumbnail was made for: it is kWidth x kHeight times this.
    int scale = 1;
};

class PhotoPreview {
  public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;
    static constexpr Rgb kBackground{176, 176, 176};

    // Whether `path` is to be loaded now: not when its name is no picture (a folder, a .png) or when it
    // equals the last previewed path. Otherwise it becomes the last previewed path before any loading,
    // so a picture that failed to load is not tried again until another one was chosen in between.
    bool choose(std::string_view path);

    // Loads `path` as the picture type of its name and makes its thumbnail, `scale` times kWidth x
    // kHeight for a screen of that many device pixels per pixel (1 to 4). Any thread; stopping `stop`
    // withdraws the load, which then ends soon as Cancelled.
    static PreviewPicture decode(std::string_view path, std::stop_token stop = {}, int scale = 1);

    // Empties the preview.
    void clear();
    // Shows a decoded preview: the thumbnail and the size when it loaded; otherwise the preview is empty.
    void show(PreviewPicture preview);
    // decode() and show() on the calling thread; true when the picture loaded.
    bool load(std::string_view path);

    const Picture& picture() const { return picture_; }
    // The scale the picture was made for (see PreviewPicture::scale).
    int scale() const { return scale_; }
    int loadedWidth() const { return loadedWidth_; }
    int loadedHeight() const { return loadedHeight_; }
    const std::string& lastPath() const { return lastPath_; }

  private:
    Picture picture_;
    int loadedWidth_ = 0;
    int loadedHeight_ = 0;
    int scale_ = 1;
    std::string lastPath_;
};
