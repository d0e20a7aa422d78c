// Picture::thumbnail: scaling into a box and centring on a canvas.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "image/area_reduction.h"
#include "image/codecs.h"
#include "image/picture.h"

namespace {

using codecs::Size;

// Scales RGB rows of `from` down to `to` (not larger in either direction) by area averaging.
std::vector<std::uint8_t> averageAreas(const std::uint8_t* rgb, Size from, Size to) {
    area_reduction::AreaReducer reducer({from.width, to.width}, {from.height, to.height});
    for (int y = 0; y < from.height; ++y)
        reducer.addRow(rgb + static_cast<std::size_t>(y) * from.width * 3);
    return reducer.take();
}

// Bilinear interpolation along one axis in 1/256 steps: the centre of destination pixel d maps onto
// the source, between pixels `low` and `high`.
struct Between {
    int low = 0;
    int high = 0;
    int towardsHigh = 0;  // 0..256
};

std::vector<Between> betweens(int src, int dst) {
    std::vector<Between> result(dst);
    for (int d = 0; d < dst; ++d) {
        // Source position in 1/256 pixel: (d + 0.5) * src / dst - 0.5.
        std::int64_t position = ((2 * std::int64_t{d} + 1) * src * 256) / (2 * std::int64_t{dst}) - 128;
        position = std::clamp<std::int64_t>(position, 0, std::int64_t{src - 1} * 256);
        auto& b = result[d];
        b.low = static_cast<int>(position / 256);
        b.high = std::min(b.low + 1, src - 1);
        b.towardsHigh = static_cast<int>(position % 256);
    }
    return result;
}

std::vector<std::uint8_t> interpolate(const std::uint8_t* rgb, Size from, Size to) {
    const auto across = betweens(from.width, to.width);
    const auto down = betweens(from.height, to.height);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(to.width) * to.height * 3);
    std::uint8_t* target = out.data();
    for (int y = 0; y < to.height; ++y) {
        const auto& v = down[y];
        const std::uint8_t* top = rgb + static_cast<std::size_t>(v.low) * from.width * 3;
        const std::uint8_t* bottom = rgb + static_cast<std::size_t>(v.high) * from.width * 3;
        for (int x = 0; x < to.width; ++x) {
            const auto& h = across[x];
            for (int c = 0; c < 3; ++c) {
                const int upper =
                    top[h.low * 3 + c] * (256 - h.towardsHigh) + top[h.high * 3 + c] * h.towardsHigh;
                const int lower =
                    bottom[h.low * 3 + c] * (256 - h.towardsHigh) + bottom[h.high * 3 + c] * h.towardsHigh;
                const int value = upper * (256 - v.towardsHigh) + lower * v.towardsHigh;
                *target++ = static_cast<std::uint8_t>((value + 32768) >> 16);
            }
        }
    }
    return out;
}

}  // namespace

void Picture::thumbnail(int boxWidth, int boxHeight, Rgb background) {
    if (!isValid() || boxWidth <= 0 || boxHeight <= 0)
        return;
    const Size held{width_, height_};
    const Size own{ownWidth_, ownHeight_};
    const Size box{boxWidth, boxHeight};
    const Size fitted = codecs::thumbnailSize(own, ThumbnailBox{boxWidth, boxHeight});
    // A picture fitted once keeps its size; fitting it again changes nothing.
    if (palette_.empty() && held == box && own == box && fitted == box)
        return;

    // Palette pictures are scaled through their colours; transparent pixels show the background.
    std::vector<std::uint8_t> expanded;
    const std::uint8_t* rgb = pixels_.data();
    if (!palette_.empty()) {
        expanded.resize(static_cast<std::size_t>(width_) * height_ * 3);
        for (std::size_t i = 0; i < pixels_.size(); ++i) {
            const Rgb colour = pixels_[i] == transparentIndex_ ? background : palette_[pixels_[i]];
            expanded[i * 3] = colour.red;
            expanded[i * 3 + 1] = colour.green;
            expanded[i * 3 + 2] = colour.blue;
        }
        rgb = expanded.data();
    }

    std::vector<std::uint8_t> scaled;
    const bool shrinksBothWays = fitted.width < own.width && fitted.height < own.height;
    if (fitted == held) {
        scaled.assign(rgb, rgb + held.width * std::size_t{3} * held.height);
    } else if (palette_.empty() && shrinksBothWays && held.width >= fitted.width &&
               held.height >= fitted.height) {
        scaled = averageAreas(rgb, held, fitted);
    } else {
        scaled = interpolate(rgb, held, fitted);
    }

    std::vector<std::uint8_t> canvas(static_cast<std::size_t>(boxWidth) * boxHeight * 3);
    for (std::size_t i = 0; i < canvas.size(); i += 3) {
        canvas[i] = background.red;
        canvas[i + 1] = background.green;
        canvas[i + 2] = background.blue;
    }
    const int left = (boxWidth - fitted.width) / 2;
    const int top = (boxHeight - fitted.height) / 2;
    for (int y = 0; y < fitted.height; ++y) {
        std::copy_n(scaled.begin() + static_cast<std::ptrdiff_t>(y) * fitted.width * 3, fitted.width * 3,
                    canvas.begin() + (static_cast<std::ptrdiff_t>(top + y) * boxWidth + left) * 3);
    }

    width_ = ownWidth_ = boxWidth;
    height_ = ownHeight_ = boxHeight;
    pixels_ = std::move(canvas);
    palette_.clear();
    transparentIndex_ = -1;
}
