// Pictures compiled into the program, addressed by their resource ids.
//
// The button pictures are 17 x 17 pixels with a 16-colour palette whose index 0 is transparent (set as
// the transparent index); the header banner is 380 x 50 pixels, 24-bit; the window icon is a palette
// picture with index 0 transparent. Every call makes a fresh copy; any thread may call.
#pragma once

#include "image/picture.h"

namespace builtin {

inline constexpr int kWindowIcon = 128;    // 32 x 32
inline constexpr int kHeaderBanner = 132;  // 380 x 50
inline constexpr int kAddIcon = 134;       // a green plus: add to the order
inline constexpr int kRemoveIcon = 135;    // a red cross: remove from the order
inline constexpr int kSendIcon = 136;      // a triangle pointing right: go on, send
inline constexpr int kStornoIcon = 137;    // a stop sign: cancel
inline constexpr int kBackIcon = 138;      // a triangle pointing left: back
inline constexpr int kSaveIcon = 139;      // a disk: save
inline constexpr int kWebIcon = 140;       // a globe: a page of the lab's web site
inline constexpr int kHelpIcon = 141;      // a question mark: help

inline constexpr int kButtonIconSize = 17;

}  // namespace builtin

// The picture of a resource id; an empty picture for an id that names none.
Picture builtinPicture(int resourceId);

// The window icon at 16 x 16 pixels, for places that show the small size.
Picture builtinSmallWindowIcon();
