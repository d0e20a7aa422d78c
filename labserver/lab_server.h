// A reference lab web server: the endpoints that Snapord talks to, serving one data folder.
//
// Runs inside the tests (on a free loopback port) and as the program `labserver` for the demo run.
// It answers "/snapord2/standalone.php" (every command, with a login), "/snapord2/standfile.php"
// (anonymous downloads) and the pages "/extranet.php", "/cenik.php" and "/onlineplatba.php".
// The layout of the data folder is described in labserver/README.md.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "labserver/order_store.h"

namespace labserver {

struct LabServerOptions {
    std::filesystem::path dataFolder;
    // The address to listen on: loopback unless a lab serves its network.
    std::string host = "127.0.0.1";
    // The largest request body taken, uploads included; a larger one gets the status 413.
    std::uint64_t maxRequestBytes = std::uint64_t{4} << 30;
    // The client version whose catalogue names the entries of the price-list page; empty: the
    // version of this build.
    std::string pageVersion;
    // A certificate file (PEM: the server's certificate, then any intermediate ones) and its private
    // key (PEM, not encrypted): the server then speaks HTTPS only. Both empty: plain HTTP.
    std::filesystem::path certificateFile;
    std::filesystem::path privateKeyFile;
    // Receives one line per request (UTF-8, no line break). Called on the server's threads, one call
    // at a time, and must not call back into the server; may be empty.
    std::function<void(const std::string& line)> log;
};

// Thread-safe: start, stop and the accessors may be called from any thread but the server's own.
class LabServer {
  public:
    // Prepares the data folder (creates "orders" and "incoming" when missing); does not listen yet.
    explicit LabServer(LabServerOptions options);
    // Stops the server when it runs.
    ~LabServer();
    LabServer(const LabServer&) = delete;
    LabServer& operator=(const LabServer&) = delete;

    // Listens on `port` (0: a free port that the system picks) and serves on threads of its own.
    // Returns once the socket accepts connections: a client may connect as soon as it returns. False
    // when the port cannot be bound (taken by another program, or not a local address), the
    // certificate and key cannot be used, or the server runs already; problem() then says which.
    bool start(int port = 0);
    // Why the last start() failed (UTF-8); empty after a start that succeeded.
    std::string problem() const;

    // Stops listening and waits until the requests under way are answered. Does nothing when the
    // server does not run. After it, start() may be called again.
    void stop();

    bool running() const;
    // The port it listens on; 0 when it does not run.
    int port() const;
    // Whether the server speaks HTTPS (it was given a certificate and key).
    bool secure() const;
    // "http://<host>:<port>" ("https://" when secure), the base address a client is given.
    std::string url() const;
    const std::filesystem::path& dataFolder() const;
    // Every order the server handed out, newest first, as its records say now: whether and when it
    // was closed, and how many times it was ended.
    std::vector<OrderRecord> orders() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The demo data made by the build (a user "demo" with the password "demo", the catalogue, header
// picture and news message of this build's version, a price list). Tests copy it to a folder of their
// own before a server writes orders into it.
std::filesystem::path demoDataFolder();

}  // namespace labserver
