#include "image/photo_preview.h"

bool PhotoPreview::choose(std::string_view path) {
    if (pictureTypeOfName(path) == PictureType::Unknown || path == lastPath_)
        return false;
    lastPath_ = path;
    return true;
}

bool PhotoPreview::load(std::string_view path) {
    picture_.destroy();
    loadedWidth_ = loadedHeight_ = 0;
    if (!picture_.load(path, pictureTypeOfName(path), ThumbnailBox{kWidth, kHeight}))
        return false;
    loadedWidth_ = picture_.ownWidth();
    loadedHeight_ = picture_.ownHeight();
    picture_.thumbnail(kWidth, kHeight, kBackground);
    return true;
}
