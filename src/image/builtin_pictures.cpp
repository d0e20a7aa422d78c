// The built-in button pictures and window icon, drawn as character rows (see builtin_drawing.h).
#include "image/builtin_pictures.h"

#include <array>
#include <vector>

#include "image/builtin_drawing.h"

namespace builtin_drawing {
namespace {

constexpr std::array<Ink, 16> kIconInks = {{
    {'.', {212, 208, 200}},  // transparent: the button face shows through
    {'k', {0, 0, 0}},
    {'r', {140, 20, 20}},
    {'R', {225, 40, 40}},
    {'g', {20, 110, 30}},
    {'G', {70, 190, 70}},
    {'b', {20, 40, 120}},
    {'B', {50, 100, 215}},
    {'c', {140, 200, 245}},
    {'y', {250, 215, 60}},
    {'o', {240, 140, 30}},
    {'d', {100, 100, 100}},
    {'s', {190, 190, 190}},
    {'w', {255, 255, 255}},
    {'n', {150, 100, 50}},
    {'l', {230, 230, 230}},
}};

constexpr std::string_view kAdd[] = {
    ".................", ".................", "......ggggg......", "......gGGGg......", "......gGGGg......",
    "......gGGGg......", "..gggggGGGggggg..", "..gGGGGGGGGGGGg..", "..gGGGGGGGGGGGg..", "..gGGGGGGGGGGGg..",
    "..gggggGGGggggg..", "......gGGGg......", "......gGGGg......", "......gGGGg......", "......ggggg......",
    ".................", ".................",
};

constexpr std::string_view kRemove[] = {
    ".................", ".................", "..rr.........rr..", "..rRr.......rRr..", "...rRr.....rRr...",
    "....rRr...rRr....", ".....rRr.rRr.....", "......rRrRr......", ".......rRr.......", "......rRrRr......",
    ".....rRr.rRr.....", "....rRr...rRr....", "...rRr.....rRr...", "..rRr.......rRr..", "..rr.........rr..",
    ".................", ".................",
};

constexpr std::string_view kSend[] = {
    ".................", ".....gg..........", ".....gGg.........", ".....gGGg........", ".....gGGGg.......",
    ".....gGGGGg......", ".....gGGGGGg.....", ".....gGGGGGGg....", ".....gGGGGGGGg...", ".....gGGGGGGg....",
    ".....gGGGGGg.....", ".....gGGGGg......", ".....gGGGg.......", ".....gGGg........", ".....gGg.........",
    ".....gg..........", ".................",
};

constexpr std::string_view kStorno[] = {
    ".................", ".....rrrrrrr.....", "....rRRRRRRRr....", "...rRRRRRRRRRr...", "..rRRRRRRRRRRRr..",
    ".rRRRRRRRRRRRRRr.", ".rRRRRRRRRRRRRRr.", ".rRRwwwwwwwwwRRr.", ".rRRwwwwwwwwwRRr.", ".rRRwwwwwwwwwRRr.",
    ".rRRRRRRRRRRRRRr.", ".rRRRRRRRRRRRRRr.", "..rRRRRRRRRRRRr..", "...rRRRRRRRRRr...", "....rRRRRRRRr....",
    ".....rrrrrrr.....", ".................",
};

constexpr std::string_view kBack[] = {
    ".................", "..........gg.....", ".........gGg.....", "........gGGg.....", ".......gGGGg.....",
    "......gGGGGg.....", ".....gGGGGGg.....", "....gGGGGGGg.....", "...gGGGGGGGg.....", "....gGGGGGGg.....",
    ".....gGGGGGg.....", "......gGGGGg.....", ".......gGGGg.....", "........gGGg.....", ".........gGg.....",
    "..........gg.....", ".................",
};

constexpr std::string_view kSave[] = {
    ".................", ".bbbbbbbbbbbbbb..", ".bBwwwwwwwwwwBbb.", ".bBwddddddddwBBb.", ".bBwwwwwwwwwwBBb.",
    ".bBwddddddddwBBb.", ".bBwwwwwwwwwwBBb.", ".bBBBBBBBBBBBBBb.", ".bBBBBBBBBBBBBBb.", ".bBBBBBBBBBBBBBb.",
    ".bBBsssssssssBBb.", ".bBBsssbbssssBBb.", ".bBBsssbbssssBBb.", ".bBBsssbbssssBBb.", ".bBBsssssssssBBb.",
    ".bbbbbbbbbbbbbbb.", ".................",
};

constexpr std::string_view kWeb[] = {
    ".................", "......bbbbb......", "....bbBBBBBbb....", "...bBBGGBBBBBb...", "..bBGGGGBBBGGBb..",
    "..bBGGGGGBBGGBb..", ".bBBBGGGGBBBBBBb.", ".bBBBBGGBBBBGGBb.", ".bBBBBBGBBBGGGBb.", ".bBBBBBBBBGGGGBb.",
    ".bBBBBBBBBBGGBBb.", "..bBBGGBBBBGBBb..", "..bBBBGGBBBBBBb..", "...bBBBGBBBBBb...", "....bbBBBBBbb....",
    "......bbbbb......", ".................",
};

constexpr std::string_view kHelp[] = {
    ".................", "......bbbbb......", "....bbBBBBBbb....", "...bBBcBBBBBBb...", "..bBcBBwwwwBBBb..",
    "..bBBBwwBBwwBBb..", ".bBBBBBBBBwwBBBb.", ".bBBBBBBBwwBBBBb.", ".bBBBBBBwwBBBBBb.", ".bBBBBBBwwBBBBBb.",
    ".bBBBBBBBBBBBBBb.", "..bBBBBBwwBBBBb..", "..bBBBBBwwBBBBb..", "...bBBBBBBBBBb...", "....bbBBBBBbb....",
    "......bbbbb......", ".................",
};

constexpr std::string_view kCamera[] = {
    "................................", "................................",
    "................................", "................................",
    "...........kkkkkkkkkk...........", "..........kddddddddddk..........",
    "..........kddddddddddk..rrr.....", "..........kddddddddddk.rRRRr....",
    "...kkkkkkkkkkkkkkkkkkkkkkkkkk...", "..kddddddddddddddddddddddddddk..",
    ".kddwccccdddddddddddddddddddddk.", ".kddcccccddddkkkkkkdddddddddddk.",
    ".kdsssssssskksssssskkssssssssdk.", ".kddddddddkkssskkssskkddddddddk.",
    ".kdddddddkksskbbbbksskkdddddddk.", ".kdddddddksskbbbbbbksskdddddddk.",
    ".kddddddksskbwcBBBbbksskddddddk.", ".kddddddkssbbccBBBBbbsskddddddk.",
    ".kddddddkskbbBBBBBBbbkskddddddk.", ".kddddddkskbbBBBBBBbbkskddddddk.",
    ".kddddddkssbbBBBBBBbbsskddddddk.", ".kddddddksskbbBBBBbbksskddddddk.",
    ".kdddddddksskbbbbbbksskdddddddk.", ".kdddddddkksskbbbbksskkdddddddk.",
    ".kddddddddkkssskkssskkddddddddk.", ".kdddddddddkksssssskkdddddddddk.",
    "..kddddddddddkkkkkkddddddddddk..", "...kkkkkkkkkkkkkkkkkkkkkkkkkk...",
    "................................", "................................",
    "................................", "................................",
};

constexpr std::string_view kSmallCamera[] = {
    "................", "................", "......kkkk......", ".....kddddk.rrr.",
    ".kkkkkkkkkkkkkk.", "kddddddddddddddk", "kdccdkksskkddddk", "kddddksbbskddddk",
    "kdddkscBBbskdddk", "kdddksbBBbskdddk", "kdddksbBBbskdddk", "kddddksbbskddddk",
    "kddddkksskkddddk", "kddddddddddddddk", ".kkkkkkkkkkkkkk.", "................",
};

}  // namespace

Picture paint(std::span<const std::string_view> rows, std::span<const Ink> inks) {
    if (rows.empty() || rows.front().empty() || inks.empty() || inks.size() > 256)
        return {};
    const std::size_t width = rows.front().size();
    std::array<int, 256> indexOf;
    indexOf.fill(-1);
    std::vector<Rgb> palette;
    for (const auto& ink : inks) {
        indexOf[static_cast<unsigned char>(ink.key)] = static_cast<int>(palette.size());
        palette.push_back(ink.colour);
    }
    std::vector<std::uint8_t> indices;
    indices.reserve(width * rows.size());
    for (const auto row : rows) {
        if (row.size() != width)
            return {};
        for (const char key : row) {
            const int index = indexOf[static_cast<unsigned char>(key)];
            if (index < 0)
                return {};
            indices.push_back(static_cast<std::uint8_t>(index));
        }
    }
    auto picture = Picture::fromPalette(static_cast<int>(width), static_cast<int>(rows.size()),
                                        std::move(indices), std::move(palette));
    picture.setTransparentIndex(0);
    return picture;
}

std::span<const Ink> iconInks() {
    return kIconInks;
}

std::span<const std::string_view> cameraRows() {
    return kCamera;
}

}  // namespace builtin_drawing

Picture builtinPicture(int resourceId) {
    using builtin_drawing::paint;
    const auto inks = builtin_drawing::iconInks();
    switch (resourceId) {
        case builtin::kWindowIcon:
            return paint(builtin_drawing::kCamera, inks);
        case builtin::kHeaderBanner:
            return builtin_drawing::drawHeaderBanner();
        case builtin::kAddIcon:
            return paint(builtin_drawing::kAdd, inks);
        case builtin::kRemoveIcon:
            return paint(builtin_drawing::kRemove, inks);
        case builtin::kSendIcon:
            return paint(builtin_drawing::kSend, inks);
        case builtin::kStornoIcon:
            return paint(builtin_drawing::kStorno, inks);
        case builtin::kBackIcon:
            return paint(builtin_drawing::kBack, inks);
        case builtin::kSaveIcon:
            return paint(builtin_drawing::kSave, inks);
        case builtin::kWebIcon:
            return paint(builtin_drawing::kWeb, inks);
        case builtin::kHelpIcon:
            return paint(builtin_drawing::kHelp, inks);
        default:
            return {};
    }
}

Picture builtinSmallWindowIcon() {
    return builtin_drawing::paint(builtin_drawing::kSmallCamera, builtin_drawing::iconInks());
}
