#include "image/picture.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <new>
#include <utility>

#include "image/codecs.h"
#include "platform/files.h"

namespace {

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size())
        return false;
    const auto tail = text.substr(text.size() - ending.size());
    for (std::size_t i = 0; i < ending.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != ending[i])
            return false;
    }
    return true;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool decodeAs(PictureType type, std::FILE* file, ThumbnailBox box, codecs::Decoded& out) {
    std::rewind(file);
    out = {};
    // The decoders catch their own libraries' failures; only our own allocations can throw here.
    try {
        switch (type) {
            case PictureType::Jpeg:
                return codecs::decodeJpeg(file, box, out);
            case PictureType::Tiff:
                return codecs::decodeTiff(file, out);
            case PictureType::Png:
                return codecs::decodePng(file, out);
            case PictureType::Bmp:
                return codecs::decodeBmp(file, out);
            case PictureType::Unknown:
                return false;
        }
    } catch (const std::bad_alloc&) {
    }
    return false;
}

PictureType detectInFile(std::FILE* file) {
    std::rewind(file);
    std::array<std::uint8_t, 12> first{};
    const auto got = std::fread(first.data(), 1, first.size(), file);
    return codecs::detectPictureType(std::span(first.data(), got));
}

}  // namespace

PictureType pictureTypeOfName(std::string_view path) {
    if (endsWithIgnoringCase(path, ".jpg") || endsWithIgnoringCase(path, ".jpeg"))
        return PictureType::Jpeg;
    if (endsWithIgnoringCase(path, ".tif") || endsWithIgnoringCase(path, ".tiff"))
        return PictureType::Tiff;
    return PictureType::Unknown;
}

namespace codecs {

PictureType detectPictureType(std::span<const std::uint8_t> b) {
    const auto startsWith = [b](std::initializer_list<std::uint8_t> signature) {
        if (b.size() < signature.size())
            return false;
        std::size_t i = 0;
        for (const auto byte : signature) {
            if (b[i++] != byte)
                return false;
        }
        return true;
    };
    if (startsWith({0xFF, 0xD8, 0xFF}))
        return PictureType::Jpeg;
    if (startsWith({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
        return PictureType::Png;
    // Classic and big TIFF, in both byte orders.
    if (startsWith({'I', 'I', 42, 0}) || startsWith({'M', 'M', 0, 42}) || startsWith({'I', 'I', 43, 0}) ||
        startsWith({'M', 'M', 0, 43}))
        return PictureType::Tiff;
    if (startsWith({'B', 'M'}) && b.size() >= 12)
        return PictureType::Bmp;
    return PictureType::Unknown;
}

Size thumbnailSize(Size own, ThumbnailBox box) {
    if (own.width <= box.width && own.height <= box.height)
        return own;
    // Exact integer arithmetic: the side that limits gets the box's full length, the other one is
    // truncated to whole pixels, but never to nothing.
    const std::int64_t w = own.width, h = own.height;
    Size fitted;
    if (w * box.height < h * box.width) {
        fitted = {static_cast<int>(w * box.height / h), box.height};
    } else {
        fitted = {box.width, static_cast<int>(h * box.width / w)};
    }
    fitted.width = std::max(fitted.width, 1);
    fitted.height = std::max(fitted.height, 1);
    return fitted;
}

}  // namespace codecs

Picture Picture::fromRgb(int width, int height, std::vector<std::uint8_t> rgb) {
    Picture picture;
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<std::size_t>(width) * height * 3)
        return picture;
    picture.width_ = picture.ownWidth_ = width;
    picture.height_ = picture.ownHeight_ = height;
    picture.pixels_ = std::move(rgb);
    return picture;
}

Picture Picture::fromPalette(int width, int height, std::vector<std::uint8_t> indices,
                             std::vector<Rgb> palette) {
    Picture picture;
    if (width <= 0 || height <= 0 || indices.size() != static_cast<std::size_t>(width) * height ||
        palette.empty() || palette.size() > 256)
        return picture;
    for (const auto index : indices) {
        if (index >= palette.size())
            return picture;
    }
    picture.width_ = picture.ownWidth_ = width;
    picture.height_ = picture.ownHeight_ = height;
    picture.pixels_ = std::move(indices);
    picture.palette_ = std::move(palette);
    return picture;
}

void Picture::destroy() {
    *this = Picture();
}

bool Picture::load(std::string_view path, PictureType type) {
    return load(path, type, ThumbnailBox{});
}

bool Picture::load(std::string_view path, PictureType type, ThumbnailBox box) {
    destroy();
    const File file(platform::openFile(path, "rb"));
    if (!file)
        return false;
    codecs::Decoded decoded;
    bool ok = type != PictureType::Unknown && decodeAs(type, file.get(), box, decoded);
    if (!ok) {
        const auto detected = detectInFile(file.get());
        ok = detected != type && decodeAs(detected, file.get(), box, decoded);
    }
    if (!ok)
        return false;
    width_ = decoded.width;
    height_ = decoded.height;
    ownWidth_ = decoded.ownWidth;
    ownHeight_ = decoded.ownHeight;
    pixels_ = std::move(decoded.rgb);
    return true;
}

int Picture::bitsPerPixel() const {
    if (!isValid())
        return 0;
    return palette_.empty() ? 24 : 8;
}

Rgb Picture::colourAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    const auto at = static_cast<std::size_t>(y) * width_ + x;
    if (!palette_.empty())
        return palette_[pixels_[at]];
    return {pixels_[at * 3], pixels_[at * 3 + 1], pixels_[at * 3 + 2]};
}
