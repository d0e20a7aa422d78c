// Every command of the lab's endpoints against the server running in-process, with request bodies
// made byte for byte as the client makes them.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "buildinfo/build_constants.h"
#include "documents/order_document.h"
#include "lab_fixture.h"
#include "text/cp1250.h"

namespace {

namespace fs = std::filesystem;
using labtest::Answer;
using labtest::Field;
using labtest::LabFixture;
using labtest::readFile;
using labtest::ServerOrder;

const std::string kVersion(build::kVersion);

class Commands : public LabFixture {
  protected:
    std::string publicFile(std::string_view name) { return readFile(data_ / "public" / kVersion / name); }

    // Every file and folder under the data folder, for checking that a request created nothing.
    std::set<std::string> everything() {
        std::set<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(data_))
            names.insert(fs::relative(entry.path(), data_).string());
        return names;
    }

    // The order file as the client writes it (lines ending in CR CR LF): two photographs of the
    // order, 3 x format 2 and 1 x format `secondFormat`, the product 1 ticked, delivery 1.
    static std::string orderFile(const ServerOrder& order, int secondFormat = 5) {
        const std::string id = order.id;
        return "[Customer]\r\r\nID=" + order.customer + "\r\r\n\r\r\n[Order]\r\r\nID=" + id +
               "\r\r\nSystemID=1\r\r\nDate=" + order.date +
               "\r\r\nVersion=2.0.24.3\r\r\nNotice=Prosím = rychle # "
               "díky\r\r\nPayment=1\r\r\nDelivery=1\r\r\n"
               "Shop=1\r\r\n# Payment:  Hotově\r\r\n# Delivery: Osobní odběr\r\r\n# Shop:     Praha\r\r\n"
               "\r\r\n[OrderSpecials]\r\r\n# Expres (expres): 0\r\r\n1=0\r\r\n"
               "\r\r\n[OrderProducts]\r\r\n# Fotografie (foto): 1\r\r\n1=1\r\r\n# Fotokniha (kniha): "
               "0\r\r\n4=0\r\r\n"
               "\r\r\n[Content]\r\r\nName=001_" +
               id +
               "_IMG_0042.JPG\r\r\n# 10 x 15 cm-Lesklý-Bez okraje-3x \r\r\n"
               "Format=2\r\r\nCount=3\r\r\nBorder=1\r\r\nDull=1\r\r\n"
               "Name=002_" +
               id +
               "_IMG_0043.JPG\r\r\n# 20 x 30 cm-Matný-S okrajem-1x \r\r\n"
               "Format=" +
               std::to_string(secondFormat) +
               "\r\r\nCount=1\r\r\nBorder=2\r\r\nDull=2\r\r\n"
               "\r\r\n[Price]\r\r\n";
    }

    Answer price(const ServerOrder& order, std::string_view customer) {
        return standalone({{"getprice", kVersion},
                           {"login", "demo"},
                           {"objID", order.id},
                           {"pass", "demo"},
                           {"usrID", customer}});
    }
    Answer validity(const ServerOrder& order) {
        return standalone({{"getvalidity", kVersion},
                           {"login", "demo"},
                           {"objID", order.id},
                           {"pass", "demo"},
                           {"usrID", order.customer}});
    }
    Answer onlyCopy(const ServerOrder& order, std::string_view from, std::string_view to,
                    std::string_view login = "demo", std::string_view pass = "demo") {
        return standalone({{"login", login},
                           {"onlycopy", from},
                           {"pass", pass},
                           {"targetdir", order.folder},
                           {"targetfile", to}});
    }
    Answer transEnd(std::string_view folder, std::string_view id, std::string_view login = "demo",
                    std::string_view pass = "demo") {
        return standalone({{"login", login}, {"pass", pass}, {"targetfile", id}, {"transend", folder}});
    }
};

bool isRefusal(const Answer& answer) {
    return answer.status != 0 && answer.body.starts_with("error: ");
}

