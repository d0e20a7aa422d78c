// Area averaging of RGB rows, one source row at a time. Internal to the image library.
//
// Destination pixel d of a side covers the source interval from d * src / dst to (d + 1) * src / dst,
// measured in thousandths of a source pixel; each source pixel weighs as many thousandths as it shares
// with that interval, and the new pixel is the weighted mean, rounded. The reducer takes the source rows
// top to bottom and keeps only the sums of the destination rows they fall into, so a decoder can feed
// it a picture of any height while holding one source row. The result is the same, to the last bit,
// whether the rows come from a decoder or from a picture already held.
#pragma once

#include <cstdint>
#include <vector>

namespace area_reduction {

struct Side {
    int from = 0;
    int to = 0;
};

class AreaReducer {
  public:
    // Reduces pictures of width.from x height.from to width.to x height.to; each `to` is at least 1 and
    // at most its `from`.
    AreaReducer(Side width, Side height);

    // Adds the next source row (width.from RGB pixels).
    void addRow(const std::uint8_t* rgb);
    // Whether every source row has been added.
    bool complete() const { return nextSourceRow_ == height_.from; }
    // The reduced picture's RGB bytes; complete rows only (the rest is black until complete()).
    std::vector<std::uint8_t> take() { return std::move(out_); }

  private:
    // The source pixels first to last; every one between them weighs a whole pixel (1000).
    struct Coverage {
        int first = 0;
        int last = 0;
        std::int64_t firstWeight = 0;
        std::int64_t lastWeight = 0;  // the same pixel as firstWeight when first == last
        std::int64_t total = 0;       // the sum of the weights: the width of the interval
        std::int64_t weightOf(int source) const {
            return source == first ? firstWeight : source == last ? lastWeight : 1000;
        }
    };
    static std::vector<Coverage> coverages(int src, int dst);
    // Adds the current reduced row, weighed, to sums_[which].
    void addToSums(int which, std::int64_t weight);
    void finishRow(int destinationRow);

    Side width_;
    Side height_;
    std::vector<Coverage> across_;
    std::vector<Coverage> down_;
    std::vector<std::uint64_t> reduced_;  // the current source row reduced across
    // The sums of the destination rows the current source row can fall into: this one and the next.
    std::vector<std::uint64_t> sums_[2];
    int sumsRow_ = 0;  // the destination row of sums_[0]
    int nextSourceRow_ = 0;
    std::vector<std::uint8_t> out_;
};

}  // namespace area_reduction
