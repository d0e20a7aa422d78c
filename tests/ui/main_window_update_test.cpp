// The update from the lab as the main window runs it, against the lab server running in-process: at
// start-up after a kept order and on "Aktualizace"; the news message; a stopped server; a picture the
// lab withdrew; a second press while the first update waits.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>

#include "../image/picture_files.h"
#include "app/ui_texts.h"
#include "buildinfo/build_constants.h"
#include "image/builtin_pictures.h"
#include "image/header_picture.h"
#include "labserver/lab_server.h"
#include "main_window_fixture.h"
#include "ui/lab_update_hook.h"

namespace {

namespace fs = std::filesystem;
using namespace main_ids;
using namespace std::chrono_literals;
using main_window_test::MainWindowTest;
using ui::headless::HeadlessWindow;

class MainWindowUpdate : public MainWindowTest {
  protected:
    MainWindowUpdate() : data_(fs::path(folder_.path()) / "lab") {
        fs::copy(labserver::demoDataFolder(), data_, fs::copy_options::recursive);
        labserver::LabServerOptions options;
        options.dataFolder = data_;
        server_ = std::make_unique<labserver::LabServer>(options);
        EXPECT_TRUE(server_->start(0));
        request_.SetServerUrl(server_->url());
        request_.SetTimeLimits({10s, 10s});
        hooks_.runUpdate = labUpdateHook(1ms);
    }

    std::string published(std::string_view name) const {
        return folder_.read("lab/public/" + std::string(build::kVersion) + "/" + std::string(name));
    }
    // The header picture the window drew at its last painting.
    Picture drawnHeader(HeadlessWindow& window) {
        window.paint();
        for (const auto& drawn : window.lastPainting()) {
            if (drawn.x == 2 && drawn.y == 2)
                return drawn.picture;
        }
        return {};
    }
    bool isBuiltInHeader(const Picture& picture) {
        Picture builtIn = builtinPicture(builtin::kHeaderBanner);
        builtIn.thumbnail(HeaderPicture::kWidth, HeaderPicture::kHeight, HeaderPicture::kBackground);
        return picture.isValid() && test_pictures::meanDifference(picture, builtIn) == 0;
    }

