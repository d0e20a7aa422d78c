// Windows bitmaps: uncompressed 1-, 4-, 8-bit palette pictures and 16-, 24-, 32-bit colour, with or
// without colour masks. Run-length compressed bitmaps are refused.
#include <array>
#include <cstdio>
#include <vector>

#include "image/codecs.h"

namespace codecs {
namespace {

std::uint32_t little32(const std::uint8_t* p) {
    return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}
std::uint16_t little16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kColourMasks = 3;

// One colour channel of a 16- or 32-bit pixel, stretched to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t maximum = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (mask == 0)
            return;
        while (((mask >> shift) & 1) == 0)
            ++shift;
        maximum = mask >> shift;
    }
    std::uint8_t of(std::uint32_t pixel) const {
        if (maximum == 0)
            return 0;
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
    }
};

bool readAt(std::FILE* file, long offset, std::uint8_t* data, std::size_t size) {
    return std::fseek(file, offset, SEEK_SET) == 0 && std::fread(data, 1, size, file) == size;
}

}  // namespace

Outcome decodeBmp(std::FILE* file, RowCollector& rows) {
    std::array<std::uint8_t, 14 + 124> header{};
    const std::size_t got = std::fread(header.data(), 1, header.size(), file);
    if (got < 14 + 12 || header[0] != 'B' || header[1] != 'M')
        return Outcome::Damaged;
    const std::uint32_t dataOffset = little32(&header[10]);
    const std::uint32_t infoSize = little32(&header[14]);
    if (infoSize < 12 || 14 + std::size_t{infoSize} > got)
        return Outcome::Damaged;
    const std::uint8_t* info = &header[14];

    std::int64_t width = 0;
    std::int64_t height = 0;
    unsigned bits = 0;
    std::uint32_t compression = kUncompressed;
    std::uint32_t coloursUsed = 0;
    unsigned paletteEntrySize = 4;
    if (infoSize == 12) {  // the old core header
        width = little16(info + 4);
        height = little16(info + 6);
        bits = little16(info + 10);
        paletteEntrySize = 3;
    } else {
        if (infoSize < 40)
            return Outcome::Damaged;
        width = static_cast<std::int32_t>(little32(info + 4));
        height = static_cast<std::int32_t>(little32(info + 8));
        bits = little16(info + 14);
        compression = little32(info + 16);
        coloursUsed = little32(info + 32);
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height == 0)
        return Outcome::Damaged;
    if (!withinPixelLimit(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height)))
        return Outcome::TooDemanding;
    const bool palette = bits == 1 || bits == 4 || bits == 8;
    if (!palette && bits != 16 && bits != 24 && bits != 32)
        return Outcome::Damaged;
    if (compression != kUncompressed && !(compression == kColourMasks && (bits == 16 || bits == 32)))
        return Outcome::Damaged;

    Channel red(bits == 16 ? 0x7C00 : 0xFF0000);
    Channel green(bits == 16 ? 0x03E0 : 0x00FF00);
    Channel blue(bits == 16 ? 0x001F : 0x0000FF);
    if (compression == kColourMasks) {
        // The masks follow a plain 40-byte header and are part of the longer ones.
        std::array<std::uint8_t, 12> masks{};
        if (!readAt(file, 14 + 40, masks.data(), masks.size()))
            return Outcome::Damaged;
        red = Channel(little32(&masks[0]));
        green = Channel(little32(&masks[4]));
        blue = Channel(little32(&masks[8]));
    }

    std::vector<Rgb> colours;
    if (palette) {
        const std::uint32_t count = coloursUsed ? coloursUsed : 1u << bits;
        if (count > 256)
            return Outcome::Damaged;
        const long paletteAt = 14 + static_cast<long>(infoSize) + (compression == kColourMasks ? 12 : 0);
        std::vector<std::uint8_t> entries(std::size_t{count} * paletteEntrySize);
        if (!readAt(file, paletteAt, entries.data(), entries.size()))
            return Outcome::Damaged;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* e = &entries[std::size_t{i} * paletteEntrySize];
            colours.push_back({e[2], e[1], e[0]});
        }
        colours.resize(256, Rgb{});  // stray indices show black rather than read past the palette
    }

    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    const std::size_t stride = (w * bits + 31) / 32 * 4;
    if (!rows.budget().allows(rowWork(stride, w, h)))
        return Outcome::TooDemanding;
    // Rows stored bottom-up are the picture mirrored top to bottom.
    const int orientation = topDown ? 1 : 4;
    const Outcome begun = rows.begin({static_cast<int>(w), static_cast<int>(h)},
                                     {static_cast<int>(w), static_cast<int>(h)}, orientation);
    if (begun != Outcome::Decoded)
        return begun;
    std::vector<std::uint8_t> row(stride);
    if (std::fseek(file, static_cast<long>(dataOffset), SEEK_SET) != 0)
        return Outcome::Damaged;
    for (std::size_t line = 0; line < h; ++line) {
        if (!rows.budget().spend(rowWork(stride, w, 1)))
            return rows.budget().refusal();
        if (std::fread(row.data(), 1, stride, file) != stride)
            return Outcome::Damaged;
        std::uint8_t* target = rows.rowBuffer();
        for (std::size_t x = 0; x < w; ++x, target += 3) {
            Rgb colour;
            if (palette) {
                const std::size_t bit = x * bits;
                const unsigned byte = row[bit / 8];
                const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                colour = colours[index];
            } else if (bits == 24) {
                colour = {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
            } else {
                const std::uint32_t pixel = bits == 16 ? little16(&row[x * 2]) : little32(&row[x * 4]);
                colour = {red.of(pixel), green.of(pixel), blue.of(pixel)};
            }
            target[0] = colour.red;
            target[1] = colour.green;
            target[2] = colour.blue;
        }
        rows.commitRow();
    }
    return Outcome::Decoded;
}

}  // namespace codecs
