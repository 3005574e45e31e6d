#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace qpx::model {

// Each structure declares its byte layout once, as a function template that hands every field,
// in layout order, to a visitor. ByteWriter turns the fields into little-endian bytes, ByteReader
// fills them back, so Encode and decode cannot drift apart. Neither ever touches a byte outside
// its buffer: an access past the end is dropped (a read yields 0) and marks the visitor overrun.

template <typename T>
concept LayoutScalar = std::integral<T> &&(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4);

class ByteWriter {
public:
    explicit ByteWriter(std::span<std::uint8_t> out) : out_(out) {}

    template <LayoutScalar T>
    void operator()(const T& value) {
        put(static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<T>>(value)), sizeof(T));
    }
    template <LayoutScalar T, std::size_t N>
    void operator()(const std::array<T, N>& values) {
        for (const T& value : values) {
            (*this)(value);
        }
    }
    // A 32-bit held field that travels as 16 bits: only its low half is written.
    void narrow16(const std::uint32_t& value) { put(value & 0xFFFFu, 2); }

    std::size_t position() const { return position_; }
    bool overrun() const { return overrun_; }

private:
    void put(std::uint32_t value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i) {
            if (position_ >= out_.size()) {
                overrun_ = true;
                return;
            }
            out_[position_++] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
        }
    }

    std::span<std::uint8_t> out_;
    std::size_t position_ = 0;
    bool overrun_ = false;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> in) : in_(in) {}

    template <LayoutScalar T>
    void operator()(T& value) {
        using U = std::make_unsigned_t<T>;
        value = static_cast<T>(static_cast<U>(take(sizeof(T))));
    }
    template <LayoutScalar T, std::size_t N>
    void operator()(std::array<T, N>& values) {
        for (T& value : values) {
            (*this)(value);
        }
    }
    // A 16-bit value on the wire widened into a 32-bit held field, unsigned (0xFFFF -> 65535).
    void narrow16(std::uint32_t& value) { value = take(2); }

    std::size_t position() const { return position_; }
    bool overrun() const { return overrun_; }

private:
    std::uint32_t take(std::size_t width) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            if (position_ >= in_.size()) {
                overrun_ = true;
                return 0;
            }
            value |= static_cast<std::uint32_t>(in_[position_++]) << (8 * i);
        }
        return value;
    }

    std::span<const std::uint8_t> in_;
    std::size_t position_ = 0;
    bool overrun_ = false;
};

} // namespace qpx::model
