#include "image/photo_preview.h"

#include <algorithm>
#include <utility>

bool PhotoPreview::choose(std::string_view path) {
    if (pictureTypeOfName(path) == PictureType::Unknown || path == lastPath_)
        return false;
    lastPath_ = path;
    return true;
}

PreviewPicture PhotoPreview::decode(std::string_view path, std::stop_token stop, int scale) {
    PreviewPicture preview;
    preview.scale = std::clamp(scale, 1, 4);
    const int width = kWidth * preview.scale;
    const int height = kHeight * preview.scale;
    preview.outcome =
        preview.picture.load(path, pictureTypeOfName(path), LoadOptions{{width, height}, std::move(stop)})
            .outcome;
    if (preview.outcome != LoadOutcome::Loaded)
        return preview;
    preview.width = preview.picture.ownWidth();
    preview.height = preview.picture.ownHeight();
    preview.picture.thumbnail(width, height, kBackground);
    return preview;
}

void PhotoPreview::clear() {
    picture_.destroy();
    loadedWidth_ = loadedHeight_ = 0;
    scale_ = 1;
}

void PhotoPreview::show(PreviewPicture preview) {
    clear();
    if (preview.outcome != LoadOutcome::Loaded)
        return;
    picture_ = std::move(preview.picture);
    loadedWidth_ = preview.width;
    loadedHeight_ = preview.height;
    scale_ = preview.scale;
}

bool PhotoPreview::load(std::string_view path) {
    PreviewPicture preview = decode(path);
    const bool loaded = preview.outcome == LoadOutcome::Loaded;
    show(std::move(preview));
    return loaded;
}
