// The built-in header banner: a deep blue gradient, the camera of the window icon, the name
// "Snapord" in a small pixel font drawn large with smoothed edges, and a strip of film with three
// little pictures. Everything is drawn by code from the data below; no font files are needed.
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <vector>

#include "image/builtin_drawing.h"

namespace builtin_drawing {
namespace {

constexpr int kWidth = 380;
constexpr int kHeight = 50;

// Glyphs of 5 x 9 cells: seven rows above the base line, two for descenders.
struct Glyph {
    char letter;
    std::array<std::string_view, 9> rows;
};

constexpr std::array<Glyph, 7> kGlyphs = {{
    {'S', {".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###.", ".....", "....."}},
    {'n', {".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#", ".....", "....."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####", ".....", "....."}},
    {'p', {".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###.", ".....", "....."}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#....", ".....", "....."}},
    {'d', {"....#", "....#", ".####", "#...#", "#...#", "#...#", ".####", ".....", "....."}},
}};

constexpr std::string_view kName = "Snapord";
constexpr int kGlyphScale = 4;
constexpr int kGlyphAdvance = 6 * kGlyphScale;

struct Canvas {
    std::vector<std::uint8_t> rgb = std::vector<std::uint8_t>(kWidth * kHeight * 3);

    void blend(int x, int y, Rgb colour, double alpha) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || alpha <= 0)
            return;
        alpha = std::min(alpha, 1.0);
        std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * kWidth + x) * 3];
        const std::uint8_t channels[3] = {colour.red, colour.green, colour.blue};
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<std::uint8_t>(std::lround(p[c] * (1 - alpha) + channels[c] * alpha));
    }
    void fill(int left, int top, int right, int bottom, Rgb colour) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x)
                blend(x, y, colour, 1);
        }
    }
};

Rgb mix(Rgb a, Rgb b, double t) {
    const auto channel = [t](std::uint8_t from, std::uint8_t to) {
        return static_cast<std::uint8_t>(std::lround(from + (to - from) * std::clamp(t, 0.0, 1.0)));
    };
    return {channel(a.red, b.red), channel(a.green, b.green), channel(a.blue, b.blue)};
}

void drawBackground(Canvas& canvas) {
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgb across = mix({14, 40, 82}, {22, 92, 126}, x / double(kWidth - 1));
            // A soft light from above.
            canvas.blend(x, y, mix(across, {255, 255, 255}, 0.10 * (1 - y / double(kHeight - 1))), 1);
        }
    }
}

void drawCamera(Canvas& canvas, int left, int top) {
    const auto picture = paint(cameraRows(), iconInks());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixels()[static_cast<std::size_t>(y) * picture.width() + x] != 0)
                canvas.blend(left + x, top + y, picture.colourAt(x, y), 1);
        }
    }
}

// How much of the glyph covers the point (x, y) in glyph cells: the cells sampled bilinearly, then
// sharpened around one half, which rounds the corners and smooths the diagonals.
double coverage(const Glyph& glyph, double x, double y) {
    const auto cell = [&glyph](int cx, int cy) {
        if (cx < 0 || cy < 0 || cx >= 5 || cy >= 9)
            return 0.0;
        return glyph.rows[cy][cx] == '#' ? 1.0 : 0.0;
    };
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    const double value = (cell(x0, y0) * (1 - fx) + cell(x0 + 1, y0) * fx) * (1 - fy) +
                         (cell(x0, y0 + 1) * (1 - fx) + cell(x0 + 1, y0 + 1) * fx) * fy;
    return std::clamp((value - 0.5) * 3 + 0.5, 0.0, 1.0);
}

void drawGlyph(Canvas& canvas, const Glyph& glyph, int left, int top, Rgb colour, double opacity) {
    for (int py = -kGlyphScale; py < 10 * kGlyphScale; ++py) {
        for (int px = -kGlyphScale; px < 6 * kGlyphScale; ++px) {
            const double gx = (px + 0.5) / kGlyphScale - 0.5;
            const double gy = (py + 0.5) / kGlyphScale - 0.5;
            canvas.blend(left + px, top + py, colour, opacity * coverage(glyph, gx, gy));
        }
    }
}

