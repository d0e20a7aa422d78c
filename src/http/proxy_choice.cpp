#include "http/proxy_choice.h"

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

bool entryMatches(std::string_view host, std::string_view entry) {
    if (entry == "*")
        return true;
    if (sameIgnoringCase(entry, "<local>"))
        return host.find('.') == std::string_view::npos;
    if (entry.substr(0, 1) == "*")
        entry.remove_prefix(1);
    if (entry.substr(0, 1) == ".")
        entry.remove_prefix(1);
    return inDomain(host, entry);
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
                        const EnvironmentLookup& environment) {
    if (accessType == kAccessNamedProxy) {
        if (!proxy || proxy->empty() || (bypass && BypassesProxy(host, *bypass)))
            return {};
        return *proxy;
    }
    if (accessType != kAccessPreconfig && accessType != kAccessPreconfigNoAutoproxy)
        return {};
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
