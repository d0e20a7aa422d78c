#include "ui/button_icons.h"

#include <gtest/gtest.h>

#include "image/builtin_pictures.h"
#include "ui/controls/headless/headless_desktop.h"

namespace {

using ui::headless::HeadlessButton;
using ui::headless::HeadlessDesktop;

ui::DialogTemplate buttonWindow() {
    ui::DialogTemplate t;
    t.id = 1;
    t.units = {200, 40};
    // 136 by 14 units: 204 by 23 pixels.
    t.controls = {{5, ui::ControlKind::PushButton, {1, 1, 136, 14}, 0, "Odeslat"}};
    return t;
}

TEST(ButtonIcons, DrawsThePictureOnBothSidesOrOnceOnTheLeft) {
    struct Row {
        const char* name;
        int resourceId;
        int mode;
        std::vector<std::pair<int, int>> places;
    };
    const Row rows[] = {
        {"both sides", builtin::kSendIcon, CButtonIcons::kBothSides, {{10, 2}, {204 - 28, 2}}},
        {"left only", builtin::kHelpIcon, CButtonIcons::kLeftOnly, {{4, 2}}},
        {"any other mode", builtin::kHelpIcon, 7, {{4, 2}}},
        {"no picture", 0, CButtonIcons::kBothSides, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HeadlessDesktop desktop;
        ui::Dialog dialog;
        auto window = desktop.open(dialog, buttonWindow());
        auto& button = static_cast<HeadlessButton&>(window->button(5));
        CButtonIcons icons;
        icons.Attach(button);
        const int before = button.redraws();
        icons.SetIcon(row.resourceId, row.mode);
        EXPECT_EQ(button.redraws(), before + 1);  // setting the icon repaints the button
        std::vector<std::pair<int, int>> places;
        for (const auto& drawn : button.lastPainting()) {
            places.emplace_back(drawn.x, drawn.y);
            EXPECT_EQ(drawn.picture.width(), 17);
            EXPECT_EQ(drawn.picture.height(), 17);
            EXPECT_EQ(drawn.picture.transparentIndex(), 0);
        }
        EXPECT_EQ(places, row.places);
    }
}

TEST(ButtonIcons, ChangingTheIconDrawsTheNewPicture) {
    HeadlessDesktop desktop;
    ui::Dialog dialog;
    auto window = desktop.open(dialog, buttonWindow());
    auto& button = static_cast<HeadlessButton&>(window->button(5));
    CButtonIcons icons;
    icons.Attach(button);
    icons.SetIcon(builtin::kAddIcon, CButtonIcons::kBothSides);
    const Picture add = button.lastPainting().at(0).picture;
    icons.SetIcon(builtin::kRemoveIcon, CButtonIcons::kBothSides);
    ASSERT_FALSE(button.lastPainting().empty());
    EXPECT_EQ(icons.resourceId(), builtin::kRemoveIcon);
    const Picture remove = button.lastPainting().at(0).picture;
    bool differs = false;
    for (int y = 0; y < 17 && !differs; ++y)
        for (int x = 0; x < 17 && !differs; ++x)
            differs = !(add.colourAt(x, y) == remove.colourAt(x, y));
    EXPECT_TRUE(differs);
}

}  // namespace
