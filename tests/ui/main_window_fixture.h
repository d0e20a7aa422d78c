// A main window on the tests' desktop, started in a working folder of its own inside a temporary
// application-data folder, with a small catalogue and a folder of photographs the tree shows.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "../image/picture_files.h"
#include "buildinfo/build_constants.h"
#include "http/raw_server.h"
#include "platform/fake_shell_namespace.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"
#include "ui/controls/headless/headless_desktop.h"
#include "ui/dialog_resources.h"
#include "ui/main_order_dlg.h"
#include "ui/resource_ids.h"

namespace main_window_test {

// formats 10x15 (the default) and 13x18, papers lesk (default) and mat, borders bez (default) and
// okraj, and two special treatments, the first preset.
inline std::string catalogue() {
    return std::string(
        "[format]\r\nname=10 x 15 cm\r\nabbrev=10x15\r\nid=2\r\ndefault=1\r\n"
        "name=13 x 18 cm\r\nabbrev=13x18\r\nid=3\r\ndefault=0\r\n"
        "[surface]\r\nname=Lesklý\r\nabbrev=lesk\r\nid=1\r\ndefault=1\r\n"
        "name=Matný\r\nabbrev=mat\r\nid=2\r\ndefault=0\r\n"
        "[margin]\r\nname=Bez okraje\r\nabbrev=bez\r\nid=1\r\ndefault=1\r\n"
        "name=S okrajem\r\nabbrev=okraj\r\nid=2\r\ndefault=0\r\n"
        "[specialfoto]\r\nname=Automatické úpravy\r\nabbrev=auto\r\nid=1\r\ndefault=1\r\n"
        "name=Červené oči\r\nabbrev=oci\r\nid=2\r\ndefault=0\r\n"_cz);
}

// The first 33 columns of rows with the catalogue's defaults and one copy, fitted by hand.
inline constexpr std::string_view kDefaultColumns = "  10x15     lesk    bez     1    ";

class MainWindowTest : public testing::Test {
  protected:
    MainWindowTest()
        : start_(folder_.path()), environment_([this](const char* name) -> std::optional<std::string> {
              if (std::string_view(name) == "XDG_DATA_HOME")
                  return folder_.path() + "/data";
              return std::nullopt;
          }) {
        // The build's lab address may be served on this machine (a demo lab server): the windows' own
        // lab, where a test does not start one, is a loopback port on which nothing listens.
        request_.SetServerUrl("http://127.0.0.1:" + std::to_string(http_testing::unusedPort()));
        shell_.addFolder("", "Domovská složka"_cz, "/home/jana", true);
        shell_.addFolder("", "Fotky", photos(), false);
        shell_.addFolder("", "Počítač"_cz, "::computer", true);
        std::filesystem::create_directory(folder_.path() + "/data");  // the application-data folder
        std::filesystem::create_directory(photos());
        folder_.write("snapord2.ini", catalogue());
    }

    // Builds the main window with the hooks set so far and runs its start-up, then lets the event loop
    // run what start-up left for the shown window (the missing-files question).
    std::unique_ptr<ui::headless::HeadlessWindow> open() { return open(mainWindowTemplate()); }
    // The same on a template of the test's own.
    std::unique_ptr<ui::headless::HeadlessWindow> open(const ui::DialogTemplate& layout) {
        dialog_ = std::make_unique<CMainOrderDlg>(document_, request_, shell_, environment_, hooks_);
        auto window = desktop_.open(*dialog_, layout);
        desktop_.pumpEvents();
        return window;
    }
    CMainOrderDlg& dialog() { return *dialog_; }
    // Lets the picture being loaded for the preview arrive: waits for the loader's worker, then
    // dispatches its result as the event loop would.
    void settlePreview() {
        dialog().WaitForPreview();
        desktop_.pumpEvents();
    }

    std::string photos() const { return folder_.path() + "/fotky"; }
    std::string photo(std::string_view name) const { return photos() + "/" + std::string(name); }
    // A real JPEG of width x height pixels in the photographs' folder.
    void writePhoto(std::string_view name, int width = 40, int height = 30) const {
        test_pictures::writeJpeg(photo(name), test_pictures::gradient(width, height));
    }

    std::string workingPath(std::string_view name) const {
        return folder_.path() + "/data/Snapord/" + std::string(build::kVersion) + "/" + std::string(name);
    }
    bool workingFileExists(std::string_view name) const {
        return folder_.exists("data/Snapord/" + std::string(build::kVersion) + "/" + std::string(name));
    }
    std::string workingFile(std::string_view name) const {
        return folder_.read("data/Snapord/" + std::string(build::kVersion) + "/" + std::string(name));
    }
    // An order in progress kept from the last run.
    void keepOrder(const std::string& content) const {
        folder_.write("data/Snapord/" + std::string(build::kVersion) + "/order.sno", content);
    }

    // Clicks the folder of that name under the desktop.
    void chooseFolder(ui::headless::HeadlessWindow& window, std::string_view displayName) const {
        auto& tree = window.tree(main_ids::kTree);
        const auto desktop = tree.children(ui::kNoTreeItem).at(0);
        for (ui::TreeItem item : tree.children(desktop)) {
            if (tree.itemText(item) == displayName) {
                window.clickTreeItem(main_ids::kTree, item);
                return;
            }
        }
        FAIL() << "no folder " << displayName;
    }

    std::vector<std::string> items(ui::ListBox& list) const {
        std::vector<std::string> texts;
        for (int i = 0; i < list.count(); ++i)
            texts.push_back(list.itemText(i));
        return texts;
    }

    testing_support::TempFolder folder_;
    testing_support::CurrentFolderScope start_;
    platform::EnvironmentLookup environment_;
    platform::FakeShellNamespace shell_{"Plocha"};
    ui::headless::HeadlessDesktop desktop_;
    OrderDocument document_;
    ServerRequest request_;
    MainWindowHooks hooks_;
    std::unique_ptr<CMainOrderDlg> dialog_;
};

}  // namespace main_window_test