TEST_F(Commands, LoginsAreRefusedWithTheReplyEachCommandKnows) {
    const ServerOrder order = openOrder();
    ASSERT_EQ(upload("demo", "demo", "jpeg", order.folder, "001_x.jpg").body, "OK");
    const std::string hlavicka = kVersion + "/hlavicka.jpg";
    struct Row {
        const char* name;
        std::string_view login, pass;
        std::vector<Field> fields;
        const char* expected;
    };
    const std::vector<Row> rows = {
        {"download, wrong password", "demo", "spatne", {{"getfile", hlavicka}}, "badlogin"},
        {"download, unknown name", "nikdo", "demo", {{"getfile", hlavicka}}, "badlogin"},
        {"download, password without a name", "", "demo", {{"getfile", "params"}}, "badlogin"},
        {"price, wrong password",
         "demo",
         "spatne",
         {{"getprice", kVersion}, {"objID", order.id}},
         "badlogin"},
        {"price, unknown name", "nikdo", "x", {{"getprice", kVersion}, {"objID", order.id}}, "nologin"},
        {"price, anonymous", "", "", {{"getprice", kVersion}, {"objID", order.id}}, "nologin"},
        {"validity, unknown name", "nikdo", "x", {{"getvalidity", kVersion}, {"objID", order.id}}, "nologin"},
        {"copy, wrong password",
         "demo",
         "Demo",
         {{"onlycopy", "001_x.jpg"}, {"targetdir", order.folder}, {"targetfile", "002_x.jpg"}},
         "badlogin"},
        {"copy, anonymous",
         "",
         "",
         {{"onlycopy", "001_x.jpg"}, {"targetdir", order.folder}, {"targetfile", "002_x.jpg"}},
         "nologin"},
        {"end of order, unknown name",
         "Demo",
         "demo",
         {{"targetfile", order.id}, {"transend", order.folder}},
         "nologin"},
        {"end of order, anonymous",
         "",
         "",
         {{"targetfile", order.id}, {"transend", order.folder}},
         "nologin"},
    };
    for (const Row& row : rows) {
        std::vector<Field> fields = row.fields;
        fields.insert(fields.begin(), {{"login", row.login}, {"pass", row.pass}});
        EXPECT_EQ(standalone(fields).body, row.expected) << row.name;
    }
    EXPECT_EQ(upload("demo", "spatne", "jpeg", order.folder, "003_x.jpg").body, "badlogin");
    EXPECT_EQ(upload("nikdo", "demo", "jpeg", order.folder, "003_x.jpg").body, "nologin");
    EXPECT_EQ(upload("", "", "jpeg", order.folder, "003_x.jpg").body, "nologin");
    // Nothing of the refused requests reached the order or stayed behind.
    EXPECT_FALSE(fs::exists(orderFolder(order) / "002_x.jpg"));
    EXPECT_FALSE(fs::exists(orderFolder(order) / "003_x.jpg"));
    EXPECT_FALSE(fs::exists(orderFolder(order) / ".closed"));
    EXPECT_TRUE(fs::is_empty(data_ / "incoming"));
}

TEST_F(Commands, DownloadsServeThePublicFilesByteForByteToCustomersAndAnonymously) {
    // The body exactly as the client sends it: fields by name, every punctuation byte encoded.
    const std::string body =
        "getfile=" + labtest::formEncode(kVersion) + "%2Fhlavicka%2Ejpg&login=demo&pass=demo";
    const Answer header = post("/snapord2/standalone.php", body);
    EXPECT_EQ(header.status, 200);
    ASSERT_FALSE(publicFile("hlavicka.jpg").empty());
    EXPECT_EQ(header.body, publicFile("hlavicka.jpg"));
    for (const auto& [login, pass] : std::vector<Field>{{"demo", "demo"}, {"", ""}}) {
        EXPECT_EQ(
            standalone({{"getfile", kVersion + "/snapord2.ini"}, {"login", login}, {"pass", pass}}).body,
            publicFile("snapord2.ini"))
            << "login '" << login << "'";
        EXPECT_EQ(post("/snapord2/standfile.php",
                       labtest::formBody(
                           {{"getfile", kVersion + "/message.txt"}, {"login", login}, {"pass", pass}}))
                      .body,
                  publicFile("message.txt"));
    }
    // The anonymous endpoint does not look at credentials at all.
    EXPECT_EQ(
        post("/snapord2/standfile.php",
             labtest::formBody({{"getfile", kVersion + "/hlavicka.jpg"}, {"login", "demo"}, {"pass", "x"}}))
            .body,
        publicFile("hlavicka.jpg"));
}

