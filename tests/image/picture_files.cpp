#include "picture_files.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>
#include <zlib.h>

namespace test_pictures {

Picture gradient(int width, int height) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgb.push_back(static_cast<std::uint8_t>(x * 255 / std::max(width - 1, 1)));
            rgb.push_back(static_cast<std::uint8_t>(y * 255 / std::max(height - 1, 1)));
            rgb.push_back(static_cast<std::uint8_t>((x + y) * 255 / std::max(width + height - 2, 1)));
        }
    }
    return Picture::fromRgb(width, height, std::move(rgb));
}

Picture solid(int width, int height, Rgb colour) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < width * height; ++i)
        rgb.insert(rgb.end(), {colour.red, colour.green, colour.blue});
    return Picture::fromRgb(width, height, std::move(rgb));
}

double meanDifference(const Picture& a, const Picture& b) {
    if (a.width() != b.width() || a.height() != b.height())
        throw std::logic_error("pictures of different sizes");
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const Rgb p = a.colourAt(x, y), q = b.colourAt(x, y);
            sum += std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue);
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

namespace {

// The tests name files in UTF-8; on Windows the narrow fopen would read the name in the ANSI code page.
std::FILE* create(const std::string& path) {
#ifdef _WIN32
    const std::filesystem::path name(std::u8string(path.begin(), path.end()));
    std::FILE* file = ::_wfopen(name.c_str(), L"wb");
#else
    std::FILE* file = std::fopen(path.c_str(), "wb");
#endif
    if (!file)
        throw std::runtime_error("cannot write " + path);
    return file;
}

// Adobe's inverted CMYK: each stored value is 255 minus the ink.
std::vector<std::uint8_t> cmykOf(Rgb colour, bool inverted) {
    const int most = std::max({colour.red, colour.green, colour.blue});
    const auto ink = [most](int value) { return most == 0 ? 0 : 255 - value * 255 / most; };
    std::vector<std::uint8_t> cmyk = {
        static_cast<std::uint8_t>(ink(colour.red)), static_cast<std::uint8_t>(ink(colour.green)),
        static_cast<std::uint8_t>(ink(colour.blue)), static_cast<std::uint8_t>(255 - most)};
    if (inverted) {
        for (auto& v : cmyk)
            v = static_cast<std::uint8_t>(255 - v);
    }
    return cmyk;
}

int grey(Rgb c) {
    return (c.red * 299 + c.green * 587 + c.blue * 114) / 1000;
}

}  // namespace

std::string jpegBytes(const Picture& picture, JpegKind kind, int quality, int orientation) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    info.input_components = kind == JpegKind::Grey ? 1 : kind == JpegKind::AdobeCmyk ? 4 : 3;
    info.in_color_space = kind == JpegKind::Grey        ? JCS_GRAYSCALE
                          : kind == JpegKind::AdobeCmyk ? JCS_CMYK
                                                        : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (kind == JpegKind::Progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (orientation != 0) {
        const std::string exif = exifBlock(orientation);
        jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.data()),
                          static_cast<unsigned>(exif.size()));
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width()) * info.input_components);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.colourAt(x, y);
            if (kind == JpegKind::Grey) {
                row[x] = static_cast<std::uint8_t>(grey(c));
            } else if (kind == JpegKind::AdobeCmyk) {
                const auto cmyk = cmykOf(c, true);
                std::copy(cmyk.begin(), cmyk.end(), row.begin() + x * 4);
            } else {
                row[x * 3] = c.red;
                row[x * 3 + 1] = c.green;
                row[x * 3 + 2] = c.blue;
            }
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

