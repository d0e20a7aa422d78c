// Drawing the built-in pictures from readable data: each picture is a list of character rows, one
// character per pixel, and a list of inks that tells the colour of each character. Internal to the
// image library.
#pragma once

#include <span>
#include <string_view>

#include "image/picture.h"

namespace builtin_drawing {

struct Ink {
    char key;
    Rgb colour;
};

// A palette picture of the rows, ink i giving palette index i; ink 0 is marked transparent. Empty when
// the rows are ragged or use a character that no ink has.
Picture paint(std::span<const std::string_view> rows, std::span<const Ink> inks);

// The 16 inks of the button pictures and of the window icon; '.' is transparent.
std::span<const Ink> iconInks();

// The camera of the window icon, 32 x 32 in iconInks(); the banner shows it too.
std::span<const std::string_view> cameraRows();

// The 380 x 50 header banner.
Picture drawHeaderBanner();

}  // namespace builtin_drawing
