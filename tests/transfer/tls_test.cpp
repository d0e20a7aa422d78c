// The server request over HTTPS against the lab server serving TLS: a whole order arrives byte for
// byte when the lab's certificate verifies, and every command fails, as against a server that cannot
// be reached, when it does not. The certificates are made for the test with openssl.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

#include "documents/order_document.h"
#include "documents/order_identity_file.h"
#include "http/certificate_trust.h"
#include "http/error_codes.h"
#include "http/form_client.h"
#include "labserver/lab_server.h"
#include "platform/path.h"
#include "request_runner.h"
#include "support/temp_folder.h"
#include "support/test_certificates.h"

namespace {

namespace fs = std::filesystem;
using namespace transfer_testing;
using testing_support::CertificateFiles;
using testing_support::TestAuthority;

// The network library's numbers for a certificate that does not verify and an unreadable CA file.
constexpr std::uint32_t kPeerFailedVerification = 60;
constexpr std::uint32_t kCaFileUnusable = 77;

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The lab's authority and certificates, made once for all the tests.
struct Certificates {
    testing_support::TempFolder folder;
    TestAuthority lab{folder.path(), "lab-ca"};
    TestAuthority unknown{folder.path(), "unknown-ca"};
    CertificateFiles loopback = lab.issueServerCertificate("loopback", {"IP:127.0.0.1", "DNS:localhost"});
    CertificateFiles otherHost = lab.issueServerCertificate("other-host", {"DNS:lab.example"});
    CertificateFiles unknownIssuer = unknown.issueServerCertificate("unknown-issuer", {"IP:127.0.0.1"});
};

class SecureLab : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { certificates_ = new Certificates; }
    static void TearDownTestSuite() {
        delete certificates_;
        certificates_ = nullptr;
    }

    SecureLab() : data_(fs::path(temp_.path()) / "data"), work_(temp_.path() + "/work") {
        fs::copy(labserver::demoDataFolder(), data_, fs::copy_options::recursive);
        fs::remove_all(data_ / "orders");
        fs::remove_all(data_ / "incoming");
        fs::create_directory(work_);
        inWork_ = std::make_unique<testing_support::CurrentFolderScope>(work_);
    }
    ~SecureLab() override { ::unsetenv(Tarvo::kCertificateAuthoritiesVariable); }

    // A lab server speaking TLS with `certificate`, and the request pointed at it.
    void startLab(const CertificateFiles& certificate) {
        labserver::LabServerOptions options;
        options.dataFolder = data_;
        options.certificateFile = certificate.certificate;
        options.privateKeyFile = certificate.key;
        server_ = std::make_unique<labserver::LabServer>(options);
        ASSERT_TRUE(server_->start(0)) << server_->problem();
        ASSERT_TRUE(server_->url().starts_with("https://127.0.0.1:")) << server_->url();
        setUp(request_, server_->url());
        request_.SetCredentials("demo", "demo");
    }
    // The client trusts the authorities in `file`; none: the system's store.
    static void trust(const std::optional<std::string>& file) {
        if (file)
            ::setenv(Tarvo::kCertificateAuthoritiesVariable, file->c_str(), 1);
        else
            ::unsetenv(Tarvo::kCertificateAuthoritiesVariable);
    }

    static Certificates* certificates_;
    testing_support::TempFolder temp_;
    fs::path data_;
    std::string work_;
    std::unique_ptr<testing_support::CurrentFolderScope> inWork_;
    std::unique_ptr<labserver::LabServer> server_;
    ServerRequest request_;
};

Certificates* SecureLab::certificates_ = nullptr;

