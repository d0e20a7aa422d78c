// Certificates made at test time with the openssl program: a certificate authority of the test's own
// and server certificates it signs, in PEM files of a folder. Nothing is fetched or kept between runs.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

// A certificate and its private key, as files.
struct CertificateFiles {
    std::string certificate;
    std::string key;
};

// A certificate authority in `folder`, named `name` (also the files' stem). Throws when openssl
// cannot make it.
class TestAuthority {
  public:
    TestAuthority(const std::string& folder, const std::string& name);

    // The authority's own certificate: what a client that trusts it is given.
    const std::string& certificateFile() const { return files_.certificate; }

    // A server certificate signed by this authority for `names`, each "DNS:<host>" or "IP:<address>"
    // (its subject alternative names), in files of the stem `name`.
    CertificateFiles issueServerCertificate(const std::string& name,
                                            const std::vector<std::string>& names) const;

  private:
    std::string folder_;
    CertificateFiles files_;
};

}  // namespace testing_support
