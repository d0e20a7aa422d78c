// Every command against the lab server running in-process, and a whole order driven through them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

#include "buildinfo/build_constants.h"
#include "documents/order_document.h"
#include "documents/order_identity_file.h"
#include "in_process_lab.h"
#include "labserver/lab_server.h"
#include "platform/path.h"
#include "request_runner.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace transfer_testing;

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Logged in as the demo customer.
class LabServerCommands : public InProcessLab {
  protected:
    LabServerCommands() { request_.SetCredentials("demo", "demo"); }

    // A new order of the demo customer, as params.sno brings it.
    OrderIdentity openOrder() {
        EXPECT_EQ(run(request_, ServerCommand::GetFile, "params.sno", "params", ""), RequestState::Ok);
        OrderIdentity identity = presetOrderIdentity();
        EXPECT_EQ(readOrderIdentity(identity), 0);
        return identity;
    }
};

TEST_F(LabServerCommands, DownloadsGiveTheFileOrNotFoundOrBadLoginAndLeaveNoFileWhenRefused) {
    struct Row {
        const char* name;
        std::string_view login, password;
        bool anonymous;
        std::string_view remote;  // under the version's folder
        RequestState state;
        std::string_view published;  // the file the download must equal; empty: no local file
    };
    const Row rows[] = {
        {"header picture", "demo", "demo", false, "hlavicka.jpg", RequestState::Ok, "hlavicka.jpg"},
        {"missing file", "demo", "demo", false, "nic.jpg", RequestState::NotFound, ""},
        {"wrong password", "demo", "spatne", false, "hlavicka.jpg", RequestState::BadLogin, ""},
        {"unknown name", "nikdo", "demo", false, "hlavicka.jpg", RequestState::BadLogin, ""},
        {"anonymous catalogue", "", "", true, "snapord2.ini", RequestState::Ok, "snapord2.ini"},
        {"anonymous news message", "", "", true, "message.txt", RequestState::Ok, "message.txt"},
        {"anonymous missing file", "", "", true, "nic.txt", RequestState::NotFound, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        request_.SetCredentials(row.login, row.password);
        request_.SetAnonymousDownload(row.anonymous);
        const std::string remote = std::string(build::kVersion) + "/" + std::string(row.remote);
        EXPECT_EQ(run(request_, ServerCommand::GetFile, "download.bin", remote, ""), row.state);
        EXPECT_EQ(fs::exists(local("download.bin")), !row.published.empty());
        if (!row.published.empty()) {
            EXPECT_EQ(contentOf(local("download.bin")), contentOf(published(row.published)));
            fs::remove(local("download.bin"));
        }
    }
}

TEST_F(LabServerCommands, RefusedLoginsAreBadLoginForEveryOrderCommand) {
    const OrderIdentity order = openOrder();
    testing_support::TempFolder photos;
    photos.write("a.jpg", "\xFF\xD8\xFF photograph");
    const std::string a = photos.file("a.jpg");
    for (const auto& [login, password] : {std::pair{"demo", "spatne"}, {"nikdo", "demo"}, {"", ""}}) {
        SCOPED_TRACE(std::string(login) + "/" + password);
        request_.SetCredentials(login, password);
        EXPECT_EQ(run(request_, ServerCommand::SendFile, a, "001_x_a.jpg", order.serverFolder),
                  RequestState::BadLogin);
        EXPECT_EQ(run(request_, ServerCommand::OnlyCopy, "001_x_a.jpg", "002_x_a.jpg", order.serverFolder),
                  RequestState::BadLogin);
        EXPECT_EQ(run(request_, ServerCommand::GetPrice, build::kVersion, order.orderId, order.customerId),
                  RequestState::BadLogin);
        EXPECT_EQ(run(request_, ServerCommand::TransEnd, "order.sno", order.orderId, order.serverFolder),
                  RequestState::BadLogin);
    }
    EXPECT_FALSE(fs::exists(data_ / "orders" / order.serverFolder / "001_x_a.jpg"));
}

TEST_F(LabServerCommands, AWholeOrderLeavesExactlyItsFilesOnTheServer) {
    const OrderIdentity order = openOrder();
    EXPECT_EQ(order.customerId, "1001");
    EXPECT_EQ(order.serverFolder, "obj" + order.orderId);

    // Four slots: a.jpg twice, so it is sent once and copied once; b.jpg is many upload steps long.
    testing_support::TempFolder photos;
    std::string big(150 * 1024, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 % 251);
    photos.write("a.jpg", "\xFF\xD8\xFF\xE0 first photograph");
    photos.write("b.jpg", "\xFF\xD8\xFF\xE1" + big);
    photos.write("c d.jpg", "\xFF\xD8\xFF\xE2 third photograph");
    OrderDocument document;
    document.setIdentity(order);
    OrderParams params;
    params.delivery = 2;                                // 99,00
    params.products[0] = {1, 3, "Album", "alb", 1};     // 120,00
    params.products[1] = {1, 1, "Fotografie", "f", 1};  // 0
    document.setParams(params);
    const struct {
        const char* name;
        std::int32_t copies;
    } slots[] = {{"a.jpg", 2}, {"b.jpg", 1}, {"a.jpg", 1}, {"c d.jpg", 3}};  // format 2: 7 prints at 5,90
    for (const auto& slot : slots) {
        document.setCurrentPhoto({0, 2, "10x15", 1, 1, slot.copies});
        ASSERT_EQ(document.addEntry(photos.path(), slot.name), AddEntryResult::Added);
    }
    ASSERT_EQ(document.writeLaceFile("obj.lace"), 0);
    ASSERT_EQ(document.writeOrderFile("obj.snf"), 0);

    const std::string& id = order.orderId;
    const std::string& folder = order.serverFolder;
    EXPECT_EQ(run(request_, ServerCommand::SendFile, "obj.lace", "000_" + id + ".lace", folder),
              RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::SendFile, "obj.snf", "000_" + id + ".snf", folder),
              RequestState::Ok);

    EXPECT_EQ(run(request_, ServerCommand::GetPrice, build::kVersion, id, order.customerId),
              RequestState::Ok);
    EXPECT_EQ(request_.Price(), "260,30");
    EXPECT_EQ(run(request_, ServerCommand::GetValidity, build::kVersion, id, order.customerId),
              RequestState::Warning);
    EXPECT_NE(request_.Message().find("001_" + id + "_a.jpg"), std::string::npos) << request_.Message();
    EXPECT_EQ(contentOf(local("validity.txt")).substr(0, 8), "warning\n");

    const std::string a = "001_" + id + "_a.jpg";
    EXPECT_EQ(run(request_, ServerCommand::SendFile, platform::joinPath(photos.path(), "a.jpg"), a, folder),
              RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::SendFile, platform::joinPath(photos.path(), "b.jpg"),
                  "002_" + id + "_b.jpg", folder),
              RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::OnlyCopy, a, "003_" + id + "_a.jpg", folder), RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::SendFile, platform::joinPath(photos.path(), "c d.jpg"),
                  "004_" + id + "_c d.jpg", folder),
              RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::GetValidity, build::kVersion, id, order.customerId),
              RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::TransEnd, "order.sno", id, folder), RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::OnlyCopy, a, "005_" + id + "_a.jpg", folder), RequestState::Failed)
        << "a closed order takes no more files";

    const fs::path stored = data_ / "orders" / folder;
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(stored)) {
        if (!entry.path().filename().string().starts_with("."))  // the server's own records
            names.insert(entry.path().filename().string());
    }
    const std::set<std::string> expected = {
        "000_" + id + ".lace",  "000_" + id + ".snf",   a,
        "002_" + id + "_b.jpg", "003_" + id + "_a.jpg", "004_" + id + "_c d.jpg"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(contentOf(stored / ("000_" + id + ".lace")), contentOf(local("obj.lace")));
    EXPECT_EQ(contentOf(stored / ("000_" + id + ".snf")), contentOf(local("obj.snf")));
    EXPECT_EQ(contentOf(stored / a), photos.read("a.jpg"));
    EXPECT_EQ(contentOf(stored / ("002_" + id + "_b.jpg")), photos.read("b.jpg"));
    EXPECT_EQ(contentOf(stored / ("003_" + id + "_a.jpg")), photos.read("a.jpg"));
    EXPECT_EQ(contentOf(stored / ("004_" + id + "_c d.jpg")), photos.read("c d.jpg"));
}

}  // namespace
