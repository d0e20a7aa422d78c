// The update from the lab against the lab server running in-process, and against a raw loopback
// server for the replies the lab server never gives.
#include "transfer/lab_update.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <string>
#include <vector>

#include "app/ui_texts.h"
#include "buildinfo/build_constants.h"
#include "http/raw_server.h"
#include "in_process_lab.h"
#include "request_runner.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace transfer_testing;

// The windows as the update sees them: what it showed, and what the test does between looks.
class RecordingView final : public UpdateView {
  public:
    void ShowStatus(std::string_view text) override { statuses.emplace_back(text); }
    void ShowNewsMessage() override {
        newsShown.push_back(std::filesystem::exists("message.txt") ? readHere("message.txt") : "");
    }
    void BetweenLooks() override {
        ++looks;
        if (betweenLooks)
            betweenLooks();
    }

    static std::string readHere(const char* name) {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::vector<std::string> statuses;
    // The content of message.txt each time the message was to be shown.
    std::vector<std::string> newsShown;
    int looks = 0;
    std::function<void()> betweenLooks;
};

const std::string kOldCatalogue = "[format]\r\nname=stary\r\nabbrev=old\r\nid=9\r\ndefault=1\r\n";
const std::string kOldPicture = "old picture";

class LabUpdateTest : public InProcessLab {
  protected:
    LabUpdateTest() {
        temp_.write("work/snapord2.ini", kOldCatalogue);
        temp_.write("work/hlavicka.jpg", kOldPicture);
    }

    std::string publishedFile(std::string_view name) const {
        return temp_.read("data/public/" + std::string(build::kVersion) + "/" + std::string(name));
    }
    std::string localFile(std::string_view name) const { return temp_.read("work/" + std::string(name)); }
    bool localExists(std::string_view name) const { return temp_.exists("work/" + std::string(name)); }
    // No download is left under its temporary name.
    void expectNoDownloadsLeft() const {
        EXPECT_FALSE(localExists("snapord2.dnl"));
        EXPECT_FALSE(localExists("hlavicka.dnl"));
    }

    RecordingView view_;
};

TEST_F(LabUpdateTest, ACompleteUpdateReplacesTheLabsFilesAndShowsTheMessage) {
    LabUpdate update;
    EXPECT_EQ(update.RunUpdate(request_, view_), UpdateOutcome::Done);
    EXPECT_EQ(localFile("snapord2.ini"), publishedFile("snapord2.ini"));
    EXPECT_EQ(localFile("hlavicka.jpg"), publishedFile("hlavicka.jpg"));
    ASSERT_EQ(view_.newsShown.size(), 1u);
    EXPECT_EQ(view_.newsShown[0], publishedFile("message.txt"));
    EXPECT_EQ(view_.statuses, std::vector<std::string>{uiText(UiText::Done)});
    expectNoDownloadsLeft();
    // Three anonymous downloads, and the request as it was before.
    const auto lines = logLines(3);
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines)
        EXPECT_NE(line.find("POST /snapord2/standfile.php 200"), std::string::npos) << line;
    EXPECT_FALSE(request_.AnonymousDownload());
    EXPECT_EQ(request_.State(), RequestState::Idle);
}

TEST_F(LabUpdateTest, WithTheServerStoppedEverythingStaysAsItWas) {
    temp_.write("work/message.txt", "3 older\n\n");
    server_->stop();
    LabUpdate update;
    EXPECT_EQ(update.RunUpdate(request_, view_), UpdateOutcome::CatalogueKept);
    EXPECT_EQ(localFile("snapord2.ini"), kOldCatalogue);
    EXPECT_EQ(localFile("hlavicka.jpg"), kOldPicture);
    EXPECT_EQ(localFile("message.txt"), "3 older\n\n");
    EXPECT_TRUE(view_.newsShown.empty());
    EXPECT_EQ(view_.statuses, std::vector<std::string>{uiText(UiText::UpdateFailed)});
    expectNoDownloadsLeft();
}

