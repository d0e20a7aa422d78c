// Uploads a 200 MB file as a multipart post through httpformclientA, stepping 1024 content bytes at a
// time as the server protocol does, and the same file with `curl -F` to the same loopback server that
// reads and discards every body. Prints both throughputs, their ratio (target: at least 0.95) and the
// client's peak resident memory (target: under 16 MB).
//
//   http_upload_bench [size-in-MB] [rounds]
//
// The server runs in a child process, curl in another, so that the peak memory measured here is the
// client's alone.
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "http/form_client.h"
#include "http/raw_server.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// One upload: wall time and the processor time of the uploading process.
struct Timing {
    double seconds = 0;
    double cpuSeconds = 0;
};

double cpuOf(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(std::string(field) + ":", 0) == 0)
            return std::stol(line.substr(std::string(field).size() + 1));
    }
    return -1;
}

// Starts the discarding server in a child process; returns its pid and port.
pid_t startServer(std::uint16_t* port) {
    int channel[2];
    if (pipe(channel) != 0)
        std::exit(2);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        http_testing::ConnectionScript discard;
        discard.keepBytes = false;
        discard.answerExpect = true;
        http_testing::RawServer server({discard});
        const std::uint16_t bound = server.port();
        if (write(channel[1], &bound, sizeof bound) != sizeof bound)
            _exit(2);
        for (;;)
            pause();
    }
    close(channel[1]);
    if (read(channel[0], port, sizeof *port) != sizeof *port)
        std::exit(2);
    close(channel[0]);
    return child;
}

void addFields(Tarvo::httpformclientA& client, const std::string& path) {
    client.AddParam("login", "jan");
    client.AddParam("pass", "heslo");
    client.AddParam("targetfile", "001_photo.jpg");
    client.AddParam("targetdir", "2024/17");
    client.AddParam("sendfile", path, Tarvo::ParamFile);
}

Timing clientUpload(const std::string& url, const std::string& path) {
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = Clock::now();
    Tarvo::httpformclientA client;
    client.SetSessionOptions("Snapord ver.2.0.24.3", Tarvo::kAccessDirect, std::nullopt, std::nullopt, 0);
    addFields(client, path);
    client.BeginMultipartPost(url, false);
    Tarvo::postprogressA progress;
    std::unique_ptr<Tarvo::httpreplyA> reply;
    while (!reply) {
        client.QueryProgress(progress);
        reply = client.ProceedPost(1024);
    }
    char buffer[10240];
    while (reply->ReadContent(buffer, 10239) > 0) {
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    return {seconds, cpuOf(after) - cpuOf(before)};
}

Timing curlUpload(const std::string& url, const std::string& path) {
    std::vector<std::string> args = {"curl",
                                     "-s",
                                     "-S",
                                     "-o",
                                     "/dev/null",
                                     "--noproxy",
                                     "*",
                                     "-F",
                                     "login=jan",
                                     "-F",
                                     "pass=heslo",
                                     "-F",
                                     "sendfile=@" + path,
                                     "-F",
                                     "targetdir=2024/17",
                                     "-F",
                                     "targetfile=001_photo.jpg",
                                     url};
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, "curl", nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "curl cannot be started\n");
        std::exit(2);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "curl failed\n");
        std::exit(2);
    }
    return {seconds, cpuOf(usage)};
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::uint64_t size = megabytes * 1000 * 1000;

    std::uint16_t port = 0;
    const pid_t server = startServer(&port);
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/snapord2/standalone.php";

    const std::string path = (std::filesystem::temp_directory_path() / "snapord-upload-bench.bin").string();
    {
        std::ofstream file(path, std::ios::binary);
        std::vector<char> block(1 << 20);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>(i * 2654435761u >> 13);
        for (std::uint64_t left = size; left > 0;) {
            const auto n = static_cast<std::streamsize>(std::min<std::uint64_t>(left, block.size()));
            file.write(block.data(), n);
            left -= static_cast<std::uint64_t>(n);
        }
    }
    const long peakBefore = statusKiB("VmHWM");

    // Alternating rounds, so that both see the same machine. On a shared machine single rounds vary a
    // lot; the best round of each and the median of the per-round ratios are both shown.
    std::vector<Timing> client;
    std::vector<Timing> curl;
    try {
        clientUpload(url, path);  // warms the page cache
        for (int round = 0; round < rounds; ++round) {
            client.push_back(clientUpload(url, path));
            curl.push_back(curlUpload(url, path));
        }
    } catch (const Tarvo::httpclientexceptionA& e) {
        std::fprintf(stderr, "client failed: %s (%u, %s)\n", e.what(), e.Win32Error(),
                     e.Diagnostic().c_str());
        kill(server, SIGTERM);
        return 1;
    }
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    std::filesystem::remove(path);

    const double mb = static_cast<double>(size) / 1e6;
    std::vector<double> wallRatios, cpuRatios;
    double bestClient = 1e9, bestCurl = 1e9;
    for (int i = 0; i < rounds; ++i) {
        wallRatios.push_back(curl[i].seconds / client[i].seconds);
        cpuRatios.push_back(curl[i].cpuSeconds / client[i].cpuSeconds);
        bestClient = std::min(bestClient, client[i].seconds);
        bestCurl = std::min(bestCurl, curl[i].seconds);
    }
    std::printf("file: %.0f MB, %d rounds each, alternating\n", mb, rounds);
    std::printf("client (1024-byte steps): best %.3f s, %.0f MB/s\n", bestClient, mb / bestClient);
    std::printf("curl -F:                  best %.3f s, %.0f MB/s\n", bestCurl, mb / bestCurl);
    std::printf("throughput ratio client/curl: best-of %.2f, median of rounds %.2f (target >= 0.95)\n",
                bestCurl / bestClient, median(wallRatios));
    std::printf("processor time ratio curl/client, median of rounds: %.2f\n", median(cpuRatios));
    std::printf("client peak resident memory: %.1f MB (before the uploads %.1f MB; target < 16 MB)\n",
                statusKiB("VmHWM") / 1024.0, peakBefore / 1024.0);
    return 0;
}
