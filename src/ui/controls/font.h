// A font as the windows ask for it: face name, character height, weight, underline.
#pragma once

#include <string>

namespace ui {

struct Font {
    static constexpr int kNormal = 400;
    static constexpr int kBold = 700;

    // Face name as the windows know it ("Arial", "Courier new", "MS Shell Dlg"); the backend maps it to
    // an installed face with the same metrics.
    std::string face;
    // Negative: the character height in pixels (without internal leading); positive: points.
    int height = 0;
    int weight = kNormal;
    bool underline = false;

    bool bold() const { return weight >= kBold; }
    friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace ui
