// Staggered cosine transforms of single-precision data, the transform pair
// behind the instrument line shape and the interferogram table:
//   forward  Y(k) = sum_{j=1..N} y(j) cos(pi (k-1) (j-1/2) / N),            k = 1..N
//   inverse  y(j) = Y(1)/2 + sum_{k=2..N} Y(k) cos(pi (k-1) (j-1/2) / N),   j = 1..N
// so that the inverse of the forward returns N/2 times the input.
#pragma once

#include <memory>
#include <span>
#include <vector>

namespace tesk {

// The longest transform is 2^kMaxTransformLog2 values: lengths are ints, and
// 2^30 is the largest power of two an int holds.
inline constexpr int kMaxTransformLog2 = 30;

// Transform plans, one per length and direction. Plans are made once,
// without measuring, so the same input always gives the same bits. Owned by
// the caller and reused for every transform; several threads may transform
// with the same plans at once (plans are made under a lock, and each
// transform works in a buffer of its own).
class CosineTransform {
 public:
  CosineTransform();
  ~CosineTransform();
  CosineTransform(const CosineTransform&) = delete;
  CosineTransform& operator=(const CosineTransform&) = delete;
  CosineTransform(CosineTransform&&) noexcept;
  CosineTransform& operator=(CosineTransform&&) noexcept;

 private:
  struct Plan;
  friend void cosine_transform(CosineTransform& plans, std::span<float> y, int direction);
  Plan& plan(int log2n);
  std::vector<std::unique_ptr<Plan>> by_log2_;
};

// Transforms y(1..N) = y[0..N-1] in place, N = y.size(): direction +1
// forward, -1 inverse. Throws std::invalid_argument when N is not a power of
// two from 2 to 2^kMaxTransformLog2 or the direction is neither +1 nor -1 (a
// caller's bug), std::bad_alloc when no plan can be made. Touches no file or
// console.
void cosine_transform(CosineTransform& plans, std::span<float> y, int direction);

}  // namespace tesk
