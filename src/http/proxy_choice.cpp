#include "http/proxy_choice.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace Tarvo {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The host is the domain or inside it.
bool inDomain(std::string_view host, std::string_view domain) {
    if (domain.empty())
        return false;
    if (sameIgnoringCase(host, domain))
        return true;
    return host.size() > domain.size() && host[host.size() - domain.size() - 1] == '.' &&
           sameIgnoringCase(host.substr(host.size() - domain.size()), domain);
}

// `pattern` matches all of `text`, "*" standing for any run of characters; case is ignored.
bool globMatches(std::string_view text, std::string_view pattern) {
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = t;
        } else if (p < pattern.size() && lower(pattern[p]) == lower(text[t])) {
            ++p;
            ++t;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            t = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool entryMatches(std::string_view host, std::string_view entry) {
    if (entry == "*")
        return true;
    if (sameIgnoringCase(entry, "<local>"))
        return host.find('.') == std::string_view::npos;
    if (entry.substr(0, 2) == "*.")
        entry.remove_prefix(1);
    if (entry.find('*') != std::string_view::npos)
        return globMatches(host, entry);
    if (entry.substr(0, 1) == ".")
        entry.remove_prefix(1);
    return inDomain(host, entry);
}

std::string trimmed(std::string_view text) {
    const auto start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    const auto end = text.find_last_not_of(" \t");
    return std::string(text.substr(start, end - start + 1));
}

std::optional<std::string> firstSet(const EnvironmentLookup& environment,
                                    std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (auto value = environment(name); value && !value->empty())
            return value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

#ifdef _WIN32
namespace {

std::optional<std::string> registryText(HKEY key, const char* name) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string text(size, '\0');
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    text.resize(std::min<std::size_t>(size, text.size()));
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

}  // namespace

std::optional<SystemProxySettings> UserProxySettings(const char* key) {
    HKEY settings = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &settings) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD enabled = 0;
    DWORD size = sizeof enabled;
    DWORD type = 0;
    const bool on = RegQueryValueExA(settings, "ProxyEnable", nullptr, &type,
                                     reinterpret_cast<BYTE*>(&enabled), &size) == ERROR_SUCCESS &&
                    type == REG_DWORD && enabled != 0;
    std::optional<SystemProxySettings> result;
    if (on) {
        if (auto server = registryText(settings, "ProxyServer"); server && !server->empty())
            result = SystemProxySettings{*server, registryText(settings, "ProxyOverride").value_or("")};
    }
    RegCloseKey(settings);
    return result;
}
#else
std::optional<SystemProxySettings> UserProxySettings(const char*) {
    return std::nullopt;
}
#endif

std::string SystemProxyFor(const SystemProxySettings& settings, bool secure, std::string_view host) {
    if (BypassesProxy(host, settings.bypass))
        return {};
    const std::string_view server = settings.server;
    if (server.find('=') == std::string_view::npos)
        return trimmed(server);
    // Entries "scheme=host:port" separated by semicolons (or blanks).
    const std::string_view wanted = secure ? "https" : "http";
    std::size_t at = 0;
    while (at < server.size()) {
        const std::size_t end = std::min(server.find_first_of("; ", at), server.size());
        const std::string_view entry = server.substr(at, end - at);
        if (const auto equals = entry.find('=');
            equals != std::string_view::npos && sameIgnoringCase(trimmed(entry.substr(0, equals)), wanted))
            return trimmed(entry.substr(equals + 1));
        at = end + 1;
    }
    return {};
}

bool BypassesProxy(std::string_view host, std::string_view list) {
    constexpr std::string_view kSeparators = ",; \t";
    std::size_t at = 0;
    while (at < list.size()) {
        const std::size_t start = list.find_first_not_of(kSeparators, at);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(list.find_first_of(kSeparators, start), list.size());
        if (entryMatches(host, list.substr(start, end - start)))
            return true;
        at = end;
    }
    return false;
}

std::string ChooseProxy(std::uint32_t accessType, const std::optional<std::string>& proxy,
                        const std::optional<std::string>& bypass, bool secure, std::string_view host,
                        const EnvironmentLookup& environment, const SystemProxyLookup& system) {
    if (accessType == kAccessNamedProxy) {
        if (!proxy || proxy->empty() || (bypass && BypassesProxy(host, *bypass)))
            return {};
        return *proxy;
    }
    if (accessType != kAccessPreconfig && accessType != kAccessPreconfigNoAutoproxy)
        return {};
    if (system) {
        if (const auto settings = system())
            return SystemProxyFor(*settings, secure, host);
    }
    const auto chosen = secure
                            ? firstSet(environment, {"https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
                            : firstSet(environment, {"http_proxy", "all_proxy", "ALL_PROXY"});
    if (!chosen)
        return {};
    if (const auto noProxy = firstSet(environment, {"no_proxy", "NO_PROXY"});
        noProxy && BypassesProxy(host, *noProxy))
        return {};
    return *chosen;
}

}  // namespace Tarvo
