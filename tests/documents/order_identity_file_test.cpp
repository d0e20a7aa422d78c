#include "documents/order_identity_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;

struct TokenCase {
    const char* name;
    std::string bytes;
    OrderIdentity expected;
};

TEST(OrderIdentityFile, ReadsUpToFourTokensOverPresets) {
    const TokenCase cases[] = {
        {"one line", "2024-05-01 orders/A123 C77 A123", {"2024-05-01", "orders/A123", "C77", "A123"}},
        {"spread over lines",
         "\r\n2024-05-01\r\n\torders/A123\n\nC77  \r\nA123\r\n",
         {"2024-05-01", "orders/A123", "C77", "A123"}},
        {"three tokens keep the preset order number",
         "2024-05-01 orders/A123 C77",
         {"2024-05-01", "orders/A123", "C77", "Y"}},
        {"empty file keeps every preset", "", {"now", "temp", "X", "Y"}},
        {"a fifth token is not read", "d f c o ../../extra", {"d", "f", "c", "o"}},
        {"the longest fields",
         std::string(63, 'd') + " " + std::string(259, 'f') + " c o",
         {std::string(63, 'd'), std::string(259, 'f'), "c", "o"}},
    };
    TempFolder folder;
    for (const TokenCase& c : cases) {
        folder.write("params.sno", c.bytes);
        OrderIdentity identity = presetOrderIdentity();
        EXPECT_EQ(readOrderIdentity(identity, folder.file("params.sno")), 0) << c.name;
        EXPECT_EQ(identity.date, c.expected.date) << c.name;
        EXPECT_EQ(identity.serverFolder, c.expected.serverFolder) << c.name;
        EXPECT_EQ(identity.customerId, c.expected.customerId) << c.name;
        EXPECT_EQ(identity.orderId, c.expected.orderId) << c.name;
    }
}

// The numbers become parts of file names on the customer's disk and on the server.
TEST(OrderIdentityFile, RefusesTokensThatCouldNameOtherFiles) {
    const std::pair<const char*, std::string> cases[] = {
        {"order number climbs up", "d f c ..\\..\\x"},
        {"order number with a slash", "d f c a/b"},
        {"order number with a backslash", "d f c a\\b"},
        {"order number with two dots", "d f c a..b"},
        {"order number with a colon", "d f c C:x"},
        {"order number with a wildcard", "d f c a*"},
        {"order number with a control character", "d f c a\x01"},
        {"order number with an undefined byte", "d f c a\x81"},
        {"customer number with a slash", "d f ../c o"},
        {"customer number with a quote", "d f c\" o"},
        {"order number too long", "d f c " + std::string(64, 'o')},
        {"customer number too long", "d f " + std::string(64, 'c') + " o"},
        {"date too long", std::string(64, 'd') + " f c o"},
        {"folder too long", "d " + std::string(260, 'f') + " c o"},
    };
    TempFolder folder;
    for (const auto& [name, bytes] : cases) {
        folder.write("params.sno", bytes);
        OrderIdentity identity = presetOrderIdentity();
        EXPECT_EQ(readOrderIdentity(identity, folder.file("params.sno")), 1) << name;
        EXPECT_EQ(identity.date, "now") << name;
        EXPECT_EQ(identity.serverFolder, "temp") << name;
        EXPECT_EQ(identity.customerId, "X") << name;
        EXPECT_EQ(identity.orderId, "Y") << name;
    }
}

TEST(OrderIdentityFile, AMissingFileFails) {
    TempFolder folder;
    OrderIdentity identity = presetOrderIdentity();
    EXPECT_EQ(readOrderIdentity(identity, folder.file("params.sno")), 1);
    EXPECT_EQ(identity.orderId, "Y");
}

}  // namespace