void writeJpeg(const std::string& path, const Picture& picture, JpegKind kind, int quality, int orientation) {
    const auto bytes = jpegBytes(picture, kind, quality, orientation);
    std::FILE* file = create(path);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

namespace {

void writeTiffPage(TIFF* tiff, const Picture& picture, TiffKind kind) {
    const auto width = static_cast<std::uint32_t>(picture.width());
    const auto height = static_cast<std::uint32_t>(picture.height());
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, kind == TiffKind::Lzw ? COMPRESSION_LZW : COMPRESSION_NONE);
    int samples = 3;
    int bits = 8;
    switch (kind) {
        case TiffKind::Grey8:
            samples = 1;
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
            break;
        case TiffKind::Palette:
            samples = 1;
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
            break;
        case TiffKind::Cmyk:
        case TiffKind::Cmyk16:
            samples = 4;
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
            TIFFSetField(tiff, TIFFTAG_INKSET, INKSET_CMYK);
            break;
        default:
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    }
    if (kind == TiffKind::Rgb16 || kind == TiffKind::Cmyk16)
        bits = 16;
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits);
    if (kind == TiffKind::BottomUp)
        TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_BOTLEFT);

    // The palette: every colour of the picture, in order of first appearance.
    std::map<std::uint32_t, std::uint8_t> indexOf;
    std::vector<std::uint16_t> reds(256), greens(256), blues(256);
    const auto sampleRow = [&](std::uint32_t y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * samples * (bits / 8));
        for (std::uint32_t x = 0; x < width; ++x) {
            const Rgb c = picture.colourAt(static_cast<int>(x), static_cast<int>(y));
            std::vector<std::uint8_t> values;
            if (kind == TiffKind::Grey8) {
                values = {static_cast<std::uint8_t>(grey(c))};
            } else if (kind == TiffKind::Palette) {
                const std::uint32_t key = c.red << 16 | c.green << 8 | c.blue;
                if (!indexOf.count(key)) {
                    const auto index = static_cast<std::uint8_t>(indexOf.size());
                    indexOf[key] = index;
                    reds[index] = static_cast<std::uint16_t>(c.red * 257);
                    greens[index] = static_cast<std::uint16_t>(c.green * 257);
                    blues[index] = static_cast<std::uint16_t>(c.blue * 257);
                }
                values = {indexOf[key]};
            } else if (kind == TiffKind::Cmyk || kind == TiffKind::Cmyk16) {
                values = cmykOf(c, false);
            } else {
                values = {c.red, c.green, c.blue};
            }
            for (std::size_t s = 0; s < values.size(); ++s) {
                if (bits == 16) {
                    const std::uint16_t wide = static_cast<std::uint16_t>(values[s] * 257);
                    std::memcpy(&row[(x * samples + s) * 2], &wide, 2);
                } else {
                    row[x * samples + s] = values[s];
                }
            }
        }
        return row;
    };

    if (kind == TiffKind::Tiled) {
        constexpr std::uint32_t kTile = 16;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, kTile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, kTile);
        for (std::uint32_t ty = 0; ty < height; ty += kTile) {
            for (std::uint32_t tx = 0; tx < width; tx += kTile) {
                std::vector<std::uint8_t> tile(kTile * kTile * samples, 0);
                for (std::uint32_t y = ty; y < std::min(ty + kTile, height); ++y) {
                    const auto row = sampleRow(y);
                    for (std::uint32_t x = tx; x < std::min(tx + kTile, width); ++x) {
                        for (int s = 0; s < samples; ++s)
                            tile[((y - ty) * kTile + (x - tx)) * samples + s] = row[x * samples + s];
                    }
                }
                TIFFWriteTile(tiff, tile.data(), tx, ty, 0, 0);
            }
        }
        return;
    }
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 7u);
    std::vector<std::vector<std::uint8_t>> rows;
    for (std::uint32_t y = 0; y < height; ++y)
        rows.push_back(sampleRow(kind == TiffKind::BottomUp ? height - 1 - y : y));
    if (kind == TiffKind::Palette)
        TIFFSetField(tiff, TIFFTAG_COLORMAP, reds.data(), greens.data(), blues.data());
    for (std::uint32_t y = 0; y < height; ++y)
        TIFFWriteScanline(tiff, rows[y].data(), y, 0);
}

}  // namespace

void writeTiff(const std::string& path, const Picture& picture, TiffKind kind) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (!tiff)
        throw std::runtime_error("cannot write " + path);
    writeTiffPage(tiff, picture, kind);
    if (kind == TiffKind::TwoPages) {
        TIFFWriteDirectory(tiff);
        writeTiffPage(tiff, solid(picture.height(), picture.width(), {0, 0, 255}), TiffKind::Rgb8);
    }
    TIFFClose(tiff);
}

