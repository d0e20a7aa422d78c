// The preview loader hands the UI thread the result of the latest load only, and nothing once it is
// gone.
#include "ui/preview_loader.h"

#include <gtest/gtest.h>

#include "../image/picture_files.h"
#include "support/temp_folder.h"
#include "ui/controls/headless/headless_desktop.h"

namespace {

using testing_support::TempFolder;

TEST(PreviewLoader, DeliversTheLatestLoadOnTheUiThreadAndNothingOnceItIsGone) {
    TempFolder folder;
    test_pictures::writeJpeg(folder.file("a.jpg"), test_pictures::gradient(40, 30));
    test_pictures::writeJpeg(folder.file("b.jpg"), test_pictures::gradient(60, 20));
    ui::headless::HeadlessDesktop desktop;
    std::vector<std::string> delivered;
    {
        PreviewLoader loader(desktop, [&](const std::string& path, PreviewPicture preview) {
            delivered.push_back(path + " " + std::to_string(preview.width));
        });
        loader.load(folder.file("a.jpg"));
        loader.waitUntilPosted();
        EXPECT_TRUE(delivered.empty());  // posted, waiting for the UI thread
        loader.load(folder.file("b.jpg"));
        loader.waitUntilPosted();
        desktop.pumpEvents();
        EXPECT_EQ(delivered, std::vector<std::string>{folder.file("b.jpg") + " 60"});

        loader.load(folder.file("a.jpg"));
        loader.waitUntilPosted();
    }
    desktop.pumpEvents();
    EXPECT_EQ(delivered.size(), 1u);
}

}  // namespace
