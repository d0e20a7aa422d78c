// The client's memory does not grow with what it sends or receives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "http/client_steps.h"
#include "http/form_client.h"
#include "http/raw_server.h"
#include "support/process_memory.h"
#include "support/temp_folder.h"

namespace {

using namespace Tarvo;
using namespace http_testing;

// Growth allowed while a gigabyte passes: the buffers of the client, the transport and the network
// library are fixed; everything else would be a leak of the body.
constexpr long kAllowedGrowthKiB = 16 * 1024;

TEST(Memory, GigabyteUploadKeepsResidentMemoryFlat) {
    testing_support::TempFolder folder;
    const std::uint64_t size = std::uint64_t{1} << 30;
    { std::ofstream sparse(folder.file("big.raw"), std::ios::binary); }
    std::filesystem::resize_file(folder.file("big.raw"), size);

    ConnectionScript discard;
    discard.keepBytes = false;
    RawServer server({discard});
    httpformclientA client;
    client.AddParam("login", "jan");
    client.AddParam("sendfile", folder.file("big.raw"), ParamFile);
    client.BeginMultipartPost(server.url("/snapord2/standalone.php"), false);

    // The first steps bring every buffer of the post into being; growth is measured from there.
    for (int i = 0; i < 200; ++i)
        ASSERT_FALSE(client.ProceedPost(1024));
    const long rssStart = testing_support::processStatusKiB("VmRSS");
    const long peakStart = testing_support::processStatusKiB("VmHWM");
    long rssMax = rssStart;
    std::unique_ptr<httpreplyA> reply;
    for (std::uint64_t step = 0; !reply; ++step) {
        reply = client.ProceedPost(1024);
        if (step % 65536 == 0)
            rssMax = std::max(rssMax, testing_support::processStatusKiB("VmRSS"));
    }
    EXPECT_EQ(readAll(*reply), "OK");
    postprogressA progress;
    client.QueryProgress(progress);
    EXPECT_LT(rssMax - rssStart, kAllowedGrowthKiB);
    EXPECT_LT(testing_support::processStatusKiB("VmHWM") - peakStart, kAllowedGrowthKiB);
    EXPECT_GT(server.receivedCount(), size);
}

TEST(Memory, LargeReplyReadInSmallPiecesStaysBounded) {
    ConnectionScript large = replyWith("HTTP/1.1 200 OK\r\nContent-Length: 67108864\r\n\r\n");
    large.generatedBody = 64 * 1024 * 1024;
    RawServer server({large});
    httpformclientA client;
    client.BeginFormPost(server.url(), false);
    auto reply = proceedToReply(client);
    ASSERT_TRUE(reply);
    const long peakStart = testing_support::processStatusKiB("VmHWM");
    const long rssStart = testing_support::processStatusKiB("VmRSS");
    std::uint64_t total = 0;
    char buffer[10239];
    bool inOrder = true;
    while (const std::uint32_t n = reply->ReadContent(buffer, sizeof buffer)) {
        for (std::uint32_t i = 0; i < n; ++i)
            inOrder = inOrder && buffer[i] == static_cast<char>('a' + (total + i) % 65536 % 26);
        total += n;
    }
    EXPECT_EQ(total, 64u * 1024 * 1024);
    EXPECT_TRUE(inOrder);
    EXPECT_LT(testing_support::processStatusKiB("VmRSS") - rssStart, kAllowedGrowthKiB);
    EXPECT_LT(testing_support::processStatusKiB("VmHWM") - peakStart, kAllowedGrowthKiB);
}

}  // namespace