void writePng(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& samples, int bitDepth, bool interlaced) {
    std::FILE* file = create(path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    static constexpr int kColourTypes[] = {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                                           PNG_COLOR_TYPE_RGB_ALPHA};
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bitDepth,
                 kColourTypes[channels - 1], interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const std::size_t stride = static_cast<std::size_t>(width) * channels;
    std::vector<std::uint8_t> bytes;
    for (const auto value : samples) {
        bytes.push_back(value);
        if (bitDepth == 16)
            bytes.push_back(value);
    }
    std::vector<png_bytep> rows;
    for (int y = 0; y < height; ++y)
        rows.push_back(bytes.data() + y * stride * (bitDepth / 8));
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

std::string tiffClaimingSize(std::uint32_t width, std::uint32_t height) {
    std::string bytes = "II*";
    bytes += '\0';
    const auto put16 = [&bytes](std::uint32_t v) {
        bytes += static_cast<char>(v & 0xFF);
        bytes += static_cast<char>(v >> 8 & 0xFF);
    };
    const auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    put32(8);  // the directory follows the header
    constexpr std::uint16_t kShort = 3, kLong = 4;
    const std::vector<std::array<std::uint32_t, 3>> entries = {
        {256, kLong, width}, {257, kLong, height}, {258, kShort, 8},
        {259, kShort, 1},    {262, kShort, 1},     {273, kLong, 8 + 2 + 9 * 12 + 4},
        {277, kShort, 1},    {278, kLong, height}, {279, kLong, 0xFFFFFFF0},
    };
    put16(static_cast<std::uint32_t>(entries.size()));
    for (const auto& [tag, type, value] : entries) {
        put16(tag);
        put16(type);
        put32(1);
        if (type == kShort) {
            put16(value);
            put16(0);
        } else {
            put32(value);
        }
    }
    put32(0);  // no further directory
    bytes += std::string(16, '\x80');
    return bytes;
}

namespace {

// Bytes of a file under construction, integers in either byte order.
class Bytes {
  public:
    explicit Bytes(bool bigEndian = false) : bigEndian_(bigEndian) {}
    void put(std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            const int shift = 8 * (bigEndian_ ? size - 1 - i : i);
            text += static_cast<char>(value >> shift & 0xFF);
        }
    }
    void put16(std::uint32_t value) { put(value, 2); }
    void put32(std::uint32_t value) { put(value, 4); }
    // A directory entry of one value; a short stands in the first two bytes of the value field.
    void entry(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
        put16(tag);
        put16(type);
        put32(count);
        if (type == 3 && count == 1) {
            put16(value);
            put16(0);
        } else {
            put32(value);
        }
    }
    std::string text;

  private:
    bool bigEndian_;
};

constexpr std::uint16_t kAscii = 2, kShort = 3, kLong = 4;

}  // namespace

std::string exifBlock(int orientation, bool bigEndian) {
    Bytes b(bigEndian);
    b.text = std::string("Exif\0\0", 6) + (bigEndian ? "MM" : "II");
    b.put16(42);
    b.put32(8);  // the first directory follows the header
    b.put16(3);
    const std::uint32_t makeAt = 8 + 2 + 3 * 12 + 4;
    b.entry(0x010F, kAscii, 6, makeAt);                                   // Make
    b.entry(0x0112, kShort, 1, static_cast<std::uint32_t>(orientation));  // Orientation
    b.entry(0x0128, kShort, 1, 2);                                        // ResolutionUnit: inches
    b.put32(0);                                                           // no further directory
    b.text += std::string("Canon\0", 6);
    return b.text;
}

std::string tiffWithOrientation(const Picture& picture, int orientation, bool bigEndian) {
    Bytes b(bigEndian);
    b.text = bigEndian ? "MM" : "II";
    b.put16(42);
    b.put32(8);
    const auto width = static_cast<std::uint32_t>(picture.width());
    const auto height = static_cast<std::uint32_t>(picture.height());
    constexpr std::uint32_t kEntries = 11;
    const std::uint32_t bitsAt = 8 + 2 + kEntries * 12 + 4;
    const std::uint32_t dataAt = bitsAt + 6;
    b.put16(kEntries);
    b.entry(256, kLong, 1, width);                                     // ImageWidth
    b.entry(257, kLong, 1, height);                                    // ImageLength
    b.entry(258, kShort, 3, bitsAt);                                   // BitsPerSample: 8, 8, 8
    b.entry(259, kShort, 1, 1);                                        // Compression: none
    b.entry(262, kShort, 1, 2);                                        // PhotometricInterpretation: RGB
    b.entry(273, kLong, 1, dataAt);                                    // StripOffsets
    b.entry(274, kShort, 1, static_cast<std::uint32_t>(orientation));  // Orientation
    b.entry(277, kShort, 1, 3);                                        // SamplesPerPixel
    b.entry(278, kLong, 1, height);                                    // RowsPerStrip
    b.entry(279, kLong, 1, width * height * 3);                        // StripByteCounts
    b.entry(284, kShort, 1, 1);                                        // PlanarConfiguration: contiguous
    b.put32(0);
    for (int i = 0; i < 3; ++i)
        b.put16(8);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const Rgb c = picture.colourAt(static_cast<int>(x), static_cast<int>(y));
            b.text += {static_cast<char>(c.red), static_cast<char>(c.green), static_cast<char>(c.blue)};
        }
    }
    return b.text;
}

