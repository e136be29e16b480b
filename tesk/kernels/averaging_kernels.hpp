// Averaging kernels of an optimal-estimation retrieval of the target profile
// from the spectrum of a weighting-function run: how much of a change of the
// target's mixing ratio in each path segment the retrieval would see in each
// segment, given diagonal noise and a-priori covariances.
#pragma once

#include <string_view>

#include "common/records.hpp"
#include "tesk/kernels/matrix_ops.hpp"
#include "tesk/kernels/weighting_functions.hpp"

namespace tesk {

inline constexpr std::string_view kSpectralCovarianceSingular = " spectral covariance matrix is singular ";
inline constexpr std::string_view kAprioriCovarianceSingular = " appriori covariance matrix is singular ";
inline constexpr std::string_view kKernelInverseSingular = " AVK-1 is singular ";

// The averaging-kernel matrix A: A(k, j) is row k, column j, for segments
// k, j = 1..L; sized for kMaxLevels segments.
Matrix make_kernel_matrix();

// A = (K^T Se^-1 K + Sa^-1)^-1 K^T Se^-1 K for the weighting functions K of
// `npoints` spectral points (rows 1..npoints of k, at most kMaxKernelPoints)
// and `nseg` segments (columns 1..nseg, at most kMaxLevels). Se is diagonal
// with sn^2 and Sa with sa^2, each squared in single precision: sn
// (avkpar1) is the noise of the normalised spectrum, sa (avkpar2) the a-priori
// uncertainty of the mixing ratio. Prints its diagnostic lines on the console
// (K, Sa and Se at every tenth diagonal element, K^T Se^-1 K, the kernels),
// then " Calculation of averaging kernel finished". Throws rec::Stop with
// kSpectralCovarianceSingular (sn = 0), kAprioriCovarianceSingular (sa = 0),
// kKernelInverseSingular or kMatrixNumbersTooBig.
void compute_averaging_kernels(int nseg, int npoints, const WeightingMatrix& k, Matrix& a, float avkpar1,
                               float avkpar2, rec::Console& console);

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
