// JPEG through libjpeg. Its fatal errors, and the warnings that say data is missing or corrupt, come
// back here by longjmp, so the function that calls setjmp keeps no objects with destructors. A picture
// with missing or corrupt data is Damaged, not shown in part: a truncated photograph must not pass for
// a whole one. Other warnings (stray bytes before a marker, an unknown colour transform) are not
// printed and change nothing.
//
// The work is counted in coefficient blocks: every block of the picture once for its output, and for
// a file of several scans (progressive ones) every block of every scan as the scan is read, so a file
// of thousands of scans stops at the limit instead of keeping the decoder busy for minutes.
#include <csetjmp>
#include <cstdio>
#include <span>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "image/codecs.h"
#include "image/orientation.h"

namespace codecs {
namespace {

// More scans than any encoder writes.
constexpr int kMaxScans = 1000;
// A reduced-scale decode keeps at least this many decoded pixels per thumbnail pixel along each side,
// so the final area averaging still sees several samples per pixel.
constexpr unsigned kOversampling = 2;
// What is kept of an APP1 marker: plenty for the first directory of an EXIF block, which holds the
// orientation.
constexpr unsigned kExifBytesKept = 16 * 1024;

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    Outcome outcome;
};

struct Progress {
    jpeg_progress_mgr manager;
    WorkBudget* budget;
    // Set while jpeg_start_decompress reads the scans of a multi-scan file.
    bool readingScans;
};

[[noreturn]] void leave(j_common_ptr info, Outcome outcome) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    trap->outcome = outcome;
    std::longjmp(trap->jump, 1);
}

[[noreturn]] void fail(j_common_ptr info) {
    const int code = info->err->msg_code;
    const bool tooLarge = code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY ||
                          code == JERR_IMAGE_TOO_BIG || code == JERR_WIDTH_OVERFLOW;
    leave(info, tooLarge ? Outcome::TooDemanding : Outcome::Damaged);
}

// The warnings that mean the picture cannot be decoded completely. The end of the file alone is one
// only while the scans of a multi-scan file are read: it means scans are missing. Elsewhere a file may
// lack no more than its end marker; if pixel data is missing, the entropy decoder warns of it.
bool meansDamage(j_common_ptr info) {
    switch (info->err->msg_code) {
        case JWRN_HIT_MARKER:     // a scan's data ends early
        case JWRN_HUFF_BAD_CODE:  // corrupt data
        case JWRN_MUST_RESYNC:    // data lost between restart markers
            return true;
        case JWRN_JPEG_EOF:
            return info->is_decompressor &&
                   reinterpret_cast<const Progress*>(reinterpret_cast<j_decompress_ptr>(info)->progress)
                       ->readingScans;
        default:
            return false;
    }
}

void onMessage(j_common_ptr info, int level) {
    if (level < 0 && meansDamage(info))
        leave(info, Outcome::Damaged);
}

void stayQuiet(j_common_ptr) {}

void countWork(j_common_ptr common) {
    if (!common->is_decompressor)
        return;
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    auto* progress = reinterpret_cast<Progress*>(info->progress);
    if (info->input_scan_number > kMaxScans)
        leave(common, Outcome::TooDemanding);
    // Called before each row of blocks of the scan being read; otherwise only to notice a stop.
    std::uint64_t blocks = 0;
    if (progress->readingScans) {
        for (int i = 0; i < info->comps_in_scan; ++i) {
            const jpeg_component_info* component = info->cur_comp_info[i];
            blocks +=
                std::uint64_t{component->width_in_blocks} * static_cast<unsigned>(component->v_samp_factor);
        }
    }
    if (!progress->budget->spend(blocks))
        leave(common, progress->budget->refusal());
}

std::uint64_t blocksOfPicture(const jpeg_decompress_struct& info) {
    std::uint64_t blocks = 0;
    for (int i = 0; i < info.num_components; ++i)
        blocks += std::uint64_t{info.comp_info[i].width_in_blocks} * info.comp_info[i].height_in_blocks;
    return blocks;
}

int orientationOf(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
        if (marker->marker != JPEG_APP0 + 1)
            continue;
        const int found = orientation::fromExif(std::span(marker->data, marker->data_length));
        if (found != orientation::kUpright)
            return found;
    }
    return orientation::kUpright;
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

Outcome decode(std::FILE* file, RowCollector& rows, jpeg_decompress_struct& info, ErrorTrap& trap,
               Progress& progress) {
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        return trap.outcome;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress.manager;
    info.mem->max_memory_to_use = static_cast<long>(kMaxLibraryMemory);
    jpeg_save_markers(&info, JPEG_APP0 + 1, kExifBytesKept);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (!withinPixelLimit(info.image_width, info.image_height))
        leave(reinterpret_cast<j_common_ptr>(&info), Outcome::TooDemanding);
    const int orientation = orientationOf(info);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    chooseScale(info, rows.storedBox(orientation));

    // Every block becomes pixels once; the scans of a multi-scan file are counted as they are read.
    if (!progress.budget->spend(blocksOfPicture(info)))
        leave(reinterpret_cast<j_common_ptr>(&info), progress.budget->refusal());
    progress.readingScans = jpeg_has_multiple_scans(&info);
    jpeg_start_decompress(&info);
    progress.readingScans = false;
    if (info.output_components != (cmyk ? 4 : 3))
        leave(reinterpret_cast<j_common_ptr>(&info), Outcome::Damaged);

    const Size decoded{static_cast<int>(info.output_width), static_cast<int>(info.output_height)};
    const Size own{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    const Outcome begun = rows.begin(decoded, own, orientation);
    if (begun != Outcome::Decoded)
        leave(reinterpret_cast<j_common_ptr>(&info), begun);
    JSAMPARRAY cmykRow = cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                          info.output_width * 4, 1)
                              : nullptr;
    while (info.output_scanline < info.output_height) {
        std::uint8_t* target = rows.rowBuffer();
        JSAMPROW row = cmyk ? cmykRow[0] : target;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            leave(reinterpret_cast<j_common_ptr>(&info), Outcome::Damaged);
        if (cmyk)
            cmykRowToRgb(cmykRow[0], target, info.output_width, info.saw_Adobe_marker);
        rows.commitRow();
    }
    jpeg_destroy_decompress(&info);
    return Outcome::Decoded;
}

}  // namespace

Outcome decodeJpeg(std::FILE* file, RowCollector& rows) {
    jpeg_decompress_struct info{};
    ErrorTrap trap{};
    trap.outcome = Outcome::Damaged;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = fail;
    trap.manager.emit_message = onMessage;
    trap.manager.output_message = stayQuiet;
    Progress progress{};
    progress.manager.progress_monitor = countWork;
    progress.budget = &rows.budget();
    return decode(file, rows, info, trap, progress);
}

}  // namespace codecs