void drawName(Canvas& canvas, int left, int top) {
    for (int pass = 0; pass < 2; ++pass) {
        int x = left;
        for (const char letter : kName) {
            const auto glyph = std::find_if(kGlyphs.begin(), kGlyphs.end(),
                                            [letter](const Glyph& g) { return g.letter == letter; });
            if (glyph != kGlyphs.end()) {
                if (pass == 0)
                    drawGlyph(canvas, *glyph, x + 2, top + 2, {0, 0, 0}, 0.45);  // shadow
                else
                    drawGlyph(canvas, *glyph, x, top, {255, 255, 255}, 1.0);
            }
            x += kGlyphAdvance;
        }
    }
    // A warm line under the name, fading out to the right.
    const int length = static_cast<int>(kName.size()) * kGlyphAdvance - kGlyphScale;
    for (int x = 0; x < length; ++x) {
        const double fade = 1 - x / double(length);
        canvas.blend(left + x, top + 38, {240, 140, 30}, 0.95 * fade);
        canvas.blend(left + x, top + 39, {240, 140, 30}, 0.60 * fade);
    }
}

// Three small pictures on a strip of film: a sunset, green hills, a sail on the sea.
void drawFilm(Canvas& canvas, int left, int top, int right, int bottom) {
    canvas.fill(left, top, right, bottom, {28, 28, 32});
    for (int x = left + 3; x + 5 <= right - 2; x += 9) {
        canvas.fill(x, top + 2, x + 5, top + 5, {205, 205, 195});
        canvas.fill(x, bottom - 5, x + 5, bottom - 2, {205, 205, 195});
    }
    const int frameTop = top + 7;
    const int frameBottom = bottom - 7;
    const int frameHeight = frameBottom - frameTop;
    const int frameWidth = (right - left - 4 * 4) / 3;
    for (int frame = 0; frame < 3; ++frame) {
        const int x0 = left + 4 + frame * (frameWidth + 4);
        for (int y = 0; y < frameHeight; ++y) {
            const double v = y / double(frameHeight - 1);
            for (int x = 0; x < frameWidth; ++x) {
                const double u = x / double(frameWidth - 1);
                Rgb colour;
                if (frame == 0) {
                    colour = mix({250, 170, 70}, {120, 50, 110}, v);
                    const double sun = std::hypot(u - 0.62, (v - 0.55) * frameHeight / frameWidth);
                    if (sun < 0.16)
                        colour = mix({255, 230, 120}, colour, std::max(0.0, (sun - 0.12) / 0.04));
                } else if (frame == 1) {
                    const double hill = 0.55 + 0.15 * std::sin(u * 5.5 + 0.8);
                    colour = v < hill ? mix({150, 200, 240}, {210, 230, 250}, v / hill)
                                      : mix({80, 160, 70}, {40, 100, 45}, (v - hill) / (1 - hill));
                } else {
                    colour = v < 0.5 ? mix({170, 210, 245}, {220, 235, 250}, v * 2)
                                     : mix({40, 110, 170}, {20, 60, 120}, (v - 0.5) * 2);
                    const bool sail = v > 0.18 && v < 0.48 && u > 0.45 && u < 0.45 + (v - 0.18) * 0.9;
                    const bool hull = v >= 0.48 && v < 0.56 && u > 0.38 && u < 0.78;
                    if (sail)
                        colour = {250, 250, 250};
                    if (hull)
                        colour = {150, 60, 40};
                }
                canvas.blend(x0 + x, frameTop + y, colour, 1);
            }
        }
    }
}

}  // namespace

Picture drawHeaderBanner() {
    Canvas canvas;
    drawBackground(canvas);
    drawCamera(canvas, 10, 9);
    drawName(canvas, 54, 5);
    drawFilm(canvas, 258, 8, 372, 42);
    return Picture::fromRgb(kWidth, kHeight, std::move(canvas.rgb));
}

}  // namespace builtin_drawing
