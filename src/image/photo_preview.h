// The preview of the photograph last chosen in the main window's file list or order list.
//
// The main window owns one PhotoPreview and calls it on the UI thread: choose() decides whether a
// path is to be loaded at all, load() loads it; the window shows the wait cursor and the status texts
// around them and draws picture() inside its preview frame. Only the kWidth x kHeight result is kept.
#pragma once

#include <string>
#include <string_view>

#include "image/picture.h"

class PhotoPreview {
  public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;
    static constexpr Rgb kBackground{176, 176, 176};

    // Whether `path` is to be loaded now: not when its name is no picture (a folder, a .png) or when it
    // equals the last previewed path. Otherwise it becomes the last previewed path before any loading,
    // so a picture that failed to load is not tried again until another one was chosen in between.
    bool choose(std::string_view path);

    // Empties the preview and loads `path` as the picture type of its name; on success the preview
    // holds the thumbnail on the grey canvas and loadedWidth/Height the picture's own size. On failure
    // the preview stays empty.
    bool load(std::string_view path);

    const Picture& picture() const { return picture_; }
    int loadedWidth() const { return loadedWidth_; }
    int loadedHeight() const { return loadedHeight_; }
    const std::string& lastPath() const { return lastPath_; }

  private:
    Picture picture_;
    int loadedWidth_ = 0;
    int loadedHeight_ = 0;
    std::string lastPath_;
};
