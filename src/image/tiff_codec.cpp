// TIFF through libtiff. Only the first page of a multi-page file is read. Errors and warnings go to
// handlers of this file only and are not printed.
//
// The kinds that photographs come in (grey, RGB, palette, CMYK; 8 and 16 bits per sample; JPEG-
// compressed YCbCr; any compression) are read one row at a time, so a file stored in one huge strip
// needs one row of pixels in memory, not the whole picture. Every other kind (tiles, separate colour
// planes, subsampled YCbCr, ...) goes through libtiff's RGBA interface one band of strips or tiles at a
// time. The work is counted in bytes of decoded samples and of the RGB made of them.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <tiffio.h>

#include "image/codecs.h"
#include "image/orientation.h"

namespace codecs {
namespace {

// libtiff reads the file from memory, as it would from a mapped file: its own reading of
// uncompressed tiles without a mapping is unreliable, and one read of the file is quicker anyway.
struct MemoryFile {
    std::vector<std::uint8_t> bytes;
    std::uint64_t position = 0;
};

Outcome readWhole(std::FILE* file, std::vector<std::uint8_t>& bytes) {
    // The size, where the platform tells it, settles the matter before anything is read.
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && static_cast<std::uint64_t>(size) > kMaxTiffFileBytes)
            return Outcome::TooDemanding;
        if (size > 0)
            bytes.reserve(static_cast<std::size_t>(size));
    }
    std::rewind(file);
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (bytes.size() + got > kMaxTiffFileBytes)
            return Outcome::TooDemanding;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return std::ferror(file) ? Outcome::Damaged : Outcome::Decoded;
}

MemoryFile& memoryOf(thandle_t handle) {
    return *static_cast<MemoryFile*>(handle);
}

tmsize_t readMemory(thandle_t handle, void* buffer, tmsize_t size) {
    auto& file = memoryOf(handle);
    if (size <= 0 || file.position >= file.bytes.size())
        return 0;
    const auto count =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(size), file.bytes.size() - file.position);
    std::memcpy(buffer, file.bytes.data() + file.position, count);
    file.position += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) {
    return 0;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
    auto& file = memoryOf(handle);
    std::uint64_t base = 0;
    if (whence == SEEK_CUR)
        base = file.position;
    else if (whence == SEEK_END)
        base = file.bytes.size();
    // Offsets are unsigned; a step back from the current position or the end wraps around.
    file.position = base + offset;
    return file.position;
}

// The memory belongs to decodeTiff.
int keepOpen(thandle_t) {
    return 0;
}

toff_t sizeOfMemory(thandle_t handle) {
    return memoryOf(handle).bytes.size();
}

int mapMemory(thandle_t handle, void** base, toff_t* size) {
    auto& file = memoryOf(handle);
    *base = file.bytes.data();
    *size = file.bytes.size();
    return 1;
}

void keepMapped(thandle_t, void*, toff_t) {}

int stayQuiet(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};
struct RgbaImageEnd {
    void operator()(TIFFRGBAImage* image) const { TIFFRGBAImageEnd(image); }
};

using Tiff = std::unique_ptr<TIFF, TiffCloser>;

Tiff openTiff(MemoryFile& file) {
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), static_cast<tmsize_t>(kMaxLibraryMemory));
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), stayQuiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), stayQuiet, nullptr);
    return Tiff(TIFFClientOpenExt("picture", "r", &file, readMemory, refuseWrite, seekMemory, keepOpen,
                                  sizeOfMemory, mapMemory, keepMapped, options.get()));
}

// --- Row by row

enum class Colour { Grey, WhiteIsZero, Rgb, Palette, Cmyk };

struct RowLayout {
    Colour colour = Colour::Rgb;
    unsigned bits = 8;     // per sample
    unsigned samples = 3;  // per pixel, extra samples included
    int alpha = -1;        // the sample that is alpha; -1 for none
    bool premultiplied = false;
    std::vector<Rgb> palette;  // Palette only
};

unsigned colourSamples(Colour colour) {
    switch (colour) {
        case Colour::Rgb:
            return 3;
        case Colour::Cmyk:
            return 4;
        default:
            return 1;
    }
}

std::uint8_t from16(unsigned value) {
    return static_cast<std::uint8_t>((value * 255 + 32767) / 65535);
}