TEST_F(Commands, DownloadsOfMissingOrRefusedPathsAnswerNotfound) {
    const std::vector<std::string> paths = {
        kVersion + "/chybi.jpg",  // missing
        kVersion,                 // a folder
        "users.txt",              // outside the public files
        "../users.txt",
        kVersion + "/../../users.txt",
        "/etc/passwd",
        "..\\users.txt",
        "orders/obj100001/.order",
        kVersion + "//hlavicka.jpg",
        "",
    };
    for (const std::string& path : paths) {
        EXPECT_EQ(standalone({{"getfile", path}, {"login", "demo"}, {"pass", "demo"}}).body, "notfound")
            << path;
        EXPECT_EQ(post("/snapord2/standfile.php",
                       labtest::formBody({{"getfile", path}, {"login", ""}, {"pass", ""}}))
                      .body,
                  "notfound")
            << path;
    }
    // Order numbers come only from the endpoint that knows the customer.
    EXPECT_EQ(post("/snapord2/standfile.php",
                   labtest::formBody({{"getfile", "params"}, {"login", ""}, {"pass", ""}}))
                  .body,
              "notfound");
}

TEST_F(Commands, ParamsHandOutAFreshOrderForTheCustomerEachTime) {
    const ServerOrder first = openOrder();
    const ServerOrder second = openOrder();
    const ServerOrder anonymous = openOrder("", "");
    EXPECT_EQ(first.customer, "1001");
    EXPECT_EQ(anonymous.customer, "0");
    EXPECT_EQ(std::stoll(second.id), std::stoll(first.id) + 1);
    EXPECT_EQ(std::stoll(anonymous.id), std::stoll(first.id) + 2);
    for (const ServerOrder& order : {first, second, anonymous}) {
        EXPECT_EQ(order.folder, "obj" + order.id);
        EXPECT_TRUE(fs::is_directory(orderFolder(order)));
        ASSERT_EQ(order.date.size(), 10u);
        EXPECT_TRUE(order.date[4] == '-' && order.date[7] == '-') << order.date;
    }
    // The reply is the four words on one line, without a line break.
    const Answer raw = standalone({{"getfile", "params"}, {"login", "demo"}, {"pass", "demo"}});
    EXPECT_EQ(std::count(raw.body.begin(), raw.body.end(), ' '), 3) << raw.body;
    EXPECT_EQ(raw.body.find_first_of("\r\n"), std::string::npos);
}

TEST_F(Commands, SendfileStoresExactlyTheBytesAndReplacesAnEarlierUpload) {
    const ServerOrder order = openOrder();
    // Bytes that look like the multipart structure around them, spread over many network reads.
    std::string photo;
    for (std::uint32_t i = 0; photo.size() < 1'500'000; ++i) {
        photo += static_cast<char>((i * 7919) % 256);
        if (i % 5000 == 0)
            photo += "\r\n--" + std::string(labtest::kBoundary.substr(0, 30 + i % 13)) + "\r\n";
    }
    const std::string name = "001_" + order.id + "_Dovolen\xE1 2024.JPG";
    EXPECT_EQ(upload("demo", "demo", photo, order.folder, name).body, "OK");
    EXPECT_EQ(readFile(orderFolder(order) / ("001_" + order.id + "_Dovolená 2024.JPG")), photo);

    EXPECT_EQ(upload("demo", "demo", "", order.folder, "002_empty.jpg").body, "OK");
    EXPECT_TRUE(fs::exists(orderFolder(order) / "002_empty.jpg"));
    EXPECT_EQ(fs::file_size(orderFolder(order) / "002_empty.jpg"), 0u);

    EXPECT_EQ(upload("demo", "demo", "druhý pokus", order.folder, "002_empty.jpg").body, "OK");
    EXPECT_EQ(readFile(orderFolder(order) / "002_empty.jpg"), "druhý pokus");

    // Fields in another order than the client's: the password after the file.
    const std::string reordered = labtest::multipartBody({{"targetfile", "003_b.jpg"},
                                                          {"login", "demo"},
                                                          {"sendfile", "obsah", "/home/jan/b.jpg"},
                                                          {"pass", "demo"},
                                                          {"targetdir", order.folder}});
    EXPECT_EQ(post("/snapord2/standalone.php", reordered,
                   "multipart/form-data; boundary=" + std::string(labtest::kBoundary))
                  .body,
              "OK");
    EXPECT_EQ(readFile(orderFolder(order) / "003_b.jpg"), "obsah");
    EXPECT_TRUE(fs::is_empty(data_ / "incoming"));
}