    fs::path data_;
    std::unique_ptr<labserver::LabServer> server_;
};

TEST_F(MainWindowUpdate, TheNewsMessageAppearsAtStartUpAndATickedCloseKeepsItAway) {
    keepOrder("");
    desktop_.onModal(res::kNewsDialog, [&](HeadlessWindow& news) {
        EXPECT_EQ(news.label(news_ids::kTitle).text(), " Vítejte v laboratoři Fotolab Demo"_cz);
        EXPECT_EQ(news.label(news_ids::kLink).text(), std::string(build::kServerUrl) + "/cenik.php");
        news.click(news_ids::kLink);
        news.click(news_ids::kDontShowAgain);
        news.click(news_ids::kClose);
    });
    auto window = open();
    EXPECT_EQ(desktop_.openedWithShell(),
              std::vector<std::string>{std::string(build::kServerUrl) + "/cenik.php"});
    EXPECT_EQ(window->label(kStatus).text(), "Hotovo");
    EXPECT_EQ(workingFile("snapord2.ini"), published("snapord2.ini"));
    EXPECT_EQ(workingFile("hlavicka.jpg"), published("hlavicka.jpg"));
    EXPECT_EQ(workingFile("message.id"), "1\n");
    EXPECT_FALSE(workingFileExists("message.txt"));
    // The lists come from the lab's catalogue.
    EXPECT_EQ(window->combo(kFormat).itemText(0), "9 x 13 cm");
    EXPECT_FALSE(isBuiltInHeader(drawnHeader(*window)));
    window->pressEscape();
    window.reset();

    // The next start fetches the message again, and does not show it.
    window = open();
    EXPECT_EQ(window->label(kStatus).text(), "Hotovo");
    EXPECT_EQ(desktop_.modalRuns(), (std::vector<int>{res::kNewsDialog, res::kNewsDialog}));
    EXPECT_EQ(desktop_.unusedScripts(), 0u);
    EXPECT_FALSE(workingFileExists("message.txt"));
}

TEST_F(MainWindowUpdate, WithTheServerStoppedTheUpdateFailsAndTheListsStayFilled) {
    auto window = open();
    const std::string catalogue = workingFile("snapord2.ini");
    ASSERT_EQ(window->combo(kFormat).count(), 2);
    server_->stop();

    window->click(kUpdate);
    EXPECT_EQ(window->label(kStatus).text(),
              "Při aktualizaci došlo k chybě, použiji dříve uložené údaje."_cz);
    EXPECT_EQ(workingFile("snapord2.ini"), catalogue);
    EXPECT_EQ(window->combo(kFormat).count(), 2);
    EXPECT_EQ(window->combo(kFormat).itemText(window->combo(kFormat).selection()), "10 x 15 cm");
    EXPECT_EQ(window->combo(kPaper).count(), 2);
    EXPECT_TRUE(window->button(kPhotobook).isEnabled());
    EXPECT_TRUE(desktop_.modalRuns().empty());
}

TEST_F(MainWindowUpdate, APictureTheLabWithdrewIsDeletedAndTheNextStartShowsTheBuiltInHeader) {
    folder_.write("data/Snapord/" + std::string(build::kVersion) + "/hlavicka.jpg",
                  published("hlavicka.jpg"));
    fs::remove(data_ / "public" / std::string(build::kVersion) / "hlavicka.jpg");
    desktop_.onModal(res::kNewsDialog, [](HeadlessWindow& news) { news.click(news_ids::kClose); });
    auto window = open();
    EXPECT_FALSE(isBuiltInHeader(drawnHeader(*window)));

    window->click(kUpdate);
    EXPECT_EQ(window->label(kStatus).text(), "Hotovo");
    EXPECT_FALSE(workingFileExists("hlavicka.jpg"));
    EXPECT_FALSE(workingFileExists("hlavicka.dnl"));
    window->pressEscape();  // which keeps an (empty) order: the next start updates again
    window.reset();

    desktop_.onModal(res::kNewsDialog, [](HeadlessWindow& news) { news.click(news_ids::kClose); });
    window = open();
    EXPECT_FALSE(workingFileExists("hlavicka.jpg"));
    EXPECT_TRUE(isBuiltInHeader(drawnHeader(*window)));
}

TEST_F(MainWindowUpdate, ASecondPressWhileTheFirstUpdateWaitsFailsAtOnceAndTheFirstGoesOn) {
    auto window = open();
    // The first download is held on its worker until the second press has been handled.
    std::promise<void> handled;
    std::shared_future<void> released = handled.get_future().share();
    request_.SetStepObserver([released] { released.wait_for(30s); });
    std::string statusAfterSecond;
    bool sendingBlockedMeanwhile = false;
    desktop_.atNextPump([&] {
        sendingBlockedMeanwhile = !window->button(kPhotobook).isEnabled();
        window->click(kUpdate);
        statusAfterSecond = window->label(kStatus).text();
        handled.set_value();
    });
    desktop_.onModal(res::kNewsDialog, [](HeadlessWindow& news) { news.click(news_ids::kClose); });

    window->click(kUpdate);
    EXPECT_TRUE(sendingBlockedMeanwhile);
    EXPECT_EQ(statusAfterSecond, "Při aktualizaci došlo k chybě, použiji dříve uložené údaje."_cz);
    EXPECT_EQ(window->label(kStatus).text(), "Hotovo");
    EXPECT_EQ(workingFile("snapord2.ini"), published("snapord2.ini"));
    EXPECT_EQ(window->combo(kFormat).itemText(0), "9 x 13 cm");
    EXPECT_EQ(desktop_.modalRuns(), std::vector<int>{res::kNewsDialog});
}

}  // namespace