namespace {

// The markers every hand-made progressive grey JPEG below starts with: a quantisation table of ones,
// the frame, a DC table whose only code "0" means "no change", and an AC table whose fifteen 4-bit
// codes 0000 to 1110 stand for EOB0 to EOB14 (a run of 2^n to 2^(n+1) - 1 blocks with nothing more,
// its length in n bits after the code).
std::string progressiveGreyHeader(int width, int height) {
    Bytes b(true);
    b.text = "\xFF\xD8";
    b.text += "\xFF\xDB";
    b.put16(67);
    b.text += '\0';
    b.text += std::string(64, '\x01');
    b.text += "\xFF\xC2";  // progressive frame
    b.put16(11);
    b.put(8, 1);
    b.put16(static_cast<std::uint32_t>(height));
    b.put16(static_cast<std::uint32_t>(width));
    b.put(1, 1);     // one component
    b.put(1, 1);     // its id
    b.put(0x11, 1);  // sampled 1 x 1
    b.put(0, 1);     // quantisation table 0
    b.text += "\xFF\xC4";
    b.put16(2 + 1 + 16 + 1);
    b.put(0x00, 1);  // DC table 0
    b.put(1, 1);
    b.text += std::string(15, '\0');
    b.put(0x00, 1);
    b.text += "\xFF\xC4";
    b.put16(2 + 1 + 16 + 15);
    b.put(0x10, 1);  // AC table 0
    b.text += std::string(3, '\0');
    b.put(15, 1);
    b.text += std::string(12, '\0');
    for (int n = 0; n < 15; ++n)
        b.put(static_cast<std::uint32_t>(n << 4), 1);
    return b.text;
}

std::string scanHeader(int ss, int se, int ah, int al) {
    Bytes b(true);
    b.text = "\xFF\xDA";
    b.put16(8);
    b.put(1, 1);  // one component
    b.put(1, 1);
    b.put(0x00, 1);  // DC and AC table 0
    b.put(static_cast<std::uint32_t>(ss), 1);
    b.put(static_cast<std::uint32_t>(se), 1);
    b.put(static_cast<std::uint32_t>(ah << 4 | al), 1);
    return b.text;
}

// Entropy-coded bits, most significant first, with a 0x00 stuffed after every 0xFF byte.
class BitWriter {
  public:
    void put(std::uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            byte_ = static_cast<std::uint8_t>(byte_ << 1 | (value >> i & 1));
            if (++bits_ == 8)
                flush();
        }
    }
    std::string finish() {
        while (bits_ != 0)
            put(1, 1);  // padding: ones
        return std::move(text_);
    }

  private:
    void flush() {
        text_ += static_cast<char>(byte_);
        if (byte_ == 0xFF)
            text_ += '\0';
        byte_ = 0;
        bits_ = 0;
    }
    std::string text_;
    std::uint8_t byte_ = 0;
    int bits_ = 0;
};

}  // namespace

std::string jpegOfEmptyScans(int width, int height, int scans) {
    std::string bytes = progressiveGreyHeader(width, height);
    for (int i = 0; i < scans; ++i) {
        const int coefficient = i % 64;
        bytes += coefficient == 0 ? scanHeader(0, 0, 0, 0) : scanHeader(coefficient, coefficient, 0, 0);
        bytes += std::string(4, '\0');
    }
    return bytes + "\xFF\xD9";
}