TEST_F(Commands, OnlycopyCopiesAFileOfTheSameOrder) {
    const ServerOrder order = openOrder();
    ASSERT_EQ(upload("demo", "demo", "fotografie", order.folder, "001_a.jpg").body, "OK");
    EXPECT_EQ(onlyCopy(order, "001_a.jpg", "002_a.jpg").body, "OK");
    EXPECT_EQ(onlyCopy(order, "001_a.jpg", "003_a.jpg").body, "OK");
    EXPECT_EQ(readFile(orderFolder(order) / "002_a.jpg"), "fotografie");
    EXPECT_EQ(readFile(orderFolder(order) / "003_a.jpg"), "fotografie");
    EXPECT_TRUE(isRefusal(onlyCopy(order, "009_chybi.jpg", "004_a.jpg")));
    EXPECT_FALSE(fs::exists(orderFolder(order) / "004_a.jpg"));
}

TEST_F(Commands, TransendClosesTheOrderWhichThenTakesNoMoreFiles) {
    const ServerOrder order = openOrder();
    ASSERT_EQ(upload("demo", "demo", "x", order.folder, "001_a.jpg").body, "OK");
    EXPECT_TRUE(isRefusal(transEnd(order.folder, openOrder().id)));  // the number of another order
    EXPECT_FALSE(fs::exists(orderFolder(order) / ".closed"));

    EXPECT_EQ(transEnd(order.folder, order.id).body, "OK");
    const labserver::OrderRecord closed = record(order);
    EXPECT_TRUE(closed.closed());
    EXPECT_EQ(closed.ends, 1u);
    // A repeated end is answered as the first (its reply may have been lost), keeps the first time
    // and is counted, so that an order ended twice can be told from one ended once.
    EXPECT_EQ(transEnd(order.folder, order.id).body, "OK");
    EXPECT_EQ(record(order).closedAt, closed.closedAt);
    EXPECT_EQ(record(order).ends, 2u);

    EXPECT_TRUE(isRefusal(upload("demo", "demo", "y", order.folder, "002_a.jpg")));
    EXPECT_TRUE(isRefusal(onlyCopy(order, "001_a.jpg", "003_a.jpg")));
    EXPECT_FALSE(fs::exists(orderFolder(order) / "002_a.jpg"));
    EXPECT_FALSE(fs::exists(orderFolder(order) / "003_a.jpg"));
}

TEST_F(Commands, HostileNamesAreRefusedAndNothingLandsOutsideTheOrder) {
    const ServerOrder order = openOrder();
    ASSERT_EQ(upload("demo", "demo", "x", order.folder, "001_a.jpg").body, "OK");
    const std::set<std::string> before = everything();
    const std::vector<std::string> fileNames = {
        "../pwned.jpg",
        "..",
        ".",
        "a/b.jpg",
        "a\\b.jpg",
        "/tmp/pwned.jpg",
        ".order",
        ".closed",
        "",
        "a\nb.jpg",
        "a\rb.jpg",
        "x\x81y.jpg",
        std::string("a\0b.jpg", 7),
        std::string(256, 'a'),
    };
    for (const std::string& name : fileNames) {
        EXPECT_TRUE(isRefusal(upload("demo", "demo", "z", order.folder, name))) << "target " << name;
        EXPECT_TRUE(isRefusal(onlyCopy(order, "001_a.jpg", name))) << "copy to " << name;
        EXPECT_TRUE(isRefusal(onlyCopy(order, name, "002_a.jpg"))) << "copy from " << name;
    }
    const std::vector<std::string> folders = {
        "../" + order.folder, order.folder + "/..", "/tmp", "orders",   "..",        "",
        "obj0" + order.id,    order.folder + "/",   "obj",  "incoming", "obj999999",
    };
    for (const std::string& folder : folders) {
        EXPECT_TRUE(isRefusal(upload("demo", "demo", "z", folder, "003_a.jpg"))) << "folder " << folder;
        EXPECT_TRUE(isRefusal(transEnd(folder, order.id))) << "folder " << folder;
    }
    // The order's own record is not a file a client can copy out.
    EXPECT_TRUE(isRefusal(onlyCopy(order, ".order", "004_a.jpg")));
    EXPECT_EQ(everything(), before);
    EXPECT_FALSE(fs::exists(fs::path(temp_.path()) / "pwned.jpg"));
}

