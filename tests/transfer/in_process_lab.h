// A lab server running in-process on a copy of the demo data (customer "demo", password "demo",
// number 1001), a working folder as the current directory, and a server request to the server.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "buildinfo/build_constants.h"
#include "labserver/lab_server.h"
#include "request_runner.h"
#include "support/temp_folder.h"
#include "transfer/server_request.h"

namespace transfer_testing {

class InProcessLab : public ::testing::Test {
  private:
    // Declared before the server, so that they outlive it: its threads log until it has stopped.
    std::mutex logMutex_;
    std::condition_variable logged_;
    std::vector<std::string> log_;

  protected:
    InProcessLab() : data_(std::filesystem::path(temp_.path()) / "data"), work_(temp_.path() + "/work") {
        namespace fs = std::filesystem;
        fs::copy(labserver::demoDataFolder(), data_, fs::copy_options::recursive);
        fs::remove_all(data_ / "orders");
        fs::remove_all(data_ / "incoming");
        fs::create_directory(work_);
        labserver::LabServerOptions options;
        options.dataFolder = data_;
        options.log = [this](const std::string& line) {
            {
                std::lock_guard lock(logMutex_);
                log_.push_back(line);
            }
            logged_.notify_all();
        };
        server_ = std::make_unique<labserver::LabServer>(options);
        EXPECT_TRUE(server_->start(0));
        inWork_ = std::make_unique<testing_support::CurrentFolderScope>(work_);
        setUp(request_, server_->url());
    }

    // The path of a file in the working folder.
    std::string local(std::string_view name) const { return work_ + "/" + std::string(name); }
    // The path of a file the lab publishes for this version.
    std::filesystem::path published(std::string_view name) const {
        return data_ / "public" / std::string(build::kVersion) / name;
    }
    // The server's log lines, one per request, once there are at least `atLeast` of them (or after a
    // safety limit). The server logs a request after it has sent the reply, so a client may have its
    // answer before the line is there.
    std::vector<std::string> logLines(std::size_t atLeast = 0) {
        std::unique_lock lock(logMutex_);
        logged_.wait_for(lock, std::chrono::seconds(10), [&] { return log_.size() >= atLeast; });
        return log_;
    }

    testing_support::TempFolder temp_;
    std::filesystem::path data_;
    std::string work_;
    std::unique_ptr<labserver::LabServer> server_;
    std::unique_ptr<testing_support::CurrentFolderScope> inWork_;
    ServerRequest request_;
};

}  // namespace transfer_testing
