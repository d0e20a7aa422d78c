// Measures the start of the program with a full order beside its start with an empty one.
//
//   startup_bench [path/to/snapord]        run under X, for example: xvfb-run -a startup_bench
//
// In a temporary folder it makes 1999 small JPEG photographs (ImageMagick makes one, the rest are copies)
// and two working folders, each with the shipped catalogue: one whose order.sno lists the 1999
// photographs, one whose order.sno is empty. Both hold a message.id that hides the lab's news, so that
// no window but the main one opens. Then, in the same run and alternating, the program is started
// against each (XDG_DATA_HOME) from its own folder, as scripts/run starts it, with
// SNAPORD_QUIT_WHEN_IDLE set: it ends by itself the first time its main window stands idle. The time
// from the start of the process to its end is taken, the median of several runs of each.
// Both starts run the update against the build's server address alike. Target: the full order starts in
// at most 1.5 times the time of the empty one. The last line is "startup ratio R".
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "order/order_item.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 1999;
constexpr int kRuns = 7;
// STARTUP_BENCH_RUNS overrides the number of measured starts of each kind.
int runs() {
    const char* runs = std::getenv("STARTUP_BENCH_RUNS");
    return runs != nullptr && std::atoi(runs) > 0 ? std::atoi(runs) : kRuns;
}
// A start that takes longer than this is taken as a program that never became idle.
constexpr auto kRunLimit = std::chrono::seconds(120);

std::string imageMagick() {
    for (const char* candidate : {"/usr/bin/convert-im6.q16", "/usr/bin/convert"}) {
        if (fs::exists(candidate))
            return candidate;
    }
    return "convert";
}

bool writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out.flush());
}

// A working folder <root>/Snapord/2.0.24.3 with the catalogue, the hidden news and `order`.
bool makeWorkingFolder(const fs::path& root, const fs::path& catalogue, const std::string& order) {
    const fs::path folder = root / "Snapord" / "2.0.24.3";
    std::error_code error;
    fs::create_directories(folder, error);
    if (error ||
        !fs::copy_file(catalogue, folder / "snapord2.ini", fs::copy_options::overwrite_existing, error))
        return false;
    return writeFile(folder / "message.id", "2147483647\n") && writeFile(folder / "order.sno", order);
}

// The order.sno of `photos`: each row as the main window makes it, formats and copies varying.
std::string orderOf(const std::vector<fs::path>& photos) {
    static constexpr const char* kFormats[] = {"10x15", "9x13", "13x18", "15x21"};
    static constexpr const char* kPapers[] = {"lesk", "mat"};
    static constexpr const char* kBorders[] = {"bez", "okraj"};
    std::string text;
    for (std::size_t i = 0; i < photos.size(); ++i) {
        text += order_item::make(kFormats[i % 4], kPapers[i % 2], kBorders[(i / 2) % 2],
                                 std::to_string(1 + i % 3), photos[i].string());
        text += "\r\n";
    }
    return text;
}

// Starts the program in `startFolder` against the working folders under `root` and waits until it
// ends; the milliseconds it ran, or a negative number when it failed or did not end in time.
double timedStart(const std::string& program, const fs::path& startFolder, const fs::path& root) {
    const auto started = Clock::now();
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (chdir(startFolder.c_str()) != 0)
            _exit(126);
        setenv("XDG_DATA_HOME", root.c_str(), 1);
        setenv("SNAPORD_QUIT_WHEN_IDLE", "1", 1);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // A watchdog ends a start that never becomes idle (a window nobody closes).
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool killed = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (!ended.wait_for(lock, kRunLimit, [&] { return done; })) {
            killed = true;
            kill(child, SIGKILL);
        }
    });
    int status = 0;
    const pid_t waited = waitpid(child, &status, 0);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    ended.notify_all();
    watchdog.join();
    if (waited != child || killed || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return ms;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string program = argc > 1 ? argv[1] : SNAPORD_PROGRAM;
    const fs::path startFolder = fs::absolute(program).parent_path();
    const fs::path catalogue = startFolder / "snapord2.ini";
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "no DISPLAY: run under X, for example xvfb-run -a %s\n", argv[0]);
        return 2;
    }
    if (!fs::exists(program) || !fs::exists(catalogue)) {
        std::fprintf(stderr, "%s or its catalogue %s is missing\n", program.c_str(),
                     catalogue.string().c_str());
        return 2;
    }

    const fs::path folder = fs::temp_directory_path() /
                            ("startup_bench_" + std::to_string(Clock::now().time_since_epoch().count()));
    const fs::path photosFolder = folder / "photos";
    fs::create_directories(photosFolder);
    const fs::path first = photosFolder / "photo_0001.jpg";
    const std::string make =
        imageMagick() + " -size 320x240 plasma:fractal -quality 85 '" + first.string() + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0 || !fs::exists(first)) {
        std::fprintf(stderr, "ImageMagick could not make the photograph\n");
        return 2;
    }
    std::vector<fs::path> photos{first};
    for (int i = 2; i <= kRows; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "photo_%04d.jpg", i);
        photos.push_back(photosFolder / name);
        fs::copy_file(first, photos.back(), fs::copy_options::overwrite_existing);
    }
    const fs::path fullRoot = folder / "full";
    const fs::path emptyRoot = folder / "empty";
    if (!makeWorkingFolder(fullRoot, catalogue, orderOf(photos)) ||
        !makeWorkingFolder(emptyRoot, catalogue, "")) {
        std::fprintf(stderr, "the working folders could not be made in %s\n", folder.string().c_str());
        return 2;
    }
    std::printf("program %s\n%d photographs of %ju bytes in %s\n", program.c_str(), kRows,
                static_cast<std::uintmax_t>(fs::file_size(first)), photosFolder.string().c_str());

    // One start of each first, so that both measured series meet warm caches.
    std::vector<double> full, empty;
    for (int run = 0; run <= runs(); ++run) {
        const double e = timedStart(program, startFolder, emptyRoot);
        const double f = timedStart(program, startFolder, fullRoot);
        if (e < 0 || f < 0) {
            std::fprintf(stderr, "a start did not reach its idle main window (run %d)\n", run);
            return 1;
        }
        if (run == 0)
            continue;
        empty.push_back(e);
        full.push_back(f);
    }
    const double emptyMs = median(empty);
    const double fullMs = median(full);
    std::printf("empty order.sno:        %8.1f ms (median of %d starts)\n", emptyMs, runs());
    std::printf("%d-row order.sno:     %8.1f ms (median of %d starts)\n", kRows, fullMs, runs());
    // STARTUP_BENCH_KEEP leaves the folders for a profile of one start.
    if (std::getenv("STARTUP_BENCH_KEEP") == nullptr) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    std::printf("startup ratio %.2f\n", fullMs / emptyMs);
    return 0;
}
