// The lab server under a transfer that is retried after broken connections: what a broken request
// leaves, what a repeated one does, and how a test tells an order ended once from one ended twice.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "lab_fixture.h"
#include "support/fault_proxy.h"

namespace {

namespace fs = std::filesystem;
using labtest::Answer;
using labtest::Field;
using labtest::LabFixture;
using labtest::readFile;
using labtest::ServerOrder;
using namespace testing_support;

class Retries : public LabFixture {
  protected:
    std::set<std::string> namesIn(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::vector<Field> copyFields(const ServerOrder& order, std::string_view from, std::string_view to) {
        return {{"login", "demo"},
                {"onlycopy", from},
                {"pass", "demo"},
                {"targetdir", order.folder},
                {"targetfile", to}};
    }
    std::vector<Field> endFields(const ServerOrder& order) {
        return {{"login", "demo"}, {"pass", "demo"}, {"targetfile", order.id}, {"transend", order.folder}};
    }
};

// The whole file as one opening of it finds it: a name replaced meanwhile does not mix into it.
std::string readOnce(const fs::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(0, in.tellg())), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return in ? bytes : std::string();
}

// Bytes that differ from one photograph to the next.
std::string photograph(char seed, std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i * 131 % 251);
    return bytes;
}

TEST_F(Retries, AnUploadBrokenAnywhereIsNeverStoredAndTheEarlierOneStaysUntilARetryArrivesWhole) {
    const ServerOrder order = openOrder();
    const std::string name = "001_" + order.id + "_a.jpg";
    const std::string first = photograph('a', 300'000);
    const std::string second = photograph('b', 1'500'000);
    ASSERT_EQ(upload("demo", "demo", first, order.folder, name).body, "OK");

    const Fault broken[] = {
        atShare(cutAfter(Stream::Request, 0), 0.05),    atShare(cutAfter(Stream::Request, 0), 0.5),
        atShare(cutAfter(Stream::Request, 0), 0.99999),  // a few bytes short of the closing boundary
        atShare(resetAfter(Stream::Request, 0), 0.5),   atShare(stallAfter(Stream::Request, 0), 0.7),
    };
    FaultPlan plan;
    for (std::size_t i = 0; i < std::size(broken); ++i)
        plan.set(i, broken[i]);
    FaultProxy proxy(static_cast<std::uint16_t>(server_->port()), plan);
    for (std::size_t i = 0; i < std::size(broken); ++i) {
        SCOPED_TRACE(describe(broken[i]));
        EXPECT_NE(upload("demo", "demo", second, order.folder, name, proxy.port()).body, "OK");
        EXPECT_EQ(readFile(orderFolder(order) / name), first);
    }
    EXPECT_EQ(proxy.injected(), std::size(broken));

    EXPECT_EQ(upload("demo", "demo", second, order.folder, name, proxy.port()).body, "OK");
    EXPECT_EQ(readFile(orderFolder(order) / name), second);
    // Stopping waits for the broken requests still being read: none leaves anything behind.
    server_->stop();
    EXPECT_TRUE(fs::is_empty(data_ / "incoming"));
    EXPECT_EQ(namesIn(orderFolder(order)), (std::set<std::string>{".order", name}));
}

TEST_F(Retries, ARepeatedUploadReplacesTheFileWholeForEveryReader) {
    const ServerOrder order = openOrder();
    const std::string name = "001_" + order.id + "_a.jpg";
    const std::string versions[] = {photograph('a', 400'000), photograph('b', 700'000)};
    ASSERT_EQ(upload("demo", "demo", versions[0], order.folder, name).body, "OK");

    // A reader of the lab's (the printing software) looks at the file all the time the uploads of the
    // same name go on: it finds one whole version or the other, never a mixture or a part.
    std::atomic<bool> done{false};
    std::atomic<int> looks{0};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done) {
            const std::string seen = readOnce(orderFolder(order) / name);
            torn += seen != versions[0] && seen != versions[1];
            ++looks;
        }
    });
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(upload("demo", "demo", versions[i % 2], order.folder, name).body, "OK");
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0) << "of " << looks << " looks";
    EXPECT_GT(looks, 12);
    EXPECT_EQ(readFile(orderFolder(order) / name), versions[0]);
    EXPECT_TRUE(fs::is_empty(data_ / "incoming"));
}

TEST_F(Retries, ACommandWhoseReplyWasLostIsDoneAndItsRepetitionChangesNothingButTheEndCount) {
    const ServerOrder order = openOrder();
    const std::string a = "001_" + order.id + "_a.jpg";
    const std::string b = "002_" + order.id + "_a.jpg";
    const std::string bytes = photograph('a', 200'000);
    // The first try of each command loses its whole reply; the repetition passes.
    FaultProxy proxy(static_cast<std::uint16_t>(server_->port()),
                     FaultPlan::scripted({{0, cutAfter(Stream::Reply, 0)},
                                          {2, cutAfter(Stream::Reply, 0)},
                                          {4, cutAfter(Stream::Reply, 0)}}));
    const int via = proxy.port();

    EXPECT_EQ(upload("demo", "demo", bytes, order.folder, a, via).status, 0) << "no reply";
    EXPECT_EQ(readFile(orderFolder(order) / a), bytes) << "but the file was stored";
    EXPECT_EQ(upload("demo", "demo", bytes, order.folder, a, via).body, "OK");
    EXPECT_EQ(readFile(orderFolder(order) / a), bytes);

    EXPECT_EQ(standalone(copyFields(order, a, b), via).status, 0);
    EXPECT_EQ(readFile(orderFolder(order) / b), bytes);
    EXPECT_EQ(standalone(copyFields(order, a, b), via).body, "OK");
    EXPECT_EQ(readFile(orderFolder(order) / b), bytes);

    EXPECT_EQ(standalone(endFields(order), via).status, 0);
    const labserver::OrderRecord ended = record(order);
    EXPECT_TRUE(ended.closed());
    EXPECT_EQ(ended.ends, 1u);
    // The client's end of an order whose reply was lost: "OK" again, the first closing time kept, and
    // the second end counted.
    EXPECT_EQ(standalone(endFields(order), via).body, "OK");
    EXPECT_EQ(record(order).closedAt, ended.closedAt);
    EXPECT_EQ(record(order).ends, 2u);
    EXPECT_EQ(proxy.injected(), 3u);

    // A fresh send starts from a new order, which has not been ended.
    const ServerOrder fresh = openOrder();
    EXPECT_NE(fresh.id, order.id);
    EXPECT_FALSE(record(fresh).closed());
    EXPECT_EQ(record(fresh).ends, 0u);
    server_->stop();
    EXPECT_EQ(namesIn(orderFolder(order)), (std::set<std::string>{".order", ".closed", a, b}));
    EXPECT_TRUE(fs::is_empty(data_ / "incoming"));
}

}  // namespace
