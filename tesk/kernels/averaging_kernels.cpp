#include "tesk/kernels/averaging_kernels.hpp"

#include <algorithm>
#include <array>
#include <cassert>

#include "common/stop.hpp"
#include "tesk/limits.hpp"

namespace tesk {
namespace {

// The diagnostics sample every tenth diagonal element.
constexpr int kSampleStep = 10;
constexpr int kSamples = 7;              // elements 10, 20, ..., 70
constexpr int kInformationSamples = 6;   // elements 10, 20, ..., 60

// Element (c, c) of the rows x cols block of m, or 0 outside it.
double diagonal(const Matrix& m, int rows, int cols, int c) { return c <= rows && c <= cols ? m(c, c) : 0.0; }

// One diagnostic of diagonal samples.
template <class Sample>
void report_samples(const KernelReport& report, KernelDiagnostic which, int count, Sample sample) {
  std::array<double, kSamples> values{};
  for (int s = 1; s <= count; ++s) values[static_cast<std::size_t>(s - 1)] = sample(s * kSampleStep);
  report(which, std::span<const double>(values.data(), static_cast<std::size_t>(count)));
}

void diagonal_matrix(Matrix& m, int n, double value) {
  for (int i = 1; i <= n; ++i) {
    std::span<double> row = m.row(i);
    std::fill(row.begin(), row.begin() + n, 0.0);
    row[static_cast<std::size_t>(i - 1)] = value;
  }
}

}  // namespace

Matrix make_kernel_matrix() { return Matrix(kMaxLevels, kMaxLevels); }

void compute_averaging_kernels(const RetrievalNoise& r, int nseg, int npoints, const WeightingMatrix& k, Matrix& a,
                               const KernelReport& report) {
  assert(nseg >= 0 && nseg <= kMaxLevels && npoints <= kMaxKernelPoints);
  const int l = nseg;
  const int m = std::max(npoints, 0);
  Matrix sa(kMaxLevels, kMaxLevels);
  Matrix se(kMaxKernelPoints, kMaxKernelPoints);
  Matrix kt(kMaxLevels, kMaxKernelPoints);
  Matrix t1(kMaxLevels, kMaxKernelPoints);
  Matrix g(kMaxLevels, kMaxLevels);
  Matrix t2(kMaxLevels, kMaxLevels);

  // The deck's uncertainties are single-precision values, squared as such.
  diagonal_matrix(sa, l, static_cast<double>(r.apriori_sigma * r.apriori_sigma));
  diagonal_matrix(se, m, static_cast<double>(r.noise * r.noise));

  report_samples(report, KernelDiagnostic::weights, kSamples, [&](int c) { return diagonal(k, m, l, c); });
  report_samples(report, KernelDiagnostic::apriori, kSamples, [&](int c) { return diagonal(sa, l, l, c); });
  report_samples(report, KernelDiagnostic::noise, kSamples, [&](int c) { return diagonal(se, m, m, c); });
  report(KernelDiagnostic::method, {});

  if (invert_matrix(m, se) == 0.0) rec::stop(kSpectralCovarianceSingular);
  if (invert_matrix(l, sa) == 0.0) rec::stop(kAprioriCovarianceSingular);
  transpose_matrix(m, l, k, kt);

  // How much the sampled points say about their segments: K Se^-1 K^T on the diagonal.
  report_samples(report, KernelDiagnostic::information, kInformationSamples, [&](int c) {
    return diagonal(k, m, l, c) * diagonal(se, m, m, c) * diagonal(kt, l, m, c);
  });

  multiply_matrices(l, m, m, kt, se, t1);
  multiply_matrices(l, m, l, t1, k, g);
  if (!kernels_from_information(l, g, sa, t2, a)) rec::stop(kKernelInverseSingular);

  report_samples(report, KernelDiagnostic::kernels, kSamples, [&](int c) { return diagonal(a, l, l, c); });
  report(KernelDiagnostic::finished, {});
}

float kernel_area(const Matrix& a, int k, int nseg) {
  float area = 0.0f;
  for (int j = 1; j <= nseg; ++j) area = static_cast<float>(static_cast<double>(area) + a(k, j));
  return area;
}

bool kernels_from_information(int nseg, const Matrix& g, const Matrix& sa_inverse, Matrix& t2, Matrix& a) {
  add_matrices(nseg, nseg, g, sa_inverse, t2);
  if (invert_matrix(nseg, t2) == 0.0) return false;
  multiply_matrices(nseg, nseg, nseg, t2, g, a);
  return true;
}

}  // namespace tesk
