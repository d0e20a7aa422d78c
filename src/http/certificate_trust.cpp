#include "http/certificate_trust.h"

#ifndef TARVO_BUILD_CA_FILE
#define TARVO_BUILD_CA_FILE ""
#endif

namespace Tarvo {

std::string_view BuildCertificateAuthorities() {
    return TARVO_BUILD_CA_FILE;
}

std::optional<std::string> ChooseCertificateAuthorities(const EnvironmentLookup& environment,
                                                        std::string_view buildFile) {
    if (auto named = environment(kCertificateAuthoritiesVariable); named && !named->empty())
        return named;
    if (!buildFile.empty())
        return std::string(buildFile);
    return std::nullopt;
}

}  // namespace Tarvo
