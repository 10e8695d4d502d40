#pragma once
// Views of tables carved from the two work arrays. Positions count from 1, as every node
// and element number of the mesher does; the conversion to 0-based memory happens here only.
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace tesmo {

/// A run of values in a work array; entries count from 1.
template <class T>
class Vec {
public:
    constexpr Vec() = default;
    constexpr Vec(T* first, int32_t count) : first_(first), count_(count) {}
    /// A read-only view of a writable run.
    template <class U>
        requires std::is_same_v<T, const U>
    constexpr Vec(const Vec<U>& other) : first_(other.data()), count_(other.count()) {}
    constexpr T& operator()(int32_t i) const
    {
        assert(i >= 1 && i <= count_);
        return first_[i - 1];
    }
    constexpr T* data() const { return first_; }
    constexpr int32_t count() const { return count_; }
    /// The sub-run of `length` entries starting at entry `from`.
    constexpr Vec slice(int32_t from, int32_t length) const
    {
        assert(from >= 1 && length >= 0 && from - 1 + length <= count_);
        return Vec(first_ + (from - 1), length);
    }

private:
    T* first_ = nullptr;
    int32_t count_ = 0;
};

/// A table of rows stored row after row in a work array; rows and columns count from 1.
template <class T>
class Rows {
public:
    constexpr Rows() = default;
    constexpr Rows(T* first, int32_t width, int32_t count) : first_(first), width_(width), count_(count) {}
    /// A read-only view of a writable table.
    template <class U>
        requires std::is_same_v<T, const U>
    constexpr Rows(const Rows<U>& other) : first_(other.data()), width_(other.width()), count_(other.count()) {}
    constexpr T& operator()(int32_t i, int32_t j) const
    {
        assert(i >= 1 && i <= count_ && j >= 1 && j <= width_);
        return first_[std::ptrdiff_t(i - 1) * width_ + (j - 1)];
    }
    /// Pointer to the first value of row i.
    constexpr T* row(int32_t i) const
    {
        assert(i >= 1 && i <= count_);
        return first_ + std::ptrdiff_t(i - 1) * width_;
    }
    constexpr T* data() const { return first_; }
    constexpr int32_t width() const { return width_; }
    constexpr int32_t count() const { return count_; }

private:
    T* first_ = nullptr;
    int32_t width_ = 0;
    int32_t count_ = 0;
};

} // namespace tesmo