TEST_F(LabUpdateTest, NoMessageOnTheServerShowsNone) {
    fs::remove(published("message.txt"));
    temp_.write("work/message.txt", "9 left by a broken download\n\n");
    LabUpdate update;
    EXPECT_EQ(update.RunUpdate(request_, view_), UpdateOutcome::Done);
    EXPECT_TRUE(view_.newsShown.empty());
    EXPECT_FALSE(localExists("message.txt"));
    EXPECT_EQ(view_.statuses, std::vector<std::string>{uiText(UiText::Done)});
}

TEST_F(LabUpdateTest, ACatalogueLargerThanAnyCatalogueIsRefused) {
    std::string huge = publishedFile("snapord2.ini") + "\r\n";
    huge.resize(5 * 1024 * 1024, ';');
    temp_.write("data/public/" + std::string(build::kVersion) + "/snapord2.ini", huge);
    LabUpdate update;
    EXPECT_EQ(update.RunUpdate(request_, view_), UpdateOutcome::CatalogueKept);
    EXPECT_EQ(localFile("snapord2.ini"), kOldCatalogue);
    EXPECT_EQ(localFile("hlavicka.jpg"), kOldPicture);
    EXPECT_EQ(view_.statuses, std::vector<std::string>{uiText(UiText::UpdateFailed)});
    EXPECT_EQ(logLines(1).size(), 1u);  // neither picture nor message was fetched
    expectNoDownloadsLeft();
}

TEST_F(LabUpdateTest, AReplyThatIsNoWholeCatalogueKeepsTheOldOne) {
    struct Row {
        const char* name;
        std::string reply;
    };
    const std::string catalogue = publishedFile("snapord2.ini");
    const Row rows[] = {
        {"closed in the middle of the body",
         "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(catalogue.size()) +
             "\r\nConnection: close\r\n\r\n" + catalogue.substr(0, catalogue.size() / 2)},
        {"a hotspot's page with a success status",
         httpReply("<html><body>Přihlaste se k síti Wi-Fi</body></html>")},
        {"an empty body", httpReply("")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        http_testing::RawServer raw({http_testing::replyWith(row.reply)});
        request_.SetServerUrl(raw.url(""));
        RecordingView view;
        LabUpdate update;
        EXPECT_EQ(update.RunUpdate(request_, view), UpdateOutcome::CatalogueKept);
        EXPECT_EQ(localFile("snapord2.ini"), kOldCatalogue);
        EXPECT_EQ(localFile("hlavicka.jpg"), kOldPicture);
        EXPECT_EQ(view.statuses, std::vector<std::string>{uiText(UiText::UpdateFailed)});
        EXPECT_EQ(raw.connectionCount(), 1u);
        expectNoDownloadsLeft();
    }
}

TEST_F(LabUpdateTest, ASecondUpdateWhileTheFirstWaitsFailsAtOnceAndTheFirstGoesOn) {
    // The first download is held on its worker until the second update has run, so the second one
    // certainly meets the first one waiting.
    std::promise<void> secondDone;
    std::shared_future<void> released = secondDone.get_future().share();
    request_.SetStepObserver([released] { released.wait_for(30s); });
    LabUpdate update(1ms);
    RecordingView second;
    UpdateOutcome secondOutcome = UpdateOutcome::Done;
    bool downloadKept = false;
    view_.betweenLooks = [&] {
        if (view_.looks != 1)
            return;
        // As if the first download had begun to write its file: the second update must leave it.
        temp_.write("work/snapord2.dnl", "[format]\r\n");
        secondOutcome = update.RunUpdate(request_, second);
        downloadKept = localExists("snapord2.dnl");
        secondDone.set_value();
    };
    EXPECT_EQ(update.RunUpdate(request_, view_), UpdateOutcome::Done);
    EXPECT_EQ(secondOutcome, UpdateOutcome::CatalogueKept);
    EXPECT_EQ(second.statuses, std::vector<std::string>{uiText(UiText::UpdateFailed)});
    EXPECT_EQ(second.looks, 0);
    EXPECT_TRUE(downloadKept);
    EXPECT_EQ(view_.statuses, std::vector<std::string>{uiText(UiText::Done)});
    EXPECT_EQ(localFile("snapord2.ini"), publishedFile("snapord2.ini"));
    EXPECT_EQ(view_.newsShown.size(), 1u);
    EXPECT_EQ(logLines(3).size(), 3u);  // the second update sent nothing
    expectNoDownloadsLeft();
}

}  // namespace
