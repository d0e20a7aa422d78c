// Sends an order of 200 photographs of 200 KB (each of different content) with the transfer procedure,
// headless but with the real waits and real sleeping, to the lab server running in this process on
// loopback; beside it, 200 sequential `curl -F` uploads of the same files with the client's form
// fields to the same server, and one curl process that uploads all 200 with `--next` over one
// connection. Prints the times, the ratio client/curl (target: at most 1.0) and, for the record, the
// ratio against the single curl process; the last line is "transfer ratio R".
//
//   transfer_bench [photographs] [kilobytes] [rounds]
//
// The client's time is the whole sending, from the login check to the end of the order (the half
// second the procedure waits before the photographs included); the photographs' part is shown too.
// Rounds alternate the three, so that all see the same machine; the median of the rounds counts.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "documents/order_document.h"
#include "labserver/lab_server.h"
#include "text/cp1250.h"
#include "transfer/server_request.h"
#include "transfer/standard_order.h"
#include "transfer/transfer_order.h"
#include "transfer/unattended_window.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::string_view kEndingOrder = "Ukončuji objednávku..."_cz;
constexpr std::string_view kSendingPrefix = "Odesílám soubor"_cz;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "transfer_bench: %s\n", why.c_str());
    std::exit(2);
}

// The sending dialog without windows: it sleeps for real and notes when the photographs begin and end.
class BenchWindow final : public transfer_testing::UnattendedWindow {
  public:
    Clock::time_point firstPhoto{};
    Clock::time_point photosDone{};

    void ShowStatus(std::string_view text) override {
        if (firstPhoto == Clock::time_point{} && text.substr(0, kSendingPrefix.size()) == kSendingPrefix)
            firstPhoto = Clock::now();
        if (text == kEndingOrder)
            photosDone = Clock::now();
    }
    void Warn(std::string_view text) override { fail("the sending warned: " + std::string(text)); }
    bool Ask(std::string_view, std::string_view) override { return true; }
    void Sleep(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct ClientTiming {
    double whole = 0;
    double photographs = 0;
};

ClientTiming sendWithClient(const labserver::LabServer& server, const fs::path& photos,
                            const std::vector<std::string>& names) {
    OrderDocument document;
    transfer_testing::useStandardOrder(document);
    for (const std::string& name : names) {
        if (document.addEntry(photos.string(), name) != AddEntryResult::Added)
            fail("the order takes no more photographs");
    }
    ServerRequest request;
    request.SetServerUrl(server.url());
    BenchWindow window;
    TransferOrder transfer(document, request, window);
    const auto start = Clock::now();
    transfer.Run(false);
    const double whole = secondsSince(start);
    if (transfer.result() != TransferResult::Sent)
        fail("the client did not send the order");
    // What was measured must have arrived: every photograph under its numbered name, byte for byte.
    const fs::path folder = server.dataFolder() / "orders" / transfer.identity().serverFolder;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string name =
            TransferOrder::RemoteName(static_cast<int>(i) + 1, transfer.identity().orderId, names[i]);
        if (readWhole(folder / name) != readWhole(photos / names[i]))
            fail("the lab did not get " + name + " as it was sent");
    }
    return {whole, std::chrono::duration<double>(window.photosDone - window.firstPhoto).count()};
}

// Runs curl with `args`, its output into `output`; false when it failed.
bool runCurl(std::vector<std::string> args, const fs::path& output) {
    args.insert(args.begin(), {"curl", "-s", "-S", "--noproxy", "*"});
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "curl", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        fail("curl cannot be started");
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A fresh order for curl's uploads, as the client gets one: "<date> <folder> <customer> <id>".
std::pair<std::string, std::string> openOrder(const std::string& url, const fs::path& scratch) {
    const fs::path reply = scratch / "params.txt";
    if (!runCurl({"--data-binary", "getfile=params&login=demo&pass=demo", url}, reply))
        fail("curl could not open an order");
    char date[64], folder[64], customer[64], id[64];
    if (std::sscanf(readWhole(reply).c_str(), "%63s %63s %63s %63s", date, folder, customer, id) != 4)
        fail("the order could not be read: " + readWhole(reply));
    return {folder, id};
}

// The form of one upload, in the fields the client sends: login, pass, sendfile, targetdir, targetfile.
std::vector<std::string> uploadForm(const fs::path& file, const std::string& folder,
                                    const std::string& target) {
    return {"-F", "login=demo",          "-F", "pass=demo",           "-F", "sendfile=@" + file.string(),
            "-F", "targetdir=" + folder, "-F", "targetfile=" + target};
}

std::string remoteName(int number, const std::string& id, const std::string& name) {
    return TransferOrder::RemoteName(number, id, name);
}

double sendWithCurlProcesses(const std::string& url, const fs::path& photos,
                             const std::vector<std::string>& names, const fs::path& scratch) {
    const auto [folder, id] = openOrder(url, scratch);
    const fs::path reply = scratch / "reply.txt";
    const auto start = Clock::now();
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::vector<std::string> args =
            uploadForm(photos / names[i], folder, remoteName(int(i) + 1, id, names[i]));
        args.push_back(url);
        if (!runCurl(args, reply) || readWhole(reply) != "OK")
            fail("curl's upload was not taken: " + readWhole(reply));
    }
    return secondsSince(start);
}

double sendWithOneCurl(const std::string& url, const fs::path& photos, const std::vector<std::string>& names,
                       const fs::path& scratch) {
    const auto [folder, id] = openOrder(url, scratch);
    std::vector<std::string> args;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            args.push_back("--next");
        const auto form = uploadForm(photos / names[i], folder, remoteName(int(i) + 1, id, names[i]));
        args.insert(args.end(), form.begin(), form.end());
        args.push_back(url);
    }
    const fs::path reply = scratch / "replies.txt";
    const auto start = Clock::now();
    const bool ran = runCurl(args, reply);
    const double seconds = secondsSince(start);
    std::string expected;
    for (std::size_t i = 0; i < names.size(); ++i)
        expected += "OK";
    if (!ran || readWhole(reply) != expected)
        fail("curl --next: not every upload was taken");
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::size_t kilobytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 200;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    if (count < 1 || count > 1999 || kilobytes < 1 || rounds < 1)
        fail("usage: transfer_bench [photographs 1-1999] [kilobytes] [rounds]");

