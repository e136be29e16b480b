// Dense double-precision matrix algebra behind the averaging kernels:
// transpose, sum, product and Gauss-Jordan inversion of matrices of at most
// 1000 rows and columns. The sum and the product stop the run when a number
// grows beyond 1.0E36, long before the doubles would overflow.
#pragma once

#include <string_view>

#include "common/arrays.hpp"

namespace tesk {

inline constexpr std::string_view kMatrixNumbersTooBig = " Matrix numbers to big";

// Element (i, j) is row i, column j. The routines below work on the leading
// rows x cols block of a matrix whose capacity may be larger.
using Matrix = rec::Table<double>;

// The largest number the sums and products let through: 1.0E36 as a
// single-precision value.
inline constexpr double kMatrixNumberBound = static_cast<double>(1.0e36f);

// y(j, i) = x(i, j) for i = 1..rows, j = 1..cols. x and y may be the same
// matrix (the copy goes through a temporary). Touches no file or console.
void transpose_matrix(int rows, int cols, const Matrix& x, Matrix& y);

// z = y + x over rows x cols. Before each element, an operand above 1.0E36
// stops the run: throws rec::Stop(kMatrixNumbersTooBig). z may be x or y.
void add_matrices(int rows, int cols, const Matrix& x, const Matrix& y, Matrix& z);

// z (rows x cols) = x (rows x inner) . y (inner x cols), each element summed
// over l = 1..inner in order; a partial sum above 1.0E36 stops the run:
// throws rec::Stop(kMatrixNumbersTooBig). Signed values are compared, so large
// negative sums pass. z must be neither x nor y. Terms with an exact zero
// factor and a finite other factor are skipped, which leaves every sum and
// every test unchanged and makes products with diagonal matrices cheap.
void multiply_matrices(int rows, int inner, int cols, const Matrix& x, const Matrix& y, Matrix& z);

// Replaces x (n x n) by its inverse, by Gauss-Jordan elimination with full
// pivoting. Returns 0.0 when x is singular (x is then partly reduced), else
// +1.0 or -1.0: the sign changes with every row interchange. Among equal
// pivot candidates the first in row-major order wins. Touches no file or
// console.
double invert_matrix(int n, Matrix& x);

}  // namespace tesk