std::string jpegOfManyValidScans(int width, int height) {
    const std::uint64_t blocks = std::uint64_t((width + 7) / 8) * ((height + 7) / 8);
    std::string bytes = progressiveGreyHeader(width, height);
    // The DC scan: "no change" for every block.
    bytes += scanHeader(0, 0, 0, 0);
    BitWriter dc;
    for (std::uint64_t i = 0; i < blocks; ++i)
        dc.put(0, 1);
    bytes += dc.finish();
    // Every AC coefficient: a first scan at 1/8192 precision, then the 13 refinements down to 1.
    for (int k = 1; k < 64; ++k) {
        for (int ah = 0; ah <= 13; ++ah) {
            bytes += ah == 0 ? scanHeader(k, k, 0, 13) : scanHeader(k, k, 14 - ah, 13 - ah);
            BitWriter ac;
            for (std::uint64_t left = blocks; left > 0;) {
                const auto run = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, 32767));
                int n = 0;
                while ((run >> (n + 1)) != 0)
                    ++n;
                ac.put(static_cast<std::uint32_t>(n), 4);
                ac.put(run - (1u << n), n);
                left -= run;
            }
            bytes += ac.finish();
        }
    }
    return bytes + "\xFF\xD9";
}

namespace {

std::uint32_t crc32Of(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

void pngChunk(std::string& png, std::string_view type, const std::string& data) {
    Bytes b(true);
    b.put32(static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type) + data;
    b.text += typed;
    b.put32(crc32Of(typed));
    png += b.text;
}

}  // namespace

std::string pngClaimingSize(std::uint32_t width, std::uint32_t height) {
    std::string png = "\x89PNG\r\n\x1A\n";
    Bytes header(true);
    header.put32(width);
    header.put32(height);
    header.text += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, not interlaced
    pngChunk(png, "IHDR", header.text);
    // A zlib stream holding nothing: one final fixed-code block with only its end code, then the
    // checksum of nothing.
    pngChunk(png, "IDAT", std::string("\x78\x9C\x03\x00\x00\x00\x00\x01", 8));
    pngChunk(png, "IEND", "");
    return png;
}

std::string tiffDeflateBomb(std::uint32_t width, std::uint32_t height) {
    // The strip: width x height zero bytes through zlib, a megabyte at a time.
    std::string strip;
    z_stream zip{};
    deflateInit(&zip, Z_BEST_COMPRESSION);
    const std::vector<Bytef> zeros(1 << 20, 0);
    std::vector<Bytef> out(1 << 16);
    const std::uint64_t total = std::uint64_t{width} * height;
    for (std::uint64_t done = 0; done < total || zip.avail_in > 0;) {
        if (zip.avail_in == 0) {
            const auto chunk = static_cast<uInt>(std::min<std::uint64_t>(zeros.size(), total - done));
            zip.next_in = const_cast<Bytef*>(zeros.data());
            zip.avail_in = chunk;
            done += chunk;
        }
        const int flush = done == total ? Z_FINISH : Z_NO_FLUSH;
        do {
            zip.next_out = out.data();
            zip.avail_out = static_cast<uInt>(out.size());
            deflate(&zip, flush);
            strip.append(reinterpret_cast<const char*>(out.data()), out.size() - zip.avail_out);
        } while (zip.avail_out == 0);
        if (flush == Z_FINISH)
            break;
    }
    deflateEnd(&zip);

    Bytes b;
    b.text = "II";
    b.put16(42);
    b.put32(8);
    constexpr std::uint32_t kEntries = 9;
    b.put16(kEntries);
    b.entry(256, kLong, 1, width);
    b.entry(257, kLong, 1, height);
    b.entry(258, kShort, 1, 8);
    b.entry(259, kShort, 1, 8);  // Compression: Deflate
    b.entry(262, kShort, 1, 1);  // black is zero
    b.entry(273, kLong, 1, 8 + 2 + kEntries * 12 + 4);
    b.entry(277, kShort, 1, 1);
    b.entry(278, kLong, 1, height);  // one strip
    b.entry(279, kLong, 1, static_cast<std::uint32_t>(strip.size()));
    b.put32(0);
    return b.text + strip;
}

bool convert(const std::string& arguments) {
    return std::system(("convert " + arguments + " 2>/dev/null").c_str()) == 0;
}

}  // namespace test_pictures