    char pattern[] = "/tmp/snapord-transfer-bench-XXXXXX";
    if (!mkdtemp(pattern))
        fail("no temporary folder");
    const fs::path root = pattern;
    const fs::path data = root / "data";
    const fs::path photos = root / "photos";
    const fs::path work = root / "work";
    fs::copy(labserver::demoDataFolder(), data, fs::copy_options::recursive);
    fs::remove_all(data / "orders");
    fs::remove_all(data / "incoming");
    fs::create_directories(photos);
    fs::create_directories(work);

    std::vector<std::string> names;
    std::mt19937_64 random(200);
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "IMG_%04d.jpg", i + 1);
        names.emplace_back(name);
        std::string bytes(kilobytes * 1000, '\0');
        for (std::size_t at = 0; at + 8 <= bytes.size(); at += 8) {
            const std::uint64_t value = random();
            std::memcpy(bytes.data() + at, &value, 8);
        }
        std::ofstream(photos / name, std::ios::binary) << bytes;
    }

    labserver::LabServerOptions options;
    options.dataFolder = data;
    labserver::LabServer server(options);
    if (!server.start(0))
        fail("the lab server did not start: " + server.problem());
    const std::string url = server.url() + "/snapord2/standalone.php";
    fs::current_path(work);

    std::vector<ClientTiming> client;
    std::vector<double> curl, oneCurl, ratios, oneRatios;
    sendWithCurlProcesses(url, photos, {names.begin(), names.begin() + std::min(count, 5)},
                          root);  // warms up
    for (int round = 0; round < rounds; ++round) {
        client.push_back(sendWithClient(server, photos, names));
        curl.push_back(sendWithCurlProcesses(url, photos, names, root));
        oneCurl.push_back(sendWithOneCurl(url, photos, names, root));
        ratios.push_back(client.back().whole / curl.back());
        oneRatios.push_back(client.back().whole / oneCurl.back());
        std::printf(
            "round %d: client %.3f s (photographs %.3f s), %d curl processes %.3f s, one curl --next %.3f "
            "s\n",
            round + 1, client.back().whole, client.back().photographs, count, curl.back(), oneCurl.back());
        std::fflush(stdout);
    }
    server.stop();
    fs::current_path(root.parent_path());
    fs::remove_all(root);

    std::vector<double> wholes, photoParts;
    for (const ClientTiming& timing : client) {
        wholes.push_back(timing.whole);
        photoParts.push_back(timing.photographs);
    }
    std::printf("%d photographs of %zu KB, %d rounds, medians:\n", count, kilobytes, rounds);
    std::printf("client, the whole sending:   %.3f s (the photographs %.3f s)\n", median(wholes),
                median(photoParts));
    std::printf("%d curl -F processes:       %.3f s\n", count, median(curl));
    std::printf("one curl with --next:        %.3f s\n", median(oneCurl));
    std::printf("ratio client / one curl --next (for the record): %.2f\n", median(oneRatios));
    std::printf("transfer ratio %.2f\n", median(ratios));
    return 0;
}
