// Averaging kernels of an optimal-estimation retrieval of the target profile
// from the spectrum of a weighting-function run: how much of a change of the
// target's mixing ratio in each path segment the retrieval would see in each
// segment, given diagonal noise and a-priori covariances.
#pragma once

#include <functional>
#include <span>
#include <string_view>

#include "tesk/engine/spectrum_setup.hpp"
#include "tesk/kernels/matrix_ops.hpp"
#include "tesk/kernels/weighting_functions.hpp"

namespace tesk {

inline constexpr std::string_view kSpectralCovarianceSingular = " spectral covariance matrix is singular ";
inline constexpr std::string_view kAprioriCovarianceSingular = " appriori covariance matrix is singular ";
inline constexpr std::string_view kKernelInverseSingular = " AVK-1 is singular ";

// The averaging-kernel matrix A: A(k, j) is row k, column j, for segments
// k, j = 1..L; sized for kMaxLevels segments.
Matrix make_kernel_matrix();

// The diagnostics of the kernel computation, in the order they come: K, Sa
// and Se at every tenth diagonal element (7 values each), the choice of
// method (no values), the diagonal of K^T Se^-1 K (6 values), the kernels
// (7 values), and the end (no values).
enum class KernelDiagnostic { weights, apriori, noise, method, information, kernels, finished };
using KernelReport = std::function<void(KernelDiagnostic, std::span<const double> samples)>;

// A = (K^T Se^-1 K + Sa^-1)^-1 K^T Se^-1 K for the weighting functions K of
// `npoints` spectral points (rows 1..npoints of k, at most kMaxKernelPoints)
// and `nseg` segments (columns 1..nseg, at most kMaxLevels). Se is diagonal
// with sn^2 and Sa with sa^2, each squared in single precision: sn is
// r.noise, the noise of the normalised spectrum, sa r.apriori_sigma, the
// a-priori uncertainty of the mixing ratio. Hands each diagnostic to
// `report` as it comes (the caller prints them). Throws rec::Stop with
// kSpectralCovarianceSingular (sn = 0), kAprioriCovarianceSingular (sa = 0),
// kKernelInverseSingular or kMatrixNumbersTooBig. Touches no file or console.
void compute_averaging_kernels(const RetrievalNoise& r, int nseg, int npoints, const WeightingMatrix& k, Matrix& a,
                               const KernelReport& report);

// The area of kernel row k of `a` over segments 1..nseg: the row sum,
// accumulated in single precision as the kernel tables show it.
float kernel_area(const Matrix& a, int k, int nseg);

// The last step of the kernels, for an information matrix G = K^T Se^-1 K
// however it was gathered: A = (G + Sa^-1)^-1 G over nseg x nseg, with G
// the first operand of the sum. `t2` is work space (kMaxLevels square).
// Returns false, leaving `a` unchanged, when G + Sa^-1 is singular. Throws
// rec::Stop(kMatrixNumbersTooBig). Touches no file or console.
bool kernels_from_information(int nseg, const Matrix& g, const Matrix& sa_inverse, Matrix& t2, Matrix& a);

}  // namespace tesk
