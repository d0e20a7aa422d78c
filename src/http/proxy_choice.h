// Which proxy, if any, a post goes through.
//
// The transport must know the proxy itself: a request sent through a plain HTTP proxy carries the
// whole URL as its request target, one sent directly (or through a tunnel for HTTPS) only the object
// name. Pure functions, safe on any thread; the environment and the user's system settings are read
// through the given lookups.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace Tarvo {

// Access types of the session options.
inline constexpr std::uint32_t kAccessPreconfig = 0;  // the system's proxy settings (the environment)
inline constexpr std::uint32_t kAccessDirect = 1;
inline constexpr std::uint32_t kAccessNamedProxy = 3;  // the proxy and bypass list of the options
inline constexpr std::uint32_t kAccessPreconfigNoAutoproxy = 4;

using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process environment.
std::optional<std::string> ProcessEnvironment(const char* name);

// The proxy the user has switched on in the system's own settings (on Windows the Internet Settings:
// ProxyServer and ProxyOverride, taken only while ProxyEnable is set).
struct SystemProxySettings {
    std::string server;  // "host:port" for every scheme, or "http=host:port;https=host:port;..."
    std::string bypass;  // the hosts reached directly, in the format of BypassesProxy
};
using SystemProxyLookup = std::function<std::optional<SystemProxySettings>()>;

// The Internet Settings under HKEY_CURRENT_USER\`key` on Windows; none when they switch no proxy on,
// and always none on other systems, which keep their proxy in the environment.
inline constexpr const char* kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
std::optional<SystemProxySettings> UserProxySettings(const char* key = kInternetSettingsKey);

// Whether `host` is on a bypass list: entries separated by commas, semicolons or blanks; "*" matches
// every host, "<local>" hosts without a dot, "*.x" and ".x" the domain x and its subdomains, another
// entry with a "*" the hosts it matches with "*" standing for any run of characters ("192.168.*"),
// any other entry that host and its subdomains. Case is ignored.
bool BypassesProxy(std::string_view host, std::string_view list);

// The proxy that system settings name for a post to `host`: the "https=" entry for HTTPS and the
// "http=" entry for plain HTTP when the server names schemes, else the one server for both; empty
// when the bypass list names the host or no entry fits.
std::string SystemProxyFor(const SystemProxySettings& settings, bool secure, std::string_view host);

// The proxy for a post to `host`; empty for none. Preconfigured access takes the system settings
// when `system` gives some (see SystemProxyFor); otherwise it reads http_proxy (for plain HTTP; only
// the lower-case name, as the upper-case one may be set by a web server for its scripts),
// https_proxy or HTTPS_PROXY (for HTTPS), then all_proxy or ALL_PROXY, and skips them for hosts on
// no_proxy or NO_PROXY. Named-proxy access uses `proxy` unless `bypass` lists the host. Direct access,
// and any other access type, uses none.
std::string ChooseProxy(std::uint32_t accessType, const std::optional<std::string>& proxy,
                        const std::optional<std::string>& bypass, bool secure, std::string_view host,
                        const EnvironmentLookup& environment, const SystemProxyLookup& system = {});

}  // namespace Tarvo