TEST_F(Commands, OrdersOfAnotherCustomerCannotBeTouched) {
    const ServerOrder order = openOrder();
    ASSERT_EQ(upload("demo", "demo", "x", order.folder, "001_a.jpg").body, "OK");
    ASSERT_EQ(upload("demo", "demo", orderFile(order), order.folder, "000_" + order.id + ".snf").body, "OK");
    EXPECT_TRUE(isRefusal(upload("jana", "tajne", "y", order.folder, "002_a.jpg")));
    EXPECT_TRUE(isRefusal(onlyCopy(order, "001_a.jpg", "003_a.jpg", "jana", "tajne")));
    EXPECT_TRUE(isRefusal(transEnd(order.folder, order.id, "jana", "tajne")));
    EXPECT_EQ(standalone({{"getprice", kVersion},
                          {"login", "jana"},
                          {"objID", order.id},
                          {"pass", "tajne"},
                          {"usrID", "1002"}})
                  .body,
              "nologin");
    EXPECT_TRUE(standalone({{"getvalidity", kVersion},
                            {"login", "jana"},
                            {"objID", order.id},
                            {"pass", "tajne"},
                            {"usrID", "1002"}})
                    .body.starts_with("error\n"));
    EXPECT_FALSE(fs::exists(orderFolder(order) / "002_a.jpg"));
    EXPECT_FALSE(fs::exists(orderFolder(order) / "003_a.jpg"));
    EXPECT_FALSE(fs::exists(orderFolder(order) / ".closed"));
}

