#include "model/TransformationMatrix.h"

#include "model/DisplayConversions.h"

#include <algorithm>

namespace qpx::model {

TransformationMatrix::TransformationMatrix(const SystemConfiguration& conf)
    : values_(conf.transformationMatrix), size_(std::clamp<int>(conf.numberOfBeams, 0, 4)) {}

std::int16_t TransformationMatrix::stored(int row, int column) const {
    if (row < 0 || column < 0 || row >= size_ || column >= size_) {
        return 0;
    }
    return values_[static_cast<std::size_t>(row * size_ + column)];
}

double TransformationMatrix::element(int row, int column) const {
    return MatrixElement(stored(row, column));
}

} // namespace qpx::model
