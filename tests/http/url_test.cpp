// URL analysis and where a post goes.
#include <gtest/gtest.h>

#include "http/client_steps.h"
#include "http/error_codes.h"
#include "http/url_parts.h"

namespace {

using namespace Tarvo;
using http_testing::codeRaisedBy;

TEST(UrlParts, OffsetsOfEveryPart) {
    struct Row {
        const char* url;
        urlpartsA parts;  // scheme, host, port, path, query, fragment: start and length each
    };
    const Row rows[] = {
        {"", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"http://server/snapord2/standalone.php", {0, 4, 7, 6, 13, 0, 13, 24, 37, 0, 37, 0}},
        {"https://server", {0, 5, 8, 6, 14, 0, 14, 0, 14, 0, 14, 0}},
        {"HTTPS://server:8443/x", {0, 5, 8, 6, 15, 4, 19, 2, 21, 0, 21, 0}},
        {"server:8080/a?b=1#c", {0, 0, 0, 6, 7, 4, 11, 2, 13, 4, 17, 2}},
        {"http://server?x=1", {0, 4, 7, 6, 13, 0, 13, 0, 13, 4, 17, 0}},
        {"http://server:/", {0, 4, 7, 6, 14, 0, 14, 1, 15, 0, 15, 0}},
        {"http://s/p?q?r#f#g", {0, 4, 7, 1, 8, 0, 8, 2, 10, 4, 14, 4}},
        {"http://s/p#f?q", {0, 4, 7, 1, 8, 0, 8, 2, 10, 0, 10, 4}},
        {"a:b:c/", {0, 0, 0, 1, 2, 3, 5, 1, 6, 0, 6, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.url);
        EXPECT_EQ(AnalyzeUrl(row.url), row.parts);
    }
}

TEST(UrlParts, PostAddressOfEachUrl) {
    struct Row {
        const char* url;
        bool secure;
        const char* host;
        std::uint16_t port;
        const char* objectName;
    };
    const Row rows[] = {
        {"http://server/snapord2/standalone.php", false, "server", 80, "/snapord2/standalone.php"},
        {"https://server", true, "server", 443, "/"},
        {"HTTPS://server:8443/x", true, "server", 8443, "/x"},
        {"server:8080/a?b=1#c", false, "server", 8080, "/a?b=1#c"},
        {"http://server?x=1", false, "server", 80, "/?x=1"},
        {"http://server#top", false, "server", 80, "/#top"},
        {"http://server:/", false, "server", 80, "/"},
        {"http://server:0/", false, "server", 80, "/"},
        {"http://server:65535/", false, "server", 65535, "/"},
        {"ftp://server/x", false, "server", 80, "/x"},
        {"httpsx://server/x", false, "server", 80, "/x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.url);
        const PostAddress address = ResolvePostAddress(row.url);
        EXPECT_EQ(address.secure, row.secure);
        EXPECT_EQ(address.host, row.host);
        EXPECT_EQ(address.port, row.port);
        EXPECT_EQ(address.objectName, row.objectName);
    }
}

TEST(UrlParts, UrlsThatCannotBeReached) {
    struct Row {
        const char* url;
        std::uint32_t code;
    };
    const Row rows[] = {
        {"http://:80/", kErrInvalidUrl},
        {"http:///x", kErrInvalidUrl},
        {"http://server:123456/", kErrInvalidPort},  // more than 5 characters
        {"http://server:70000/", kErrInvalidPort},
        {"http://server:80a/", kErrInvalidPort},
        {"http://server:-80/", kErrInvalidPort},
        {"http://:99999/", kErrInvalidPort},  // the port is checked before the host
        {"http://user:pw@server/", kErrInvalidPort},
        {"http://user@server/", kErrInvalidUrl},
        {"http://ser ver/", kErrInvalidUrl},
        {"http://server/a\r\nHost: evil", kErrInvalidUrl},
        {"http://server/a\tb", kErrInvalidUrl},
        {"http://server/a b", kErrInvalidUrl},
        {"http://server/a\x7F", kErrInvalidUrl},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.url);
        EXPECT_EQ(codeRaisedBy([&] { ResolvePostAddress(row.url); }), row.code);
    }
}

}  // namespace