TEST_F(SecureLab, AWholeOrderTravelsOverTlsByteForByte) {
    startLab(certificates_->loopback);
    trust(certificates_->lab.certificateFile());

    ASSERT_EQ(run(request_, ServerCommand::GetFile, "params.sno", "params", ""), RequestState::Ok);
    OrderIdentity order = presetOrderIdentity();
    ASSERT_EQ(readOrderIdentity(order), 0);
    EXPECT_EQ(order.customerId, "1001");

    // b.jpg spans many TLS records; a.jpg is ordered twice, so it is sent once and copied.
    testing_support::TempFolder photos;
    std::string big(400 * 1024, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 13 % 251);
    photos.write("a.jpg", "\xFF\xD8\xFF\xE0 first photograph");
    photos.write("b.jpg", "\xFF\xD8\xFF\xE1" + big);
    OrderDocument document;
    document.setIdentity(order);
    document.setCurrentPhoto({0, 2, "10x15", 1, 1, 1});
    for (const char* name : {"a.jpg", "b.jpg", "a.jpg"})
        ASSERT_EQ(document.addEntry(photos.path(), name), AddEntryResult::Added);
    ASSERT_EQ(document.writeLaceFile("obj.lace"), 0);
    ASSERT_EQ(document.writeOrderFile("obj.snf"), 0);

    const std::string& id = order.orderId;
    const std::string& folder = order.serverFolder;
    const std::string a = "001_" + id + "_a.jpg";
    const std::string b = "002_" + id + "_b.jpg";
    const std::string aAgain = "003_" + id + "_a.jpg";
    EXPECT_EQ(run(request_, ServerCommand::SendFile, "obj.lace", "000_" + id + ".lace", folder),
              RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::SendFile, "obj.snf", "000_" + id + ".snf", folder),
              RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::SendFile, platform::joinPath(photos.path(), "a.jpg"), a, folder),
              RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::SendFile, platform::joinPath(photos.path(), "b.jpg"), b, folder),
              RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::OnlyCopy, a, aAgain, folder), RequestState::Ok);
    EXPECT_EQ(run(request_, ServerCommand::TransEnd, "order.sno", id, folder), RequestState::Ok);

    const fs::path stored = data_ / "orders" / folder;
    EXPECT_EQ(contentOf(stored / ("000_" + id + ".lace")), contentOf(work_ + "/obj.lace"));
    EXPECT_EQ(contentOf(stored / ("000_" + id + ".snf")), contentOf(work_ + "/obj.snf"));
    EXPECT_EQ(contentOf(stored / a), photos.read("a.jpg"));
    EXPECT_EQ(contentOf(stored / b), photos.read("b.jpg"));
    EXPECT_EQ(contentOf(stored / aAgain), photos.read("a.jpg"));
    const auto orders = server_->orders();
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].ends, 1u);
}

TEST_F(SecureLab, ACertificateThatDoesNotVerifyFailsEveryCommandLikeAnUnreachableServer) {
    const struct {
        const char* name;
        const CertificateFiles& certificate;
        std::optional<std::string> trusted;
        std::uint32_t networkError;
    } rows[] = {
        {"a certificate for another host", certificates_->otherHost, certificates_->lab.certificateFile(),
         kPeerFailedVerification},
        {"a certificate of an authority the client does not know", certificates_->unknownIssuer,
         certificates_->lab.certificateFile(), kPeerFailedVerification},
        {"the lab's own authority, not in the system's store", certificates_->loopback, std::nullopt,
         kPeerFailedVerification},
        {"a CA file that cannot be read", certificates_->loopback, temp_.path() + "/missing.crt",
         kCaFileUnusable},
    };
    testing_support::TempFolder photos;
    photos.write("a.jpg", "\xFF\xD8\xFF photograph");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        startLab(row.certificate);
        trust(row.trusted);
        EXPECT_EQ(run(request_, ServerCommand::GetFile, "params.sno", "params", ""), RequestState::Failed);
        EXPECT_FALSE(fs::exists(work_ + "/params.sno"));
        EXPECT_EQ(run(request_, ServerCommand::SendFile, photos.file("a.jpg"), "001_1_a.jpg", "obj100001"),
                  RequestState::Failed);
        EXPECT_EQ(run(request_, ServerCommand::TransEnd, "order.sno", "100001", "obj100001"),
                  RequestState::Failed);
        EXPECT_TRUE(server_->orders().empty()) << "no request reached the server";

        // Under the request: the connection was refused while it was set up, before anything of the
        // request (the login and password) went out.
        Tarvo::httpformclientA client;
        client.AddParam("login", "demo");
        try {
            client.BeginFormPost(server_->url() + "/snapord2/standalone.php", false);
            ADD_FAILURE() << "the connection was made";
        } catch (const Tarvo::httpclientexceptionA& e) {
            EXPECT_EQ(e.ErrorCode(), Tarvo::kErrSendRequestEx);
            EXPECT_EQ(e.Win32Error(), row.networkError) << e.Diagnostic();
        }
        server_->stop();
    }
}

}  // namespace