// Palettes hold 16-bit values; some writers put 8-bit ones there, which then are all below 256.
bool readPalette(TIFF* tiff, unsigned bits, std::vector<Rgb>& palette) {
    std::uint16_t* red = nullptr;
    std::uint16_t* green = nullptr;
    std::uint16_t* blue = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue))
        return false;
    const std::size_t count = std::size_t{1} << bits;
    bool eightBit = true;
    for (std::size_t i = 0; i < count; ++i)
        eightBit = eightBit && red[i] < 256 && green[i] < 256 && blue[i] < 256;
    const auto level = [eightBit](std::uint16_t v) {
        return static_cast<std::uint8_t>(eightBit ? v : v * 255L / 65535);
    };
    palette.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        palette[i] = {level(red[i]), level(green[i]), level(blue[i])};
    return true;
}

// Whether the first page can be read row by row, and how its rows are laid out.
bool rowLayoutOf(TIFF* tiff, RowLayout& layout) {
    std::uint16_t planar = 0, bits = 0, samples = 0, format = 0, photometric = 0, compression = 0;
    if (TIFFIsTiled(tiff) || !TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar) ||
        planar != PLANARCONFIG_CONTIG || !TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits) ||
        !TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples) ||
        !TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format) || format != SAMPLEFORMAT_UINT ||
        !TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) ||
        !TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression))
        return false;
    switch (photometric) {
        case PHOTOMETRIC_MINISBLACK:
            layout.colour = Colour::Grey;
            break;
        case PHOTOMETRIC_MINISWHITE:
            layout.colour = Colour::WhiteIsZero;
            break;
        case PHOTOMETRIC_RGB:
            layout.colour = Colour::Rgb;
            break;
        case PHOTOMETRIC_PALETTE:
            layout.colour = Colour::Palette;
            break;
        case PHOTOMETRIC_SEPARATED: {
            std::uint16_t inks = 0;
            if (!TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inks) || inks != INKSET_CMYK)
                return false;
            layout.colour = Colour::Cmyk;
            break;
        }
        case PHOTOMETRIC_YCBCR:
            // The JPEG codec converts its YCbCr to RGB itself; other YCbCr goes the RGBA way.
            if (compression != COMPRESSION_JPEG || bits != 8 ||
                !TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB))
                return false;
            layout.colour = Colour::Rgb;
            break;
        default:
            return false;
    }
    const bool bitsFit = layout.colour == Colour::Grey || layout.colour == Colour::WhiteIsZero
                             ? (bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16)
                         : layout.colour == Colour::Palette
                             ? (bits == 1 || bits == 2 || bits == 4 || bits == 8)
                             : (bits == 8 || bits == 16);
    if (!bitsFit || samples < colourSamples(layout.colour))
        return false;
    layout.bits = bits;
    layout.samples = samples;
    if (layout.colour == Colour::Palette && (samples != 1 || !readPalette(tiff, bits, layout.palette)))
        return false;
    std::uint16_t extras = 0;
    std::uint16_t* kinds = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extras, &kinds) && extras > 0 &&
        samples == colourSamples(layout.colour) + extras && layout.colour != Colour::Cmyk &&
        (kinds[0] == EXTRASAMPLE_ASSOCALPHA || kinds[0] == EXTRASAMPLE_UNASSALPHA)) {
        layout.alpha = static_cast<int>(colourSamples(layout.colour));
        layout.premultiplied = kinds[0] == EXTRASAMPLE_ASSOCALPHA;
    }
    return true;
}

// The samples of a row as bytes: 8-bit samples as they are, 16-bit ones scaled to 0..255, fewer bits
// unpacked (grey levels stretched to 0..255, palette indices as they are).
const std::uint8_t* samplesAsBytes(const std::uint8_t* row, const RowLayout& layout, std::uint32_t width,
                                   std::vector<std::uint8_t>& bytes) {
    if (layout.bits == 8)
        return row;
    const std::size_t count = std::size_t{width} * layout.samples;
    bytes.resize(count);
    if (layout.bits == 16) {
        for (std::size_t i = 0; i < count; ++i) {
            std::uint16_t value = 0;
            std::memcpy(&value, row + i * 2, 2);  // libtiff has put it into this machine's order
            bytes[i] = from16(value);
        }
        return bytes.data();
    }
    const unsigned most = (1u << layout.bits) - 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t bit = i * layout.bits;
        const unsigned value = (row[bit / 8] >> (8 - layout.bits - bit % 8)) & most;
        bytes[i] = static_cast<std::uint8_t>(layout.colour == Colour::Palette ? value : value * 255 / most);
    }
    return bytes.data();
}

