// Fixed-capacity arrays with the 1-based indexing the physics is written in.
// Storage is sized once at construction; an index out of range is a bug that
// assert and the sanitizer build catch.
#pragma once

#include <cassert>
#include <algorithm>
#include <span>
#include <vector>

namespace rec {

// Elements 1..n.
template <class T>
class Levels {
 public:
  Levels() = default;
  explicit Levels(int n, T init = T{}) : v_(static_cast<std::size_t>(n), init) {}
  T& operator()(int i) {
    assert(i >= 1 && i <= size());
    return v_[static_cast<std::size_t>(i - 1)];
  }
  const T& operator()(int i) const {
    assert(i >= 1 && i <= size());
    return v_[static_cast<std::size_t>(i - 1)];
  }
  int size() const { return static_cast<int>(v_.size()); }
  void fill(T value) { std::fill(v_.begin(), v_.end(), value); }
  std::span<T> span() { return v_; }
  std::span<const T> span() const { return v_; }

 private:
  std::vector<T> v_;
};

// Elements (1..rows, 1..cols), each row contiguous.
template <class T>
class Table {
 public:
  Table() = default;
  Table(int rows, int cols, T init = T{})
      : rows_(rows), cols_(cols), v_(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), init) {}
  T& operator()(int i, int j) {
    assert(i >= 1 && i <= rows_ && j >= 1 && j <= cols_);
    return v_[offset(i) + static_cast<std::size_t>(j - 1)];
  }
  const T& operator()(int i, int j) const {
    assert(i >= 1 && i <= rows_ && j >= 1 && j <= cols_);
    return v_[offset(i) + static_cast<std::size_t>(j - 1)];
  }
  std::span<T> row(int i) {
    assert(i >= 1 && i <= rows_);
    return std::span<T>(v_).subspan(offset(i), static_cast<std::size_t>(cols_));
  }
  std::span<const T> row(int i) const {
    assert(i >= 1 && i <= rows_);
    return std::span<const T>(v_).subspan(offset(i), static_cast<std::size_t>(cols_));
  }
  int rows() const { return rows_; }
  int cols() const { return cols_; }
  void fill(T value) { std::fill(v_.begin(), v_.end(), value); }

 private:
  // Index of element (i, 1): the rows before row i, each cols_ long.
  std::size_t offset(int i) const { return static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(cols_); }
  int rows_ = 0;
  int cols_ = 0;
  std::vector<T> v_;
};

}  // namespace rec
