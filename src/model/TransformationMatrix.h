#pragma once

#include "model/SystemConfiguration.h"

#include <array>
#include <cstdint>

namespace qpx::model {

// The beam transformation matrix as the instrument means it: numberOfBeams x numberOfBeams
// stored values, row by row with no gaps, from the start of the 16-element field. With two
// beams that is the first four elements; the rest of the field is not part of the matrix.
class TransformationMatrix {
public:
    explicit TransformationMatrix(const SystemConfiguration& conf);

    // 2..4 for any accepted structure; a hand-built one is clamped to 0..4 so that size() x
    // size() never exceeds the 16 stored elements.
    int size() const { return size_; }
    // The stored fixed-point value; 0 outside size() x size().
    std::int16_t stored(int row, int column) const;
    // The stored value / 1024.
    double element(int row, int column) const;

private:
    std::array<std::int16_t, 16> values_{};
    int size_ = 0;
};

} // namespace qpx::model
