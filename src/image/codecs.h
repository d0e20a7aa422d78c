// The decoders behind Picture::load, one per file format. Internal to the image library.
//
// Each decoder reads an open file from its start and hands the rows it decodes, top to bottom as they
// are stored, to a RowCollector, which keeps them whole or reduces them on the fly for a thumbnail and
// finally turns the picture upright. A decoder never throws and never prints. Its work is bounded:
// pictures above kMaxPicturePixels, rows above kMaxRowPixels and files whose decoding would take more
// work than their codec's limit are refused before the pixels are allocated or the work is done, and
// every decoder counts its work in a WorkBudget, which also carries the request to stop.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <stop_token>
#include <vector>

#include "image/area_reduction.h"
#include "image/picture.h"

namespace codecs {

// The largest picture accepted, in pixels of its own size (16384 x 16384).
inline constexpr std::uint64_t kMaxPicturePixels = 16384ull * 16384ull;
// The widest row accepted: what a decoder and its library hold for one row stays a few MB.
inline constexpr std::uint64_t kMaxRowPixels = 1ull << 20;
// The most pixels held whole (a picture loaded in full, or one that its thumbnail does not shrink both
// ways): 192 MB as RGB.
inline constexpr std::uint64_t kMaxHeldPixels = 64ull << 20;
// What a codec library may allocate for one picture beyond the rows: libjpeg's whole-picture coefficient
// buffers of progressive files, libtiff's strip and tile buffers.
inline constexpr std::size_t kMaxLibraryMemory = std::size_t{384} << 20;
// The largest TIFF file read (it is read into memory whole).
inline constexpr std::uint64_t kMaxTiffFileBytes = 384ull << 20;

// Work limits: a small file that asks for more work than this (the hostile files of the tests) is
// refused within about a second of one core; photographs of cameras and phones need a fraction of it.
// A large genuine file takes the time its data takes, bounded by its size (kMaxTiffFileBytes).
// JPEG: 8 x 8 coefficient blocks, each counted once for its output and once per scan that carries it
// (a 24-megapixel progressive photograph: about 4 million).
inline constexpr std::uint64_t kMaxJpegBlocks = 16ull << 20;
// TIFF, PNG, BMP: bytes of decoded samples plus the 3 bytes of RGB made of each pixel (a 100-megapixel
// 8-bit RGB scan: 600 million).
inline constexpr std::uint64_t kMaxRowBytes = 768ull << 20;

inline bool withinPixelLimit(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width <= 0x7FFFFFFF && height <= 0x7FFFFFFF &&
           width * height <= kMaxPicturePixels;
}

enum class Outcome { Decoded, Damaged, TooDemanding, Cancelled };

// The work one load may do, and whether it is still wanted. Used by the thread that loads.
class WorkBudget {
  public:
    WorkBudget(std::uint64_t limit, std::stop_token stop) : limit_(limit), stop_(std::move(stop)) {}

    // Counts `units` of work; false (and the decoder stops) once the work is past the limit or the
    // load is no longer wanted.
    bool spend(std::uint64_t units);
    // Whether work of `units` more would stay within the limit, without counting it.
    bool allows(std::uint64_t units) const { return units <= limit_ - std::min(spent_, limit_); }
    std::uint64_t spent() const { return spent_; }
    std::uint64_t limit() const { return limit_; }
    // Why spend() refused: Cancelled or TooDemanding.
    Outcome refusal() const { return cancelled_ ? Outcome::Cancelled : Outcome::TooDemanding; }

  private:
    std::uint64_t limit_;
    std::uint64_t spent_ = 0;
    std::stop_token stop_;
    bool cancelled_ = false;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// The size a picture of `own` size gets inside `box` (see Picture::thumbnail); `own` when it fits.
Size thumbnailSize(Size own, ThumbnailBox box);

// An upright decoded picture: RGB rows of width x height, standing for a picture of ownWidth x
// ownHeight (larger after a reduced decode or a reduction for a thumbnail).
struct Decoded {
    int width = 0;
    int height = 0;
    int ownWidth = 0;
    int ownHeight = 0;
    std::vector<std::uint8_t> rgb;
};

// Takes the rows of one picture from its decoder. When the load is for a thumbnail that shrinks the
// picture both ways, each row is reduced by area averaging as it comes, straight to the thumbnail's
// size, so a picture of any size needs one row in memory; otherwise the rows are kept whole.
class RowCollector {
  public:
    // `box`: the thumbnail the picture is for; an empty box keeps every picture whole.
    RowCollector(ThumbnailBox box, WorkBudget& budget) : box_(box), budget_(budget) {}

    // The box as the stored rows of a picture with this orientation see it (its sides swapped when
    // the orientation turns the picture by a quarter).
    ThumbnailBox storedBox(int orientation) const;

    // Begins a picture whose stored rows are `decoded` (width x height), standing for a picture of
    // `own` stored size, stored in `orientation` (1 to 8, as EXIF numbers them). TooDemanding when its
    // rows cannot be held.
    Outcome begin(Size decoded, Size own, int orientation);
    // Where the decoder writes the next row: decoded.width RGB pixels. Then commitRow().
    std::uint8_t* rowBuffer();
    void commitRow();
    bool complete() const { return rowsDone_ == decoded_.height; }

    // The picture, upright. Only after every row was committed.
    Decoded finish();

    WorkBudget& budget() { return budget_; }

  private:
    ThumbnailBox box_;
    WorkBudget& budget_;
    Size decoded_;
    Size own_;
    int orientation_ = 1;
    Size reducedTo_;  // the stored size of the reduction; {0, 0} while the rows are kept whole
    std::optional<area_reduction::AreaReducer> reducer_;
    std::vector<std::uint8_t> row_;
    std::vector<std::uint8_t> whole_;
    int rowsDone_ = 0;
};

// The decoders. Each reports Decoded or why not; a file that does not decode completely is Damaged.
Outcome decodeJpeg(std::FILE* file, RowCollector& rows);
Outcome decodeTiff(std::FILE* file, RowCollector& rows);
Outcome decodePng(std::FILE* file, RowCollector& rows);
Outcome decodeBmp(std::FILE* file, RowCollector& rows);

// The work limit of each codec.
std::uint64_t workLimit(PictureType type);
// The work of decoding `rows` rows of `width` pixels in `sampleBytes` bytes each (TIFF, PNG, BMP).
inline std::uint64_t rowWork(std::uint64_t sampleBytes, std::uint64_t width, std::uint64_t rows) {
    return (sampleBytes + width * 3) * rows;
}

// The format that the first bytes of a file announce (12 bytes are enough); Unknown for none.
PictureType detectPictureType(std::span<const std::uint8_t> firstBytes);

}  // namespace codecs
