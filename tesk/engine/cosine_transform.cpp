#include "tesk/engine/cosine_transform.hpp"

#include <fftw3.h>

#include <algorithm>
#include <bit>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>

namespace tesk {

// The FFTW kinds REDFT10 (DCT-II) and REDFT01 (DCT-III) are twice the forward
// and inverse transforms above. Planning with FFTW_ESTIMATE picks the
// algorithm from the length alone; measured plans could pick another one from
// run to run and change the last bits of every spectrum.
struct CosineTransform::Plan {
  explicit Plan(int n) : n(n) {
    buffer = fftwf_alloc_real(static_cast<std::size_t>(n));
    if (buffer == nullptr) throw std::bad_alloc();
    forward = fftwf_plan_r2r_1d(n, buffer, buffer, FFTW_REDFT10, FFTW_ESTIMATE);
    inverse = fftwf_plan_r2r_1d(n, buffer, buffer, FFTW_REDFT01, FFTW_ESTIMATE);
    if (forward == nullptr || inverse == nullptr) {
      release();
      throw std::bad_alloc();
    }
  }
  ~Plan() { release(); }
  Plan(const Plan&) = delete;
  Plan& operator=(const Plan&) = delete;

  void release() {
    if (forward != nullptr) fftwf_destroy_plan(forward);
    if (inverse != nullptr) fftwf_destroy_plan(inverse);
    if (buffer != nullptr) fftwf_free(buffer);
    forward = inverse = nullptr;
    buffer = nullptr;
  }

  int n;
  float* buffer = nullptr;
  fftwf_plan forward = nullptr;
  fftwf_plan inverse = nullptr;
};

namespace {

// FFTW's planner is state of the whole process: plans are made under one
// lock, whichever object asks. Executing a finished plan on arrays of the
// caller's is safe from several threads.
std::mutex& planner_lock() {
  static std::mutex lock;
  return lock;
}

struct FftwFree {
  void operator()(float* p) const { fftwf_free(p); }
};

}  // namespace

CosineTransform::CosineTransform() : by_log2_(kMaxTransformLog2 + 1) {}
CosineTransform::~CosineTransform() {
  const std::lock_guard<std::mutex> hold(planner_lock());
  by_log2_.clear();
}
CosineTransform::CosineTransform(CosineTransform&&) noexcept = default;
CosineTransform& CosineTransform::operator=(CosineTransform&&) noexcept = default;

CosineTransform::Plan& CosineTransform::plan(int log2n) {
  const std::lock_guard<std::mutex> hold(planner_lock());
  auto& slot = by_log2_[static_cast<std::size_t>(log2n)];
  if (!slot) slot = std::make_unique<Plan>(1 << log2n);
  return *slot;
}

void cosine_transform(CosineTransform& plans, std::span<float> y, int direction) {
  const std::size_t n = y.size();
  if (n < 2 || !std::has_single_bit(n) || n > (std::size_t{1} << kMaxTransformLog2)) {
    throw std::invalid_argument("cosine transform length must be a power of two of at least 2");
  }
  if (direction != 1 && direction != -1) {
    throw std::invalid_argument("cosine transform direction must be +1 or -1");
  }
  CosineTransform::Plan& p = plans.plan(std::countr_zero(n));
  // A buffer of this call's own, aligned as the plan's was (FFTW's allocator
  // for both): the plan computes the same bits in it, and calls on other
  // threads do not share it.
  const std::unique_ptr<float[], FftwFree> buffer(fftwf_alloc_real(n));
  if (!buffer) throw std::bad_alloc();
  std::copy(y.begin(), y.end(), buffer.get());
  fftwf_execute_r2r(direction == 1 ? p.forward : p.inverse, buffer.get(), buffer.get());
  // Halving is exact in binary floating point.
  std::transform(buffer.get(), buffer.get() + n, y.begin(), [](float v) { return 0.5f * v; });
}

}  // namespace tesk
