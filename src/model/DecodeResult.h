#pragma once

#include <optional>
#include <string>
#include <utility>

namespace qpx::model {

// The failure half of a DecodeResult: why a received block was not accepted.
struct DecodeFailure {
    std::string message;
};

// A decoded structure or the reason it was refused. Decoders never throw; callers test ok()
// and either use value() or report error().
template <typename T>
class DecodeResult {
public:
    DecodeResult(T value) : value_(std::move(value)) {}
    DecodeResult(DecodeFailure failure) : error_(std::move(failure.message)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }

    // Only meaningful when ok().
    const T& value() const { return *value_; }
    T& value() { return *value_; }
    // Empty when ok().
    const std::string& error() const { return error_; }

private:
    std::optional<T> value_;
    std::string error_;
};

} // namespace qpx::model
