// A lab server running in-process on a free loopback port over a copy of the demo data, and requests
// whose bodies are made byte for byte the way the client makes them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "labserver/lab_server.h"
#include "support/temp_folder.h"

namespace labtest {

// The fixed boundary of the client's multipart bodies.
inline constexpr std::string_view kBoundary = "----TARVO-FB3B405B7EAE495aB0C0295C54D4E096-";

using Field = std::pair<std::string_view, std::string_view>;

// Form-encoded like the client does it: letters and digits stay, a blank becomes '+', every other byte
// "%HH" with upper-case digits.
std::string formEncode(std::string_view bytes);
// A URL-encoded body of the fields in the given order.
std::string formBody(const std::vector<Field>& fields);

// One part of a multipart body; a file part carries the client's local path and the file's bytes.
struct Part {
    std::string_view name;
    std::string_view value;
    std::string_view path = {};  // non-empty: a file part
};
// A multipart body with kBoundary, as the client lays it out.
std::string multipartBody(const std::vector<Part>& parts);

struct Answer {
    int status = 0;  // 0: no reply came
    std::string body;
};

// What "getfile" of "params" hands out.
struct ServerOrder {
    std::string date, folder, customer, id;
};

class LabFixture : public ::testing::Test {
  protected:
    LabFixture();
    ~LabFixture() override;

    // Replaces the running server by one with `maxRequestBytes` as its limit, on the same data.
    void restartWithLimit(std::uint64_t maxRequestBytes);

    // A POST to the server, or through a proxy on `via` (then with short time limits, so that a
    // stalled connection ends soon).
    Answer post(std::string_view path, const std::string& body,
                std::string_view contentType = "application/x-www-form-urlencoded", int via = 0);
    Answer standalone(const std::vector<Field>& fields, int via = 0) {
        return post("/snapord2/standalone.php", formBody(fields), "application/x-www-form-urlencoded", via);
    }
    // A "sendfile" of `bytes` with the client's fields, in the client's order.
    Answer upload(std::string_view login, std::string_view pass, std::string_view bytes,
                  std::string_view targetdir, std::string_view targetfile, int via = 0);
    // The server's record of an order.
    labserver::OrderRecord record(const ServerOrder& order) const;
    // "getfile" of "params" for the login; fails the test when the reply is not four words.
    ServerOrder openOrder(std::string_view login = "demo", std::string_view pass = "demo");

    std::filesystem::path orderFolder(const ServerOrder& order) const {
        return data_ / "orders" / order.folder;
    }
    std::vector<std::string> logLines();

    testing_support::TempFolder temp_;
    std::filesystem::path data_;
    std::unique_ptr<labserver::LabServer> server_;

  private:
    void startServer(std::uint64_t maxRequestBytes);

    std::mutex logMutex_;
    std::vector<std::string> log_;
};

// The whole content of a file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);

}  // namespace labtest
