#include "image/orientation.h"

#include <cstddef>
#include <string_view>
#include <utility>

namespace orientation {

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;
constexpr std::size_t kEntrySize = 12;

// Reads the integers of a TIFF structure in its byte order, refusing to read past its end.
class TiffBytes {
  public:
    TiffBytes(std::span<const std::uint8_t> bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}
    bool has(std::size_t offset, std::size_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    std::uint32_t get(std::size_t offset, std::size_t size) const {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const std::uint32_t byte = bytes_[offset + (bigEndian_ ? i : size - 1 - i)];
            value = value << 8 | byte;
        }
        return value;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    bool bigEndian_;
};

}  // namespace

int valid(long value) {
    return value >= 1 && value <= 8 ? static_cast<int>(value) : kUpright;
}

int fromExif(std::span<const std::uint8_t> app1) {
    constexpr std::string_view kExif("Exif\0\0", 6);
    if (app1.size() < kExif.size() + 8 ||
        std::string_view(reinterpret_cast<const char*>(app1.data()), kExif.size()) != kExif)
        return kUpright;
    const auto tiff = app1.subspan(kExif.size());
    bool bigEndian = false;
    if (tiff[0] == 'M' && tiff[1] == 'M')
        bigEndian = true;
    else if (tiff[0] != 'I' || tiff[1] != 'I')
        return kUpright;
    const TiffBytes bytes(tiff, bigEndian);
    if (bytes.get(2, 2) != 42)
        return kUpright;
    // The first directory, which describes the picture itself.
    const std::size_t directory = bytes.get(4, 4);
    if (!bytes.has(directory, 2))
        return kUpright;
    const std::size_t entries = bytes.get(directory, 2);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + i * kEntrySize;
        if (!bytes.has(entry, kEntrySize))
            break;
        if (bytes.get(entry, 2) != kOrientationTag)
            continue;
        const std::uint32_t type = bytes.get(entry + 2, 2);
        if (bytes.get(entry + 4, 4) != 1 || (type != kShort && type != kLong))
            return kUpright;
        return valid(static_cast<long>(bytes.get(entry + 8, type == kShort ? 2 : 4)));
    }
    return kUpright;
}

std::vector<std::uint8_t> turnUpright(std::vector<std::uint8_t> rgb, int& width, int& height,
                                      int orientation) {
    if (orientation == kUpright || width <= 0 || height <= 0)
        return rgb;
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    const bool swaps = swapsSides(orientation);
    const std::size_t uprightWidth = swaps ? h : w;
    std::vector<std::uint8_t> upright(rgb.size());
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint8_t* from = rgb.data() + y * w * 3;
        for (std::size_t x = 0; x < w; ++x, from += 3) {
            // Where the stored pixel x, y stands in the upright picture.
            std::size_t ux = x, uy = y;
            switch (orientation) {
                case 2:
                    ux = w - 1 - x;
                    break;
                case 3:
                    ux = w - 1 - x;
                    uy = h - 1 - y;
                    break;
                case 4:
                    uy = h - 1 - y;
                    break;
                case 5:
                    ux = y;
                    uy = x;
                    break;
                case 6:
                    ux = h - 1 - y;
                    uy = x;
                    break;
                case 7:
                    ux = h - 1 - y;
                    uy = w - 1 - x;
                    break;
                case 8:
                    ux = y;
                    uy = w - 1 - x;
                    break;
                default:
                    break;
            }
            std::uint8_t* to = upright.data() + (uy * uprightWidth + ux) * 3;
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    if (swaps)
        std::swap(width, height);
    return upright;
}

}  // namespace orientation
