#include "lab_fixture.h"

#include <httplib.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace labtest {

namespace fs = std::filesystem;

std::string formEncode(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            encoded += c;
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded;
}

std::string formBody(const std::vector<Field>& fields) {
    std::string body;
    for (const auto& [name, value] : fields) {
        if (!body.empty())
            body += '&';
        body += formEncode(name) + "=" + formEncode(value);
    }
    return body;
}

std::string multipartBody(const std::vector<Part>& parts) {
    const std::string boundary(kBoundary);
    std::string body;
    for (const Part& part : parts) {
        body +=
            "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + std::string(part.name) + "\"";
        if (!part.path.empty())
            body += "; filename=\"" + std::string(part.path) + "\"\r\nContent-Type: application/octet-stream";
        body += "\r\n\r\n" + std::string(part.value) + "\r\n";
    }
    return body + "--" + boundary + "--\r\n";
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

LabFixture::LabFixture() : data_(fs::path(temp_.path()) / "data") {
    fs::copy(labserver::demoDataFolder(), data_, fs::copy_options::recursive);
    // A demo run on the build's demo data leaves its orders there.
    fs::remove_all(data_ / "orders");
    fs::remove_all(data_ / "incoming");
    // A second customer, to show that one cannot touch the orders of another.
    std::ofstream(data_ / "users.txt", std::ios::binary) << "# name password customer\r\n"
                                                            "demo\tdemo\t1001\r\n"
                                                            "jana  tajne  1002\r\n";
    startServer(labserver::LabServerOptions().maxRequestBytes);
}

void LabFixture::startServer(std::uint64_t maxRequestBytes) {
    labserver::LabServerOptions options;
    options.dataFolder = data_;
    options.maxRequestBytes = maxRequestBytes;
    options.log = [this](const std::string& line) {
        std::lock_guard lock(logMutex_);
        log_.push_back(line);
    };
    server_ = std::make_unique<labserver::LabServer>(options);
    if (!server_->start(0))
        throw std::runtime_error("the lab server did not start");
}

void LabFixture::restartWithLimit(std::uint64_t maxRequestBytes) {
    server_->stop();
    startServer(maxRequestBytes);
}

LabFixture::~LabFixture() {
    server_->stop();
}

Answer LabFixture::post(std::string_view path, const std::string& body, std::string_view contentType,
                        int via) {
    httplib::Client client("127.0.0.1", via != 0 ? via : server_->port());
    if (via != 0) {
        client.set_read_timeout(0, 300'000);
        client.set_write_timeout(0, 300'000);
    }
    const auto result = client.Post(std::string(path), body, std::string(contentType));
    if (!result)
        return {};
    return {result->status, result->body};
}

Answer LabFixture::upload(std::string_view login, std::string_view pass, std::string_view bytes,
                          std::string_view targetdir, std::string_view targetfile, int via) {
    const std::string body = multipartBody({{"login", login},
                                            {"pass", pass},
                                            {"sendfile", bytes, "C:\\Users\\Jan\\Obr\xE1zky\\IMG_0042.JPG"},
                                            {"targetdir", targetdir},
                                            {"targetfile", targetfile}});
    return post("/snapord2/standalone.php", body, "multipart/form-data; boundary=" + std::string(kBoundary),
                via);
}

labserver::OrderRecord LabFixture::record(const ServerOrder& order) const {
    for (labserver::OrderRecord& record : server_->orders()) {
        if (record.folderName == order.folder)
            return record;
    }
    ADD_FAILURE() << "the server has no order " << order.folder;
    return {};
}

ServerOrder LabFixture::openOrder(std::string_view login, std::string_view pass) {
    const Answer answer = standalone({{"getfile", "params"}, {"login", login}, {"pass", pass}});
    std::istringstream words(answer.body);
    ServerOrder order;
    std::string extra;
    words >> order.date >> order.folder >> order.customer >> order.id;
    EXPECT_TRUE(words && !(words >> extra)) << "params reply: " << answer.body;
    return order;
}

std::vector<std::string> LabFixture::logLines() {
    std::lock_guard lock(logMutex_);
    return log_;
}

}  // namespace labtest