void rowToRgb(const std::uint8_t* row, const RowLayout& layout, std::uint32_t width, std::uint8_t* rgb,
              std::vector<std::uint8_t>& scratch) {
    const std::uint8_t* p = samplesAsBytes(row, layout, width, scratch);
    const unsigned step = layout.samples;
    std::uint8_t* out = rgb;
    switch (layout.colour) {
        case Colour::Grey:
        case Colour::WhiteIsZero: {
            const unsigned flip = layout.colour == Colour::WhiteIsZero ? 255 : 0;
            for (std::uint32_t x = 0; x < width; ++x, p += step, out += 3)
                out[0] = out[1] = out[2] = static_cast<std::uint8_t>(p[0] ^ flip);
            break;
        }
        case Colour::Rgb:
            for (std::uint32_t x = 0; x < width; ++x, p += step, out += 3) {
                out[0] = p[0];
                out[1] = p[1];
                out[2] = p[2];
            }
            break;
        case Colour::Palette:
            for (std::uint32_t x = 0; x < width; ++x, p += step, out += 3) {
                const Rgb colour = layout.palette[p[0]];
                out[0] = colour.red;
                out[1] = colour.green;
                out[2] = colour.blue;
            }
            break;
        case Colour::Cmyk:
            // As libtiff's RGBA interface converts it: no colour management, ink takes away light.
            for (std::uint32_t x = 0; x < width; ++x, p += step, out += 3) {
                const unsigned k = 255u - p[3];
                for (int c = 0; c < 3; ++c)
                    out[c] = static_cast<std::uint8_t>(k * (255u - p[c]) / 255);
            }
            break;
    }
    if (layout.alpha < 0)
        return;
    // Over white, as a photograph printed on paper would show it.
    p = samplesAsBytes(row, layout, width, scratch) + layout.alpha;
    out = rgb;
    for (std::uint32_t x = 0; x < width; ++x, p += step, out += 3) {
        const unsigned a = p[0];
        for (int c = 0; c < 3; ++c) {
            const unsigned v = out[c];
            out[c] = static_cast<std::uint8_t>(layout.premultiplied ? std::min(255u, v + 255 - a)
                                                                    : (v * a + 255 * (255 - a) + 127) / 255);
        }
    }
}

Outcome readRows(TIFF* tiff, const RowLayout& layout, std::uint32_t width, std::uint32_t height,
                 int orientation, RowCollector& rows) {
    const std::uint64_t rowBytes = (std::uint64_t{width} * layout.samples * layout.bits + 7) / 8;
    const tmsize_t scanline = TIFFScanlineSize(tiff);
    if (scanline <= 0 || static_cast<std::uint64_t>(scanline) != rowBytes)
        return Outcome::Damaged;
    // Up to four 16-bit samples per pixel of the widest row accepted.
    if (rowBytes > kMaxRowPixels * 8 || !rows.budget().allows(rowWork(rowBytes, width, height)))
        return Outcome::TooDemanding;
    const Outcome begun = rows.begin({static_cast<int>(width), static_cast<int>(height)},
                                     {static_cast<int>(width), static_cast<int>(height)}, orientation);
    if (begun != Outcome::Decoded)
        return begun;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes));
    std::vector<std::uint8_t> scratch;
    for (std::uint32_t y = 0; y < height; ++y) {
        if (!rows.budget().spend(rowWork(rowBytes, width, 1)))
            return rows.budget().refusal();
        if (TIFFReadScanline(tiff, row.data(), y, 0) < 0)
            return Outcome::Damaged;
        rowToRgb(row.data(), layout, width, rows.rowBuffer(), scratch);
        rows.commitRow();
    }
    return Outcome::Decoded;
}

// --- Through the RGBA interface

