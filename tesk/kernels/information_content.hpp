// Information content of a set of spectral points about the target profile:
// the information matrix G = K^T Se^-1 K of their weighting functions, and
// the averaging kernels, degrees of freedom and covered altitudes of an
// optimal-estimation retrieval that follow from it. The noise is
// uncorrelated between points, so G of a long stretch of spectrum, or of
// several windows, is the sum of the G of its pieces.
#pragma once

#include <span>

#include "tesk/kernels/matrix_ops.hpp"
#include "tesk/kernels/weighting_functions.hpp"
#include "tesk/limits.hpp"

namespace tesk {

// What the kernels of one retrieval tell.
struct InformationContent {
  bool singular = false;  // Se, Sa or G + Sa^-1 could not be inverted: nothing below holds
  double dofs = 0.0;      // degrees of freedom, the trace of A
  float zlow = 0.0f;      // km, lowest altitude whose kernel area exceeds 0.5 (0 when none does)
  float zhigh = 0.0f;     // km, highest such altitude (0 when none does)
};

// An information matrix with its own storage (kMaxLevels square), and the
// work space that turns it into kernels.
struct InformationWork {
  Matrix g{kMaxLevels, kMaxLevels};           // K^T Se^-1 K
  Matrix sa_inverse{kMaxLevels, kMaxLevels};  // Sa^-1
  Matrix t2{kMaxLevels, kMaxLevels};          // (G + Sa^-1), then its inverse
};

// Sets G to zero over nseg x nseg.
void clear_information(int nseg, Matrix& g);

// Adds to G (nseg x nseg) the information of rows 1..npoints of K (at most
// kMaxKernelPoints): G(i, j) += sum over the rows l of (K(l, i) / sn^2) K(l, j),
// the rows taken in order and sn (`noise`, of the normalised
// spectrum) squared in single precision. On a G of zeros this gives the
// bits of the kernel study's K^T Se^-1 K. Returns false, leaving G unchanged,
// when sn^2 is 0 (Se has no inverse). Throws rec::Stop(kMatrixNumbersTooBig)
// as the kernel study's products do, when a term or a sum rises above
// 1.0E36. Touches no file or console.
bool add_information(int nseg, int npoints, const WeightingMatrix& k, float noise, Matrix& g);

// The averaging kernels A (nseg x nseg) of the information G with the
// a-priori uncertainty sa (`apriori_sigma`, mixing ratio; Sa = sa^2 squared in single
// precision), their trace and the altitudes of the segments whose kernel area
// (the row sum, as the kernel table shows it) exceeds 0.5. Singular when sa^2
// is 0 or G + Sa^-1 has no inverse; `a` is then left as it was. Throws
// rec::Stop(kMatrixNumbersTooBig). Touches no file or console.
InformationContent information_content(const Matrix& g, float apriori_sigma, std::span<const Segment> segments,
                                       InformationWork& work, Matrix& a);

}  // namespace tesk
