#include "image/area_reduction.h"

#include <algorithm>

namespace area_reduction {

std::vector<AreaReducer::Coverage> AreaReducer::coverages(int src, int dst) {
    std::vector<Coverage> result(static_cast<std::size_t>(dst));
    for (int d = 0; d < dst; ++d) {
        const std::int64_t begin = std::int64_t{d} * src * 1000 / dst;
        const std::int64_t end = std::int64_t{d + 1} * src * 1000 / dst;
        auto& c = result[static_cast<std::size_t>(d)];
        c.first = static_cast<int>(begin / 1000);
        c.last = static_cast<int>((end - 1) / 1000);
        const auto weight = [begin, end](int s) {
            return std::min(end, std::int64_t{s + 1} * 1000) - std::max(begin, std::int64_t{s} * 1000);
        };
        c.firstWeight = weight(c.first);
        c.lastWeight = weight(c.last);
        c.total = end - begin;
    }
    return result;
}

AreaReducer::AreaReducer(Side width, Side height)
    : width_(width),
      height_(height),
      across_(coverages(width.from, width.to)),
      down_(coverages(height.from, height.to)),
      reduced_(static_cast<std::size_t>(width.to) * 3),
      out_(static_cast<std::size_t>(width.to) * height.to * 3) {
    for (auto& sums : sums_)
        sums.assign(reduced_.size(), 0);
}

void AreaReducer::addRow(const std::uint8_t* rgb) {
    if (complete())
        return;
    for (int x = 0; x < width_.to; ++x) {
        const auto& horizontal = across_[static_cast<std::size_t>(x)];
        const std::uint8_t* p = rgb + static_cast<std::size_t>(horizontal.first) * 3;
        // The whole pixels between the ends first, then the ends with their shares.
        std::uint64_t r = 0, g = 0, b = 0;
        for (int s = horizontal.first + 1; s < horizontal.last; ++s) {
            const std::uint8_t* inner = rgb + static_cast<std::size_t>(s) * 3;
            r += inner[0];
            g += inner[1];
            b += inner[2];
        }
        r *= 1000;
        g *= 1000;
        b *= 1000;
        const auto w = static_cast<std::uint64_t>(horizontal.firstWeight);
        r += w * p[0];
        g += w * p[1];
        b += w * p[2];
        if (horizontal.last != horizontal.first) {
            const std::uint8_t* q = rgb + static_cast<std::size_t>(horizontal.last) * 3;
            const auto v = static_cast<std::uint64_t>(horizontal.lastWeight);
            r += v * q[0];
            g += v * q[1];
            b += v * q[2];
        }
        reduced_[static_cast<std::size_t>(x) * 3] = r;
        reduced_[static_cast<std::size_t>(x) * 3 + 1] = g;
        reduced_[static_cast<std::size_t>(x) * 3 + 2] = b;
    }
    // Shrinking, every destination row covers at least one whole source row, so a source row falls
    // into this destination row and perhaps the next one, never further.
    const int source = nextSourceRow_++;
    for (int k = 0; k < 2; ++k) {
        const int row = sumsRow_ + k;
        if (row >= height_.to)
            break;
        const auto& vertical = down_[static_cast<std::size_t>(row)];
        if (source >= vertical.first && source <= vertical.last)
            addToSums(k, vertical.weightOf(source));
    }
    while (sumsRow_ < height_.to) {
        const auto& vertical = down_[static_cast<std::size_t>(sumsRow_)];
        if (source < vertical.last)
            break;
        finishRow(sumsRow_);
        std::swap(sums_[0], sums_[1]);
        std::fill(sums_[1].begin(), sums_[1].end(), 0);
        ++sumsRow_;
    }
}

void AreaReducer::addToSums(int which, std::int64_t weight) {
    const auto w = static_cast<std::uint64_t>(weight);
    auto& sums = sums_[which];
    for (std::size_t i = 0; i < sums.size(); ++i)
        sums[i] += w * reduced_[i];
}

void AreaReducer::finishRow(int destinationRow) {
    const auto& sums = sums_[0];
    const auto verticalTotal = down_[static_cast<std::size_t>(destinationRow)].total;
    std::uint8_t* target = out_.data() + static_cast<std::size_t>(destinationRow) * width_.to * 3;
    for (int x = 0; x < width_.to; ++x) {
        const auto total =
            static_cast<std::uint64_t>(across_[static_cast<std::size_t>(x)].total * verticalTotal);
        for (int c = 0; c < 3; ++c) {
            const auto i = static_cast<std::size_t>(x) * 3 + static_cast<std::size_t>(c);
            target[i] = static_cast<std::uint8_t>((sums[i] + total / 2) / total);
        }
    }
}

}  // namespace area_reduction