// libtiff's packed ABGR over white: premultiplied colour plus the white that shows through.
void rgbaRowToRgb(const std::uint32_t* rgba, std::uint8_t* rgb, std::uint32_t width) {
    for (std::uint32_t x = 0; x < width; ++x, rgb += 3) {
        const std::uint32_t pixel = rgba[x];
        const unsigned see = 255 - TIFFGetA(pixel);
        rgb[0] = static_cast<std::uint8_t>(std::min(255u, TIFFGetR(pixel) + see));
        rgb[1] = static_cast<std::uint8_t>(std::min(255u, TIFFGetG(pixel) + see));
        rgb[2] = static_cast<std::uint8_t>(std::min(255u, TIFFGetB(pixel) + see));
    }
}

Outcome readThroughRgba(TIFF* tiff, std::uint32_t width, std::uint32_t height, int orientation,
                        RowCollector& rows) {
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tiff, message))
        return Outcome::Damaged;
    // What libtiff holds for one strip or tile, decoded, and the bands of whole strips or tiles read.
    const bool tiled = TIFFIsTiled(tiff);
    const std::uint64_t unitBytes = tiled ? TIFFTileSize64(tiff) : TIFFStripSize64(tiff);
    std::uint32_t band = 0;
    if (!(tiled ? TIFFGetField(tiff, TIFFTAG_TILELENGTH, &band)
                : TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &band)))
        return Outcome::Damaged;
    band = std::clamp<std::uint32_t>(band, 1, height);
    // Very short strips would mean many calls; take several of them at once.
    while (band < 64 && band < height)
        band = std::min(band * 2, height);
    const std::uint64_t bandBytes = std::uint64_t{width} * band * 4;
    if (unitBytes == 0 || unitBytes > kMaxLibraryMemory || bandBytes > kMaxLibraryMemory)
        return Outcome::TooDemanding;
    if (!rows.budget().allows(rowWork(std::uint64_t{width} * 4, width, height)))
        return Outcome::TooDemanding;

    TIFFRGBAImage image{};
    if (!TIFFRGBAImageBegin(&image, tiff, 0, message))
        return Outcome::Damaged;
    const std::unique_ptr<TIFFRGBAImage, RgbaImageEnd> ending(&image);
    // The rows as stored: the orientation is applied afterwards, like that of every other picture.
    image.req_orientation = image.orientation;
    const Outcome begun = rows.begin({static_cast<int>(width), static_cast<int>(height)},
                                     {static_cast<int>(width), static_cast<int>(height)}, orientation);
    if (begun != Outcome::Decoded)
        return begun;
    std::vector<std::uint32_t> rgba(static_cast<std::size_t>(bandBytes / 4));
    for (std::uint32_t top = 0; top < height; top += band) {
        const std::uint32_t count = std::min(band, height - top);
        if (!rows.budget().spend(rowWork(std::uint64_t{width} * 4, width, count)))
            return rows.budget().refusal();
        image.row_offset = static_cast<int>(top);
        image.col_offset = 0;
        if (!TIFFRGBAImageGet(&image, rgba.data(), width, count))
            return Outcome::Damaged;
        for (std::uint32_t y = 0; y < count; ++y) {
            rgbaRowToRgb(rgba.data() + std::size_t{y} * width, rows.rowBuffer(), width);
            rows.commitRow();
        }
    }
    return Outcome::Decoded;
}

}  // namespace

Outcome decodeTiff(std::FILE* file, RowCollector& rows) {
    MemoryFile memory;
    const Outcome read = readWhole(file, memory.bytes);
    if (read != Outcome::Decoded)
        return read;
    const Tiff tiff = openTiff(memory);
    if (!tiff)
        return Outcome::Damaged;
    std::uint32_t width = 0, height = 0;
    std::uint16_t stored = 0;
    if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height))
        return Outcome::Damaged;
    if (!withinPixelLimit(width, height))
        return Outcome::TooDemanding;
    const int orientation = TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &stored)
                                ? orientation::valid(stored)
                                : orientation::kUpright;
    RowLayout layout;
    if (rowLayoutOf(tiff.get(), layout))
        return readRows(tiff.get(), layout, width, height, orientation, rows);
    return readThroughRgba(tiff.get(), width, height, orientation, rows);
}

}  // namespace codecs
