// Points, sizes and rectangles of the windows, and the conversion of dialog units into pixels.
//
// Templates place controls in dialog units: a quarter of the dialog font's average character width
// horizontally, an eighth of its character height vertically. Everything the windows measure at run time
// is in pixels.
#pragma once

namespace ui {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The pixels of one average character of the dialog font: the base of the dialog units. 6 by 13 is the
// base of the 8-point dialog font on a 96 dpi screen.
inline constexpr Size kStandardDialogBase{6, 13};

// a * b / c rounded to the nearest integer, halves away from zero.
constexpr int mulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

constexpr Rect dialogUnitsToPixels(const Rect& units, Size base) {
    return {mulDiv(units.x, base.width, 4), mulDiv(units.y, base.height, 8),
            mulDiv(units.width, base.width, 4), mulDiv(units.height, base.height, 8)};
}

constexpr Size dialogUnitsToPixels(const Size& units, Size base) {
    return {mulDiv(units.width, base.width, 4), mulDiv(units.height, base.height, 8)};
}

}  // namespace ui
