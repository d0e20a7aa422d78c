// Measures the preview of a large photograph.
//
//   preview_bench [photo.jpg]
//
// Without an argument, ImageMagick makes a photo-like 6000 x 4000 JPEG (plasma clouds with grain,
// quality 90) in a temporary folder. Then, in the same run:
// - the time ImageMagick's `convert photo.jpg -thumbnail 400x300` takes (median of several runs);
// - the time the preview takes: load with the thumbnail box, then the 400 x 300 thumbnail;
// - the mean absolute difference per channel between that preview and the thumbnail made by exact
//   area averaging of a full decode.
// Targets: at most half ImageMagick's time; a difference under 2 levels of 255.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "image/photo_preview.h"
#include "image/picture.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 7;

std::string imageMagick() {
    // The real program, not a wrapper that may stand before it on the PATH.
    for (const char* candidate : {"/usr/bin/convert-im6.q16", "/usr/bin/convert"}) {
        if (std::filesystem::exists(candidate))
            return candidate;
    }
    return "convert";
}

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

template <typename Work>
double medianMilliseconds(Work work) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = Clock::now();
        if (!work())
            return -1;
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double meanDifference(const Picture& a, const Picture& b) {
    // Over the photograph only, not the grey canvas around it, which is the same in both.
    long long sum = 0;
    long long count = 0;
    const Rgb grey = PhotoPreview::kBackground;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const Rgb p = a.colourAt(x, y), q = b.colourAt(x, y);
            if (p == grey && q == grey)
                continue;
            sum += std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue);
            count += 3;
        }
    }
    return count ? static_cast<double>(sum) / count : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string convert = imageMagick();
    const auto folder = std::filesystem::temp_directory_path() /
                        ("preview_bench_" + std::to_string(Clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder);
    std::string photo = argc > 1 ? argv[1] : (folder / "photo.jpg").string();
    if (argc <= 1) {
        std::printf("making a 6000 x 4000 photograph with ImageMagick...\n");
        if (!run(convert +
                 " -size 1500x1000 plasma:fractal -seed 5 -resize 6000x4000! -attenuate 0.35 +noise Gaussian"
                 " -quality 90 -sampling-factor 2x2 " +
                 photo)) {
            std::fprintf(stderr, "ImageMagick could not make the test photograph\n");
            return 2;
        }
    }
    const std::string thumbnail = (folder / "thumbnail.ppm").string();

    Picture preview;
    const double ours = medianMilliseconds([&] {
        if (!preview.load(photo, PictureType::Jpeg,
                          ThumbnailBox{PhotoPreview::kWidth, PhotoPreview::kHeight}))
            return false;
        preview.thumbnail(PhotoPreview::kWidth, PhotoPreview::kHeight, PhotoPreview::kBackground);
        return true;
    });
    const double theirs =
        medianMilliseconds([&] { return run(convert + " " + photo + " -thumbnail 400x300 " + thumbnail); });
    if (ours < 0 || theirs < 0) {
        std::fprintf(stderr, "a run failed (snapord %.1f, imagemagick %.1f)\n", ours, theirs);
        return 2;
    }

    Picture exact;
    const auto fullStart = Clock::now();
    exact.load(photo, PictureType::Jpeg);
    const int ownWidth = exact.width(), ownHeight = exact.height();
    exact.thumbnail(PhotoPreview::kWidth, PhotoPreview::kHeight, PhotoPreview::kBackground);
    const double full = std::chrono::duration<double, std::milli>(Clock::now() - fullStart).count();
    const double difference = meanDifference(preview, exact);
    const double ratio = ours / theirs;

    std::printf("photograph:            %s (%d x %d)\n", photo.c_str(), ownWidth, ownHeight);
    std::printf("imagemagick thumbnail: %8.1f ms (median of %d)\n", theirs, kRuns);
    std::printf("snapord preview:       %8.1f ms (median of %d)\n", ours, kRuns);
    std::printf("full decode + exact:   %8.1f ms (for reference)\n", full);
    std::printf("time ratio:            %8.3f  (target at most 0.5) %s\n", ratio,
                ratio <= 0.5 ? "met" : "MISSED");
    std::printf("mean difference:       %8.3f levels of 255 per channel (target under 2) %s\n", difference,
                difference < 2 ? "met" : "MISSED");
    std::filesystem::remove_all(folder);
    return ratio <= 0.5 && difference < 2 ? 0 : 1;
}