TEST_F(Commands, GetpriceSumsTheUploadedOrderFileAgainstThePriceList) {
    const ServerOrder order = openOrder();
    ASSERT_EQ(upload("demo", "demo", orderFile(order), order.folder, "000_" + order.id + ".snf").body, "OK");
    // 3 x 5,90 (10 x 15) + 1 x 34,90 (20 x 30) + product 1 (0) + personal pickup (0), in cp1250.
    EXPECT_EQ(price(order, order.customer).body, "52,60&nbsp;K\xE8");

    const ServerOrder unpriced = openOrder();
    ASSERT_EQ(
        upload("demo", "demo", orderFile(unpriced, 99), unpriced.folder, "000_" + unpriced.id + ".snf").body,
        "OK");
    const ServerOrder withoutFile = openOrder();
    const ServerOrder mislabelled = openOrder();
    ASSERT_EQ(
        upload("demo", "demo", orderFile(order), mislabelled.folder, "000_" + mislabelled.id + ".snf").body,
        "OK");
    // The client takes every other reply as a price, so each failure is a refusal.
    struct Row {
        const char* name;
        ServerOrder order;
        std::string customer;
    };
    const std::vector<Row> rows = {
        {"a format without a price", unpriced, unpriced.customer},
        {"no order file", withoutFile, withoutFile.customer},
        {"an order file of another order", mislabelled, mislabelled.customer},
        {"another customer number", order, "1002"},
        {"an unknown order", ServerOrder{"", "", "1001", "999999"}, "1001"},
        {"a number that is no order number", ServerOrder{"", "", "1001", "../obj" + order.id}, "1001"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(price(row.order, row.customer).body, "nologin") << row.name;
}

TEST_F(Commands, PricesAndChecksTheDocumentsThatTheClientWrites) {
    const ServerOrder order = openOrder();
    OrderDocument document;
    OrderParams params;
    params.delivery = 2;  // post, 99,00
    params.products[0] = {1, 1, "Fotografie", "foto", 1};
    params.products[1] = {1, 2, "Jen archivace na serveru", "archiv", 0};
    params.products[2] = {1, 3, std::string("Vypálit na CD"_cz), "cd", 1};  // 120,00
    document.setParams(params);
    document.setIdentity({order.date, order.folder, order.customer, order.id});
    document.setCurrentPhoto({0, 2, std::string("10 x 15 cm-Lesklý-Bez okraje-4x"_cz), 1, 1, 4});  // 4 x 5,90
    ASSERT_EQ(document.addEntry("C:\\Fotky", "IMG_1.JPG"), AddEntryResult::Added);
    document.setCurrentPhoto({0, 6, std::string("30 x 45 cm-Matný-S okrajem-1x"_cz), 2, 2, 1});  // 89,00
    ASSERT_EQ(document.addEntry("C:\\Fotky", "IMG_2.JPG"), AddEntryResult::Added);
    const std::string orderFile = temp_.file("obj.snf");
    const std::string laceFile = temp_.file("obj.lace");
    ASSERT_EQ(document.writeOrderFile(orderFile), 0);
    ASSERT_EQ(document.writeLaceFile(laceFile), 0);

    ASSERT_EQ(upload("demo", "demo", readFile(laceFile), order.folder, "000_" + order.id + ".lace").body,
              "OK");
    ASSERT_EQ(upload("demo", "demo", readFile(orderFile), order.folder, "000_" + order.id + ".snf").body,
              "OK");
    EXPECT_EQ(price(order, order.customer).body, "331,60&nbsp;K\xE8");
    EXPECT_TRUE(validity(order).body.starts_with("warning\n"));
    ASSERT_EQ(upload("demo", "demo", "1", order.folder, "001_" + order.id + "_IMG_1.JPG").body, "OK");
    ASSERT_EQ(upload("demo", "demo", "2", order.folder, "002_" + order.id + "_IMG_2.JPG").body, "OK");
    EXPECT_EQ(validity(order).body, "OK");
}

TEST_F(Commands, GetvalidityTellsACompleteOrderFromAnIncompleteOne) {
    const ServerOrder order = openOrder();
    EXPECT_TRUE(validity(order).body.starts_with("error\n")) << "no order file yet";
    ASSERT_EQ(upload("demo", "demo", orderFile(order), order.folder, "000_" + order.id + ".snf").body, "OK");
    ASSERT_EQ(upload("demo", "demo", "foto", order.folder, "001_" + order.id + "_IMG_0042.JPG").body, "OK");

    const std::string warning = validity(order).body;
    EXPECT_TRUE(warning.starts_with("warning\n")) << warning;
    EXPECT_NE(warning.find("002_" + order.id + "_IMG_0043.JPG"), std::string::npos) << warning;
    EXPECT_EQ(warning.find("001_" + order.id), std::string::npos) << warning;
    EXPECT_NE(warning.find("000_" + order.id + ".lace"), std::string::npos) << warning;

    ASSERT_EQ(onlyCopy(order, "001_" + order.id + "_IMG_0042.JPG", "002_" + order.id + "_IMG_0043.JPG").body,
              "OK");
    ASSERT_EQ(upload("demo", "demo", "lace", order.folder, "000_" + order.id + ".lace").body, "OK");
    EXPECT_EQ(validity(order).body, "OK");
}

TEST_F(Commands, UnusableRequestsAreRefusedWithAReplyTheClientTakesAsAFailure) {
    EXPECT_TRUE(isRefusal(standalone({{"login", "demo"}, {"pass", "demo"}})));
    EXPECT_TRUE(isRefusal(
        standalone({{"getfile", "params"}, {"getprice", kVersion}, {"login", "demo"}, {"pass", "demo"}})));
    // An upload must carry its file as a file part.
    EXPECT_TRUE(isRefusal(standalone({{"login", "demo"},
                                      {"pass", "demo"},
                                      {"sendfile", "x"},
                                      {"targetdir", "obj1"},
                                      {"targetfile", "a.jpg"}})));
    EXPECT_TRUE(isRefusal(post("/snapord2/standfile.php", labtest::formBody({{"transend", "obj100001"}}))));

    // A download with a form the server does not take is "notfound": any other text would become
    // the client's file.
    std::vector<std::string> names;
    std::vector<Field> tooMany = {{"getfile", "params"}, {"login", "demo"}, {"pass", "demo"}};
    for (int i = 0; i < 300; ++i)
        names.push_back("x" + std::to_string(i));
    for (const std::string& name : names)
        tooMany.emplace_back(name, "1");
    EXPECT_EQ(standalone(tooMany).body, "notfound");
    EXPECT_EQ(post("/snapord2/standfile.php", labtest::formBody(tooMany)).body, "notfound");
    EXPECT_EQ(std::distance(fs::directory_iterator(data_ / "orders"), fs::directory_iterator()), 0)
        << "no order was opened";

    // Two files in one upload: neither is stored.
    const ServerOrder order = openOrder();
    const std::string twoFiles = labtest::multipartBody({{"login", "demo"},
                                                         {"pass", "demo"},
                                                         {"sendfile", "first", "C:\\a.jpg"},
                                                         {"sendfile", "second", "C:\\b.jpg"},
                                                         {"targetdir", order.folder},
                                                         {"targetfile", "001_a.jpg"}});
    EXPECT_TRUE(isRefusal(post("/snapord2/standalone.php", twoFiles,
                               "multipart/form-data; boundary=" + std::string(labtest::kBoundary))));
    EXPECT_FALSE(fs::exists(orderFolder(order) / "001_a.jpg"));
    EXPECT_TRUE(fs::is_empty(data_ / "incoming"));
}

}  // namespace
