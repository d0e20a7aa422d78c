// Which certificate authorities a secure post trusts: the environment's file, else the build's, else
// the system's store.
#include "http/certificate_trust.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Tarvo::ChooseCertificateAuthorities;

Tarvo::EnvironmentLookup environment(std::map<std::string, std::string> variables) {
    return [variables](const char* name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional<std::string>(found->second);
    };
}

TEST(CertificateTrust, TheEnvironmentWinsOverTheBuildAndNeitherMeansTheSystemsStore) {
    const auto none = environment({});
    const auto named = environment({{"SNAPORD_CA_FILE", "/etc/lab/ca.pem"}});
    const auto empty = environment({{"SNAPORD_CA_FILE", ""}});
    EXPECT_EQ(ChooseCertificateAuthorities(none, ""), std::nullopt);
    EXPECT_EQ(ChooseCertificateAuthorities(none, "/opt/lab-ca.pem"), "/opt/lab-ca.pem");
    EXPECT_EQ(ChooseCertificateAuthorities(named, "/opt/lab-ca.pem"), "/etc/lab/ca.pem");
    EXPECT_EQ(ChooseCertificateAuthorities(named, ""), "/etc/lab/ca.pem");
    EXPECT_EQ(ChooseCertificateAuthorities(empty, "/opt/lab-ca.pem"), "/opt/lab-ca.pem") << "set but empty";
    EXPECT_EQ(ChooseCertificateAuthorities(empty, ""), std::nullopt);
    // Without an argument, the file this build names.
    EXPECT_EQ(ChooseCertificateAuthorities(none).value_or(""), Tarvo::BuildCertificateAuthorities());
}

}  // namespace
