// The commands of the lab's endpoints: what each request asks and the exact reply it gets.
//
// The client reads short replies exactly: "OK", "badlogin" (wrong password), "nologin" (unknown name),
// "notfound" (no such file). Every other refusal starts with "error: ", which the client takes as a
// failure. Downloads reply with the file's bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "labserver/order_store.h"
#include "labserver/request_form.h"

namespace labserver {

// The layout of the data folder (see README.md).
struct DataFolder {
    std::filesystem::path root;
    std::filesystem::path users() const { return root / "users.txt"; }
    std::filesystem::path prices() const { return root / "prices.ini"; }
    // Files anyone may download: "<version>/snapord2.ini", "<version>/hlavicka.jpg", ...
    std::filesystem::path publicFiles() const { return root / "public"; }
    std::filesystem::path orders() const { return root / "orders"; }
    // Uploads being received; emptied at start.
    std::filesystem::path incoming() const { return root / "incoming"; }
};

struct Reply {
    int status = 200;
    // The body, exact bytes (cp1250), unless `file` names a file whose bytes are the body.
    std::string body;
    std::filesystem::path file;
    // What happened, for the request's log line (UTF-8).
    std::string note;
};

// The replies the client compares.
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kBadLogin = "badlogin";
inline constexpr std::string_view kNoLogin = "nologin";
inline constexpr std::string_view kNotFound = "notfound";

// The name of the field that carries the uploaded file.
inline constexpr std::string_view kFileField = "sendfile";

// Runs the commands on one data folder. All members may be called from several threads at once.
class Commands {
  public:
    // Creates the orders and incoming folders when missing and clears what an earlier run left in
    // the incoming folder.
    explicit Commands(DataFolder data);

    const DataFolder& data() const { return data_; }
    const OrderStore& orders() const { return orders_; }

    // Whether an upload that begins after the fields `sofar` should be written to the disk: not when
    // they already hold a login and password that are refused.
    bool keepsUpload(const RequestForm& sofar) const;

    // "/snapord2/standalone.php": every command, with a login.
    // A kept upload is moved into its order, or removed with the form.
    Reply standalone(RequestForm& form);
    // "/snapord2/standfile.php": anonymous downloads of the public files.
    Reply standfile(const RequestForm& form) const;

  private:
    Reply sendFile(RequestForm& form, const std::string& customer);
    Reply onlyCopy(const RequestForm& form, const std::string& customer);
    Reply transEnd(const RequestForm& form, const std::string& customer);
    Reply getFile(const RequestForm& form, std::string_view login, const std::string& customer);
    Reply getPrice(const RequestForm& form, const std::string& customer) const;
    Reply getValidity(const RequestForm& form, const std::string& customer) const;
    Reply publicFile(std::string_view path) const;

    DataFolder data_;
    OrderStore orders_;
};

}  // namespace labserver
