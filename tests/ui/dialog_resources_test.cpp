#include "ui/dialog_resources.h"

#include <gtest/gtest.h>

#include <set>

#include "ui/resource_ids.h"

namespace {

using ui::DialogTemplate;

TEST(DialogResources, EveryWindowHasUniqueIdsAndKeepsItsControlsInside) {
    const DialogTemplate* windows[] = {&aboutTemplate(), &mainWindowTemplate(), &orderParamsTemplate(),
                                       &sendingTemplate(), &newsTemplate()};
    for (const DialogTemplate* window : windows) {
        SCOPED_TRACE(window->id);
        std::set<int> ids;
        for (const ui::ControlTemplate& control : window->controls) {
            if (control.id != ui::kNoId) {
                EXPECT_TRUE(ids.insert(control.id).second) << "twice: " << control.id;
            }
            const ui::Rect shown = ui::visibleDialogUnits(control);
            EXPECT_GE(shown.x, 0) << control.id;
            EXPECT_GE(shown.y, 0) << control.id;
            EXPECT_LE(shown.right(), window->units.width) << control.id;
            EXPECT_LE(shown.bottom(), window->units.height) << control.id;
            EXPECT_GT(shown.width, 0) << control.id;
            EXPECT_GT(shown.height, 0) << control.id;
        }
    }
}

TEST(DialogResources, TheMainWindowHasRoomForThePreviewAndTheHeader) {
    const DialogTemplate& main = mainWindowTemplate();
    const ui::Rect frame =
        ui::dialogUnitsToPixels(main.find(main_ids::kPreview)->units, ui::kStandardDialogBase);
    // The preview is drawn at 2, 2 inside the frame; the header at 2, 2 in the window, above the tree.
    EXPECT_GE(frame.width, 2 + 400);
    EXPECT_GE(frame.height, 2 + 300);
    const ui::Rect tree = ui::dialogUnitsToPixels(main.find(main_ids::kTree)->units, ui::kStandardDialogBase);
    EXPECT_GE(tree.y, 2 + 50);
    EXPECT_GE(frame.x, 2 + 380);
}

TEST(DialogResources, ControlsStandWhereTheWindowsHaveAlwaysHadThem) {
    struct Row {
        const DialogTemplate& window;
        int id;
        ui::ControlKind kind;
        ui::Rect units;
    };
    using K = ui::ControlKind;
    const Row rows[] = {
        {mainWindowTemplate(), main_ids::kTree, K::TreeView, {1, 32, 127, 154}},
        {mainWindowTemplate(), main_ids::kOrderList, K::ListBox, {1, 213, 379, 122}},
        {mainWindowTemplate(), main_ids::kCopies, K::DigitsEdit, {419, 280, 32, 14}},
        {mainWindowTemplate(), main_ids::kHelp, K::PushButton, {509, 201, 17, 14}},
        {orderParamsTemplate(), params_ids::kShop, K::DropDownList, {12, 83, 247, 103}},
        {orderParamsTemplate(), params_ids::kHelpLink, K::Label, {7, 246, 259, 16}},
        {sendingTemplate(), sending_ids::kPassword, K::PasswordEdit, {212, 6, 72, 12}},
        {sendingTemplate(), sending_ids::kSend, K::DefaultButton, {171, 108, 113, 14}},
        {sendingTemplate(), sending_ids::kOverallBar, K::ProgressBar, {7, 40, 277, 14}},
        {newsTemplate(), news_ids::kClose, K::DefaultButton, {72, 98, 126, 14}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        const ui::ControlTemplate* control = row.window.find(row.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->kind, row.kind);
        EXPECT_EQ(control->units, row.units);
    }
    EXPECT_FALSE(orderParamsTemplate().has(ui::kSystemMenu));  // no close box
    EXPECT_TRUE(mainWindowTemplate().find(main_ids::kFileList)->has(ui::kSorted));
    EXPECT_FALSE(mainWindowTemplate().find(main_ids::kOrderList)->has(ui::kSorted));
}

}  // namespace
