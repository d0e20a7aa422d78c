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

codecs::Outcome decodeAs(PictureType type, std::FILE* file, codecs::RowCollector& rows) {
    std::rewind(file);
    // The decoders catch their own libraries' failures; only our own allocations can throw here.
    try {
        switch (type) {
            case PictureType::Jpeg:
                return codecs::decodeJpeg(file, rows);
            case PictureType::Tiff:
                return codecs::decodeTiff(file, rows);
            case PictureType::Png:
                return codecs::decodePng(file, rows);
            case PictureType::Bmp:
                return codecs::decodeBmp(file, rows);
            case PictureType::Unknown:
                break;
        }
    } catch (const std::bad_alloc&) {
        return codecs::Outcome::TooDemanding;
    }
    return codecs::Outcome::Damaged;
}

LoadOutcome loadOutcomeOf(codecs::Outcome outcome) {
    switch (outcome) {
        case codecs::Outcome::Decoded:
            return LoadOutcome::Loaded;
        case codecs::Outcome::Damaged:
            return LoadOutcome::Damaged;
        case codecs::Outcome::TooDemanding:
            return LoadOutcome::TooDemanding;
        case codecs::Outcome::Cancelled:
            return LoadOutcome::Cancelled;
    }
    return LoadOutcome::Damaged;
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
    return load(path, type, LoadOptions{}).outcome == LoadOutcome::Loaded;
}

bool Picture::load(std::string_view path, PictureType type, ThumbnailBox box) {
    return load(path, type, LoadOptions{box, {}}).outcome == LoadOutcome::Loaded;
}

LoadReport Picture::load(std::string_view path, PictureType /*type*/, const LoadOptions& options) {
    destroy();
    LoadReport report;
    const File file(platform::openFile(path, "rb"));
    if (!file)
        return report;
    // Every decoder needs its format's signature at the start of the file, so the codec that the name
    // suggests could only succeed where detection finds the same format: the content decides alone.
    const PictureType found = detectInFile(file.get());
    if (found == PictureType::Unknown) {
        report.outcome = std::ferror(file.get()) ? LoadOutcome::Unreadable : LoadOutcome::NotAPicture;
        return report;
    }
    codecs::WorkBudget budget(codecs::workLimit(found), options.stop);
    codecs::RowCollector rows(options.box, budget);
    codecs::Outcome outcome = decodeAs(found, file.get(), rows);
    if (outcome == codecs::Outcome::Decoded && !rows.complete())
        outcome = codecs::Outcome::Damaged;
    report.outcome = loadOutcomeOf(outcome);
    report.work = budget.spent();
    report.workLimit = budget.limit();
    if (outcome != codecs::Outcome::Decoded)
        return report;
    codecs::Decoded decoded = rows.finish();
    width_ = decoded.width;
    height_ = decoded.height;
    ownWidth_ = decoded.ownWidth;
    ownHeight_ = decoded.ownHeight;
    pixels_ = std::move(decoded.rgb);
    return report;
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
