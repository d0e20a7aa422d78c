// Choosing the proxy, and what goes through it.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

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

#ifdef _WIN32
// The C library of Windows has no setenv: an empty value there removes the variable.
void setenv(const char* name, const char* value, int) {
    _putenv_s(name, value);
}
void unsetenv(const char* name) {
    _putenv_s(name, "");
}
#endif

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

TEST(ProxyChoice, SystemSettingsNameTheProxyForEachScheme) {
    struct Row {
        const char* name;
        SystemProxySettings settings;
        bool secure;
        const char* host;
        const char* chosen;
    };
    const Row rows[] = {
        {"one server for both", {"proxy.lab:8080", ""}, true, "server", "proxy.lab:8080"},
        {"per scheme, plain",
         {"http=plain:3128;https=secure:3129;socks=s:1080", ""},
         false,
         "server",
         "plain:3128"},
        {"per scheme, secure", {"http=plain:3128; https=secure:3129", ""}, true, "server", "secure:3129"},
        {"no entry for the scheme goes direct", {"http=plain:3128;ftp=f:21", ""}, true, "server", ""},
        {"scheme names ignore case", {"HTTPS=secure:3129", ""}, true, "server", "secure:3129"},
        {"local names bypassed", {"p:1", "<local>"}, false, "server", ""},
        {"dotted names with <local>", {"p:1", "<local>"}, false, "lab.cz", "p:1"},
        {"address wildcard", {"p:1", "10.*;192.168.*"}, false, "192.168.1.7", ""},
        {"address wildcard elsewhere", {"p:1", "10.*;192.168.*"}, false, "192.169.1.7", "p:1"},
        {"domain wildcard", {"p:1", "*.lab.cz"}, true, "www.lab.cz", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SystemProxyFor(row.settings, row.secure, row.host), row.chosen);
    }

    // Preconfigured access takes system settings where there are some, the environment otherwise;
    // the other access types never look at them.
    const EnvironmentLookup environment = [](const char* name) -> std::optional<std::string> {
        return std::string(name) == "http_proxy" ? std::optional<std::string>("http://env:1") : std::nullopt;
    };
    const SystemProxyLookup on = [] { return std::optional(SystemProxySettings{"sys:2", "<local>"}); };
    const SystemProxyLookup off = [] { return std::optional<SystemProxySettings>(); };
    EXPECT_EQ(ChooseProxy(kAccessPreconfig, {}, {}, false, "lab.cz", environment, on), "sys:2");
    EXPECT_EQ(ChooseProxy(kAccessPreconfig, {}, {}, false, "server", environment, on), "") << "bypassed";
    EXPECT_EQ(ChooseProxy(kAccessPreconfigNoAutoproxy, {}, {}, false, "lab.cz", environment, on), "sys:2");
    EXPECT_EQ(ChooseProxy(kAccessPreconfig, {}, {}, false, "lab.cz", environment, off), "http://env:1");
    EXPECT_EQ(ChooseProxy(kAccessDirect, {}, {}, false, "lab.cz", environment, on), "");
    EXPECT_EQ(ChooseProxy(kAccessNamedProxy, "named:3", {}, false, "lab.cz", environment, on), "named:3");
}

#ifdef _WIN32
// The user's Internet Settings, read from a key of the test's own (the real key stays untouched).
TEST(ProxyChoice, InternetSettingsCountOnlyWhileTheProxyIsSwitchedOn) {
    const std::string key =
        "Software\\Snapord tests\\" + std::to_string(GetCurrentProcessId()) + "\\Internet Settings";
    HKEY settings = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &settings, nullptr),
              ERROR_SUCCESS);
    const auto setText = [&](const char* name, const std::string& value) {
        RegSetValueExA(settings, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    };
    const auto setEnabled = [&](DWORD value) {
        RegSetValueExA(settings, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    };
    setText("ProxyServer", "http=plain:3128;https=secure:3129");
    setText("ProxyOverride", "*.lab.cz;<local>");
    EXPECT_FALSE(UserProxySettings(key.c_str())) << "ProxyEnable missing";
    setEnabled(1);
    const auto read = UserProxySettings(key.c_str());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->server, "http=plain:3128;https=secure:3129");
    EXPECT_EQ(read->bypass, "*.lab.cz;<local>");
    setEnabled(0);
    EXPECT_FALSE(UserProxySettings(key.c_str())) << "switched off";
    setEnabled(1);
    setText("ProxyServer", "");
    EXPECT_FALSE(UserProxySettings(key.c_str())) << "switched on without a server";
    RegCloseKey(settings);
    RegDeleteTreeA(HKEY_CURRENT_USER,
                   ("Software\\Snapord tests\\" + std::to_string(GetCurrentProcessId())).c_str());
    EXPECT_FALSE(UserProxySettings("Software\\Snapord tests\\no such key"));
}
#endif

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
