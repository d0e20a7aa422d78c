#include "image/photo_preview.h"

#include <utility>

bool PhotoPreview::choose(std::string_view path) {
    if (pictureTypeOfName(path) == PictureType::Unknown || path == lastPath_)
        return false;
    lastPath_ = path;
    return true;
}

PreviewPicture PhotoPreview::decode(std::string_view path, std::stop_token stop) {
    PreviewPicture preview;
    preview.outcome =
        preview.picture.load(path, pictureTypeOfName(path), LoadOptions{{kWidth, kHeight}, std::move(stop)})
            .outcome;
    if (preview.outcome != LoadOutcome::Loaded)
        return preview;
    preview.width = preview.picture.ownWidth();
    preview.height = preview.picture.ownHeight();
    preview.picture.thumbnail(kWidth, kHeight, kBackground);
    return preview;
}

void PhotoPreview::clear() {
    picture_.destroy();
    loadedWidth_ = loadedHeight_ = 0;
}

void PhotoPreview::show(PreviewPicture preview) {
    clear();
    if (preview.outcome != LoadOutcome::Loaded)
        return;
    picture_ = std::move(preview.picture);
    loadedWidth_ = preview.width;
    loadedHeight_ = preview.height;
}

bool PhotoPreview::load(std::string_view path) {
    PreviewPicture preview = decode(path);
    const bool loaded = preview.outcome == LoadOutcome::Loaded;
    show(std::move(preview));
    return loaded;
}
