#include "support/test_certificates.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace testing_support {

namespace {

// Elliptic-curve keys: made in milliseconds, where RSA keys take a noticeable time.
constexpr const char* kNewKey = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

void run(const std::string& command) {
    // openssl reports on stderr; a test shows it only when the command fails.
    if (std::system((command + " 2>/dev/null").c_str()) != 0)
        throw std::runtime_error("openssl failed: " + command);
}

}  // namespace

TestAuthority::TestAuthority(const std::string& folder, const std::string& name) : folder_(folder) {
    files_.certificate = folder + "/" + name + ".crt";
    files_.key = folder + "/" + name + ".key";
    run("openssl req -x509 " + std::string(kNewKey) + " -days 2 -subj " + quoted("/CN=" + name) +
        " -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign -keyout " +
        quoted(files_.key) + " -out " + quoted(files_.certificate));
}

CertificateFiles TestAuthority::issueServerCertificate(const std::string& name,
                                                       const std::vector<std::string>& names) const {
    CertificateFiles files{folder_ + "/" + name + ".crt", folder_ + "/" + name + ".key"};
    const std::string request = folder_ + "/" + name + ".csr";
    const std::string extensions = folder_ + "/" + name + ".ext";
    std::string alternatives;
    for (const std::string& alternative : names)
        alternatives += (alternatives.empty() ? "" : ",") + alternative;
    std::ofstream(extensions) << "basicConstraints=CA:FALSE\n"
                                 "keyUsage=critical,digitalSignature,keyEncipherment\n"
                                 "extendedKeyUsage=serverAuth\n"
                                 "subjectAltName="
                              << alternatives << "\n";
    run("openssl req " + std::string(kNewKey) + " -subj " + quoted("/CN=" + name) + " -keyout " +
        quoted(files.key) + " -out " + quoted(request));
    run("openssl x509 -req -days 2 -in " + quoted(request) + " -CA " + quoted(files_.certificate) +
        " -CAkey " + quoted(files_.key) + " -CAcreateserial -extfile " + quoted(extensions) + " -out " +
        quoted(files.certificate));
    return files;
}

}  // namespace testing_support
