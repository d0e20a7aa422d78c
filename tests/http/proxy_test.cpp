// Choosing the proxy, and what goes through it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "http/client_steps.h"
#include "http/error_codes.h"
#include "http/form_client.h"
#include "http/proxy_choice.h"
#include "http/raw_server.h"

namespace {

using namespace Tarvo;
using namespace http_testing;

const char* const kProxyVariables[] = {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy",
                                       "ALL_PROXY",  "no_proxy",    "NO_PROXY",    "HTTP_PROXY"};

// The tests talk to loopback servers directly: proxies of the machine running them stay out.
class NoProxiesOfTheMachine : public ::testing::Environment {
  public:
    void SetUp() override {
        for (const char* name : kProxyVariables)
            unsetenv(name);
    }
};
[[maybe_unused]] const auto* const kNoProxies =
    ::testing::AddGlobalTestEnvironment(new NoProxiesOfTheMachine);

// Sets environment variables for one test and removes them after it.
class EnvironmentScope {
  public:
    explicit EnvironmentScope(std::map<std::string, std::string> values) : values_(std::move(values)) {
        for (const auto& [name, value] : values_)
            setenv(name.c_str(), value.c_str(), 1);
    }
    ~EnvironmentScope() {
        for (const auto& [name, value] : values_)
            unsetenv(name.c_str());
    }

  private:
    std::map<std::string, std::string> values_;
};

TEST(ProxyChoice, EnvironmentAndOptionsDecideTheProxy) {
    const std::map<std::string, std::string> environment = {{"http_proxy", "http://plain:3128"},
                                                            {"HTTPS_PROXY", "http://secure:3128"},
                                                            {"no_proxy", "lab.cz, .local"}};
    const EnvironmentLookup lookup = [&](const char* name) -> std::optional<std::string> {
        const auto found = environment.find(name);
        return found == environment.end() ? std::nullopt : std::optional(found->second);
    };
    const EnvironmentLookup upperOnly = [](const char* name) -> std::optional<std::string> {
        return std::string(name) == "HTTP_PROXY" ? std::optional<std::string>("http://cgi:1") : std::nullopt;
    };
    struct Row {
        const char* name;
        std::uint32_t access;
        std::optional<std::string> proxy;
        std::optional<std::string> bypass;
        bool secure;
        const char* host;
        const EnvironmentLookup* environment;
        const char* chosen;
    };
    const Row rows[] = {
        {"plain from the environment",
         kAccessPreconfig,
         {},
         {},
         false,
         "server",
         &lookup,
         "http://plain:3128"},
        {"secure from the environment",
         kAccessPreconfig,
         {},
         {},
         true,
         "server",
         &lookup,
         "http://secure:3128"},
        {"no_proxy names the host", kAccessPreconfig, {}, {}, false, "lab.cz", &lookup, ""},
        {"no_proxy names its domain", kAccessPreconfig, {}, {}, true, "www.lab.cz", &lookup, ""},
        {"no_proxy with a leading dot", kAccessPreconfig, {}, {}, false, "pc.local", &lookup, ""},
        {"similar name is not the domain",
         kAccessPreconfig,
         {},
         {},
         false,
         "xlab.cz",
         &lookup,
         "http://plain:3128"},
        {"upper-case HTTP_PROXY is ignored", kAccessPreconfig, {}, {}, false, "server", &upperOnly, ""},
        {"direct access", kAccessDirect, "p:1", {}, false, "server", &lookup, ""},
        {"named proxy", kAccessNamedProxy, "p:1", "<local>", false, "lab.cz", &lookup, "p:1"},
        {"named proxy bypassed for local names", kAccessNamedProxy, "p:1", "<local>", false, "server",
         &lookup, ""},
        {"named proxy bypassed by wildcard", kAccessNamedProxy, "p:1", "x;*.lab.cz", true, "a.lab.cz",
         &lookup, ""},
        {"named proxy without a name", kAccessNamedProxy, {}, {}, false, "server", &lookup, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ChooseProxy(row.access, row.proxy, row.bypass, row.secure, row.host, *row.environment),
                  row.chosen);
    }
}

TEST(ProxyChoice, PlainProxyGetsTheWholeUrlAsTheRequestTarget) {
    RawServer proxy;
    const EnvironmentScope scope({{"http_proxy", proxy.url("")}});
    httpformclientA client;
    client.AddParam("a", "b");
    client.BeginFormPost("http://lab.example:8080/snapord2/standalone.php?x=1#f", false);
    ASSERT_TRUE(proceedToReply(client));
    const auto lines = headerLines(proxy.received());
    EXPECT_EQ(lines[0], "POST http://lab.example:8080/snapord2/standalone.php?x=1#f HTTP/1.1");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Host: lab.example:8080"), lines.end());
    EXPECT_EQ(bodyOf(proxy.received()), "a=b");
}

TEST(ProxyChoice, SecurePostTunnelsThroughTheProxy) {
    RawServer proxy({replyWith("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n")});
    const EnvironmentScope scope({{"https_proxy", proxy.url("")}});
    httpformclientA client;
    EXPECT_EQ(codeRaisedBy([&] { client.BeginFormPost("https://lab.example/x", false); }), kErrSendRequestEx);
    EXPECT_EQ(headerLines(proxy.received())[0], "CONNECT lab.example:443 HTTP/1.1");
}

TEST(ProxyChoice, HostsOnNoProxyAreReachedDirectly) {
    RawServer server;
    const EnvironmentScope scope({{"http_proxy", "http://127.0.0.1:" + std::to_string(unusedPort())},
                                  {"no_proxy", "localhost,127.0.0.1"}});
    httpformclientA client;
    client.BeginFormPost(server.url("/direct"), false);
    ASSERT_TRUE(proceedToReply(client));
    EXPECT_EQ(headerLines(server.received())[0], "POST /direct HTTP/1.1");
}

}  // namespace
