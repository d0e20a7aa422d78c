// JPEG through libjpeg. Its fatal errors come back here by longjmp, so the function that calls setjmp
// keeps no objects with destructors; its warnings (damaged data, early end) are not printed, and what
// could be decoded is kept: a truncated photograph shows its upper part.
#include <csetjmp>
#include <cstdio>
#include <new>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "image/codecs.h"

namespace codecs {
namespace {

// More scans than any encoder writes; a hostile progressive file with thousands of tiny scans would
// otherwise keep the decoder busy for minutes.
constexpr long kMaxScans = 1000;
// What libjpeg may allocate for one picture (whole-picture coefficient buffers of progressive files).
constexpr long kMaxDecoderMemory = 1536L * 1024 * 1024;
// A reduced-scale decode keeps at least this many decoded pixels per thumbnail pixel along each side,
// so the final area averaging still sees several samples per pixel.
constexpr unsigned kOversampling = 2;

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leave(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    std::longjmp(trap->jump, 1);
}

void stayQuiet(j_common_ptr) {}

void limitScans(j_common_ptr info) {
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
        leave(info);
}

// Picks the smallest scale M/8 whose output still holds kOversampling x the thumbnail.
void chooseScale(jpeg_decompress_struct& info, ThumbnailBox box) {
    if (box.width <= 0 || box.height <= 0)
        return;
    const Size own{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    const Size fitted = thumbnailSize(own, box);
    if (fitted.width >= own.width || fitted.height >= own.height)
        return;  // not a thumbnail that shrinks both ways: decode in full
    for (unsigned eighths = 1; eighths < 8; ++eighths) {
        info.scale_num = eighths;
        info.scale_denom = 8;
        jpeg_calc_output_dimensions(&info);
        if (info.output_width >= kOversampling * fitted.width &&
            info.output_height >= kOversampling * fitted.height)
            return;
    }
    info.scale_num = 1;
    info.scale_denom = 1;
}

// CMYK as Adobe's programs write it is stored inverted; without their marker it is plain.
void cmykRowToRgb(const JSAMPLE* cmyk, std::uint8_t* rgb, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned ink = inverted ? cmyk[c] : 255u - cmyk[c];
            rgb[c] = static_cast<std::uint8_t>((ink * k + 127) / 255);
        }
    }
}

bool decode(std::FILE* file, ThumbnailBox box, Decoded& out, jpeg_decompress_struct& info, ErrorTrap& trap,
            jpeg_progress_mgr& progress) {
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (!withinPixelLimit(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    chooseScale(info, box);
    jpeg_start_decompress(&info);
    if (info.output_components != (cmyk ? 4 : 3)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const JDIMENSION width = info.output_width;
    const std::size_t stride = std::size_t{width} * 3;
    try {
        out.rgb.assign(stride * info.output_height, 0);
    } catch (const std::bad_alloc&) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    JSAMPARRAY cmykRow =
        cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, width * 4, 1)
             : nullptr;
    while (info.output_scanline < info.output_height) {
        std::uint8_t* target = out.rgb.data() + stride * info.output_scanline;
        JSAMPROW row = cmyk ? cmykRow[0] : target;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            break;
        if (cmyk)
            cmykRowToRgb(cmykRow[0], target, width, info.saw_Adobe_marker);
    }
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(info.output_height);
    out.ownWidth = static_cast<int>(info.image_width);
    out.ownHeight = static_cast<int>(info.image_height);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

bool decodeJpeg(std::FILE* file, ThumbnailBox box, Decoded& out) {
    jpeg_decompress_struct info{};
    ErrorTrap trap{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = leave;
    trap.manager.output_message = stayQuiet;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = limitScans;
    return decode(file, box, out, info, trap, progress);
}

}  // namespace codecs
