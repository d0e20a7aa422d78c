// Which certificates a secure (HTTPS) post trusts to vouch for the server.
//
// A lab with a certificate from a public authority needs nothing: the system's store of authorities
// is used. A lab with an authority of its own names that authority's certificate file (PEM), at build
// time (the build setting SNAPORD_CA_FILE) or in the environment variable SNAPORD_CA_FILE, which wins
// when it is set and not empty. A named file replaces the system's store: only what it holds is
// trusted, and a file that cannot be read fails every secure post. Pure functions, safe on any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "http/proxy_choice.h"

namespace Tarvo {

// The environment variable that names the file.
inline constexpr const char* kCertificateAuthoritiesVariable = "SNAPORD_CA_FILE";

// The file the build names; empty when it names none.
std::string_view BuildCertificateAuthorities();

// The file of authorities to trust; none for the system's store.
std::optional<std::string> ChooseCertificateAuthorities(
    const EnvironmentLookup& environment, std::string_view buildFile = BuildCertificateAuthorities());

}  // namespace Tarvo
