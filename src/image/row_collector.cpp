// RowCollector and WorkBudget: what every decoder shares.
#include <algorithm>
#include <new>
#include <utility>

#include "image/codecs.h"
#include "image/orientation.h"

namespace codecs {

namespace {

Size swapped(Size size) {
    return {size.height, size.width};
}

}  // namespace

bool WorkBudget::spend(std::uint64_t units) {
    if (cancelled_ || spent_ > limit_)
        return false;
    spent_ += units;
    if (stop_.stop_requested()) {
        cancelled_ = true;
        return false;
    }
    return spent_ <= limit_;
}

std::uint64_t workLimit(PictureType type) {
    return type == PictureType::Jpeg ? kMaxJpegBlocks : kMaxRowBytes;
}

ThumbnailBox RowCollector::storedBox(int orientation) const {
    if (orientation::swapsSides(orientation))
        return {box_.height, box_.width};
    return box_;
}

Outcome RowCollector::begin(Size decoded, Size own, int orientation) {
    decoded_ = decoded;
    own_ = own;
    orientation_ = orientation::valid(orientation);
    rowsDone_ = 0;
    reducer_.reset();
    reducedTo_ = {};
    if (decoded.width <= 0 || decoded.height <= 0 ||
        static_cast<std::uint64_t>(decoded.width) > kMaxRowPixels)
        return Outcome::TooDemanding;

    // The thumbnail's rule works on the upright picture; the reduction on the rows as stored.
    const bool swaps = orientation::swapsSides(orientation_);
    if (box_.width > 0 && box_.height > 0) {
        const Size uprightOwn = swaps ? swapped(own) : own;
        const Size uprightFitted = thumbnailSize(uprightOwn, box_);
        const Size fitted = swaps ? swapped(uprightFitted) : uprightFitted;
        const bool shrinksBothWays =
            uprightFitted.width < uprightOwn.width && uprightFitted.height < uprightOwn.height;
        if (shrinksBothWays && decoded.width >= fitted.width && decoded.height >= fitted.height)
            reducedTo_ = fitted;
    }
    try {
        row_.clear();
        whole_.clear();
        if (reducedTo_.width > 0) {
            reducer_.emplace(area_reduction::Side{decoded.width, reducedTo_.width},
                             area_reduction::Side{decoded.height, reducedTo_.height});
            row_.resize(static_cast<std::size_t>(decoded.width) * 3);
        } else {
            if (static_cast<std::uint64_t>(decoded.width) * static_cast<std::uint64_t>(decoded.height) >
                kMaxHeldPixels)
                return Outcome::TooDemanding;
            whole_.resize(static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height) *
                          3);
        }
    } catch (const std::bad_alloc&) {
        return Outcome::TooDemanding;
    }
    return Outcome::Decoded;
}

std::uint8_t* RowCollector::rowBuffer() {
    if (reducer_)
        return row_.data();
    const auto row = static_cast<std::size_t>(std::min(rowsDone_, decoded_.height - 1));
    return whole_.data() + row * static_cast<std::size_t>(decoded_.width) * 3;
}

void RowCollector::commitRow() {
    if (complete())
        return;
    if (reducer_)
        reducer_->addRow(row_.data());
    ++rowsDone_;
}

Decoded RowCollector::finish() {
    Decoded out;
    Size size = decoded_;
    if (reducer_) {
        out.rgb = reducer_->take();
        size = reducedTo_;
        reducer_.reset();
    } else {
        out.rgb = std::move(whole_);
    }
    out.rgb = orientation::turnUpright(std::move(out.rgb), size.width, size.height, orientation_);
    out.width = size.width;
    out.height = size.height;
    const Size own = orientation::swapsSides(orientation_) ? swapped(own_) : own_;
    out.ownWidth = own.width;
    out.ownHeight = own.height;
    return out;
}

}  // namespace codecs
