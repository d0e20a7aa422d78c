// TIFF through libtiff's RGBA interface, which covers every photometric kind a photograph comes in
// (RGB, grey, palette, CMYK, YCbCr; 8 and 16 bits per sample). Only the first page of a multi-page
// file is read. Errors and warnings go to handlers of this file only and are not printed.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <tiffio.h>

#include "image/codecs.h"

namespace codecs {
namespace {

// libtiff refuses any single allocation above this (hostile strip sizes).
constexpr tmsize_t kMaxSingleAllocation = 1024 * 1024 * 1024;
// The largest TIFF file read: room for the largest picture accepted, uncompressed at 16 bits in four
// channels, and nothing more.
constexpr std::uint64_t kMaxFileSize = kMaxPicturePixels * 8 + 64 * 1024 * 1024;

// libtiff reads the file from memory, as it would from a mapped file: its own reading of
// uncompressed tiles without a mapping is unreliable, and one read of the file is quicker anyway.
struct MemoryFile {
    std::vector<std::uint8_t> bytes;
    std::uint64_t position = 0;
};

bool readWhole(std::FILE* file, std::vector<std::uint8_t>& bytes) {
    // The size, where the platform tells it, settles the matter before anything is read.
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && static_cast<std::uint64_t>(size) > kMaxFileSize)
            return false;
        if (size > 0)
            bytes.reserve(static_cast<std::size_t>(size));
    }
    std::rewind(file);
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (bytes.size() + got > kMaxFileSize)
            return false;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return true;
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

std::unique_ptr<TIFF, TiffCloser> openTiff(MemoryFile& file) {
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), stayQuiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), stayQuiet, nullptr);
    return std::unique_ptr<TIFF, TiffCloser>(TIFFClientOpenExt("picture", "r", &file, readMemory, refuseWrite,
                                                               seekMemory, keepOpen, sizeOfMemory, mapMemory,
                                                               keepMapped, options.get()));
}

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

}  // namespace

bool decodeTiff(std::FILE* file, Decoded& out) {
    MemoryFile memory;
    if (!readWhole(file, memory.bytes))
        return false;
    const auto tiff = openTiff(memory);
    if (!tiff)
        return false;
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tiff.get(), message))
        return false;
    TIFFRGBAImage image{};
    if (!TIFFRGBAImageBegin(&image, tiff.get(), 0, message))
        return false;
    const std::unique_ptr<TIFFRGBAImage, RgbaImageEnd> ending(&image);
    const std::uint32_t width = image.width;
    const std::uint32_t height = image.height;
    if (!withinPixelLimit(width, height))
        return false;

    // Read in bands of whole strips or tiles, so only one band is held as RGBA at a time. A picture
    // stored in another orientation is read in one band: libtiff flips within the band it reads.
    std::uint32_t band = height;
    if (image.orientation == ORIENTATION_TOPLEFT) {
        std::uint32_t unit = 0;
        if (TIFFIsTiled(tiff.get()) ? TIFFGetField(tiff.get(), TIFFTAG_TILELENGTH, &unit)
                                    : TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ROWSPERSTRIP, &unit)) {
            if (unit > 0 && unit < height)
                band = unit;
        }
        // Very short strips would mean many calls; take several of them at once.
        while (band < 64 && band < height)
            band *= 2;
        band = std::min(band, height);
    }
    image.req_orientation = ORIENTATION_TOPLEFT;

    std::vector<std::uint32_t> rgba(std::size_t{width} * band);
    out.rgb.assign(std::size_t{width} * height * 3, 0);
    for (std::uint32_t top = 0; top < height; top += band) {
        const std::uint32_t rows = std::min(band, height - top);
        image.row_offset = static_cast<int>(top);
        image.col_offset = 0;
        if (!TIFFRGBAImageGet(&image, rgba.data(), width, rows))
            return false;
        for (std::uint32_t y = 0; y < rows; ++y)
            rgbaRowToRgb(rgba.data() + std::size_t{y} * width,
                         out.rgb.data() + (std::size_t{top} + y) * width * 3, width);
    }
    out.width = out.ownWidth = static_cast<int>(width);
    out.height = out.ownHeight = static_cast<int>(height);
    return true;
}

}  // namespace codecs
