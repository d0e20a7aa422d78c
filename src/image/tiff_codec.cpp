// TIFF through libtiff's RGBA interface, which covers every photometric kind a photograph comes in
// (RGB, grey, palette, CMYK, YCbCr; 8 and 16 bits per sample). Only the first page of a multi-page
// file is read. Errors and warnings go to handlers of this file only and are not printed.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <vector>

#include <tiffio.h>

#include "image/codecs.h"

namespace codecs {
namespace {

// libtiff refuses any single allocation above this (hostile strip sizes).
constexpr tmsize_t kMaxSingleAllocation = 1024 * 1024 * 1024;

bool seekTo(std::FILE* file, std::uint64_t offset, int whence) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<__int64>(offset), whence) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), whence) == 0;
#endif
}

std::uint64_t position(std::FILE* file) {
#ifdef _WIN32
    return static_cast<std::uint64_t>(_ftelli64(file));
#else
    return static_cast<std::uint64_t>(ftello(file));
#endif
}

std::FILE* fileOf(thandle_t handle) {
    return static_cast<std::FILE*>(handle);
}

tmsize_t readFile(thandle_t handle, void* buffer, tmsize_t size) {
    return static_cast<tmsize_t>(std::fread(buffer, 1, static_cast<std::size_t>(size), fileOf(handle)));
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) {
    return 0;
}

toff_t seekFile(thandle_t handle, toff_t offset, int whence) {
    if (!seekTo(fileOf(handle), offset, whence))
        return static_cast<toff_t>(-1);
    return position(fileOf(handle));
}

// The caller owns and closes the file.
int keepOpen(thandle_t) {
    return 0;
}

toff_t sizeOfFile(thandle_t handle) {
    std::FILE* file = fileOf(handle);
    const auto here = position(file);
    seekTo(file, 0, SEEK_END);
    const auto size = position(file);
    seekTo(file, here, SEEK_SET);
    return size;
}

int noMapping(thandle_t, void**, toff_t*) {
    return 0;
}
void noUnmapping(thandle_t, void*, toff_t) {}

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

std::unique_ptr<TIFF, TiffCloser> openTiff(std::FILE* file) {
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), stayQuiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), stayQuiet, nullptr);
    return std::unique_ptr<TIFF, TiffCloser>(TIFFClientOpenExt("picture", "rm", file, readFile, refuseWrite,
                                                               seekFile, keepOpen, sizeOfFile, noMapping,
                                                               noUnmapping, options.get()));
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
    const auto tiff = openTiff(file);
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
