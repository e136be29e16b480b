#include "tesk/kernels/matrix_ops.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>
#include <vector>

#include "common/stop.hpp"
#include "tesk/limits.hpp"

namespace tesk {
namespace {

// The bound is the single-precision 1.0E36, compared with double values.

// No dimension exceeds the kernel points; the block fits the storage.
void check_block([[maybe_unused]] int rows, [[maybe_unused]] int cols, [[maybe_unused]] const Matrix& m) {
  assert(rows <= kMaxKernelPoints && cols <= kMaxKernelPoints);
  assert(rows <= m.rows() && cols <= m.cols());
}

std::size_t count(int n) { return static_cast<std::size_t>(std::max(n, 0)); }

bool all_finite(const double* v, int n) {
  for (int j = 0; j < n; ++j) {
    if (!std::isfinite(v[j])) return false;
  }
  return true;
}

// The non-zero elements of one column of a matrix (NaN and infinities
// included), in ascending row order.
struct SparseColumns {
  std::vector<std::size_t> start;  // column j holds entries start[j-1] .. start[j]-1
  std::vector<int> row;            // 0-based row
  std::vector<double> value;
};

SparseColumns sparse_columns(int rows, int cols, const Matrix& m) {
  SparseColumns s;
  s.start.assign(count(cols) + 1, 0);
  for (int j = 1; j <= cols; ++j) {
    for (int l = 1; l <= rows; ++l) {
      const double v = m(l, j);
      if (v != 0.0) {
        s.row.push_back(l - 1);
        s.value.push_back(v);
      }
    }
    s.start[static_cast<std::size_t>(j)] = s.row.size();
  }
  return s;
}

}  // namespace

void transpose_matrix(int rows, int cols, const Matrix& x, Matrix& y) {
  check_block(rows, cols, x);
  check_block(cols, rows, y);
  Matrix t(std::max(cols, 1), std::max(rows, 1));
  for (int i = 1; i <= rows; ++i) {
    for (int j = 1; j <= cols; ++j) t(j, i) = x(i, j);
  }
  for (int j = 1; j <= cols; ++j) {
    for (int i = 1; i <= rows; ++i) y(j, i) = t(j, i);
  }
}

void add_matrices(int rows, int cols, const Matrix& x, const Matrix& y, Matrix& z) {
  check_block(rows, cols, x);
  check_block(rows, cols, y);
  check_block(rows, cols, z);
  for (int i = 1; i <= rows; ++i) {
    for (int j = 1; j <= cols; ++j) {
      if (x(i, j) > kMatrixNumberBound || y(i, j) > kMatrixNumberBound) rec::stop(kMatrixNumbersTooBig);
      z(i, j) = y(i, j) + x(i, j);
    }
  }
}

void multiply_matrices(int rows, int inner, int cols, const Matrix& x, const Matrix& y, Matrix& z) {
  check_block(rows, inner, x);
  check_block(inner, cols, y);
  check_block(rows, cols, z);
  assert(&z != &x && &z != &y);
  // Adding a zero term to a sum that started at +0 changes neither its value
  // nor the test after it, so only the non-zero terms are formed. A zero
  // times an infinity or a NaN is not zero: such rows of x take every term.
  const SparseColumns ys = sparse_columns(inner, cols, y);
  for (int i = 1; i <= rows; ++i) {
    const double* xi = x.row(i).data();
    const bool finite = all_finite(xi, inner);
    for (int j = 1; j <= cols; ++j) {
      double sum = 0.0;
      if (finite) {
        const std::size_t end = ys.start[static_cast<std::size_t>(j)];
        for (std::size_t e = ys.start[static_cast<std::size_t>(j - 1)]; e < end; ++e) {
          sum += xi[ys.row[e]] * ys.value[e];
          if (sum > kMatrixNumberBound) rec::stop(kMatrixNumbersTooBig);
        }
      } else {
        for (int l = 1; l <= inner; ++l) {
          sum += xi[l - 1] * y(l, j);
          if (sum > kMatrixNumberBound) rec::stop(kMatrixNumbersTooBig);
        }
      }
      z(i, j) = sum;
    }
  }
}

double invert_matrix(int n, Matrix& x) {
  check_block(n, n, x);
  const std::size_t size = count(n) + 1;  // 1-based bookkeeping
  std::vector<char> used(size, 0);        // the index has served as pivot column
  std::vector<int> pivot_row(size), pivot_col(size);
  // For each row: the largest magnitude over the columns not yet used and the
  // first column that holds it (0 when the row is all zero there). A row's
  // entry is recomputed only after the row has changed or its column has
  // been used, which keeps the full pivot search cheap for sparse matrices.
  std::vector<double> row_max(size, 0.0);
  std::vector<int> row_arg(size, 0);
  std::vector<char> stale(size, 1);
  auto scan_row = [&](int r) {
    const double* xr = x.row(r).data();
    double big = 0.0;
    int arg = 0;
    for (int q = 1; q <= n; ++q) {
      if (used[static_cast<std::size_t>(q)]) continue;
      const double a = std::fabs(xr[q - 1]);
      if (a > big) {
        big = a;
        arg = q;
      }
    }
    row_max[static_cast<std::size_t>(r)] = big;
    row_arg[static_cast<std::size_t>(r)] = arg;
    stale[static_cast<std::size_t>(r)] = 0;
  };

  double status = 1.0;
  for (int pass = 1; pass <= n; ++pass) {
    // Rows in order, then columns in order; only a strictly larger magnitude
    // replaces the choice, so the first of equal candidates wins.
    double big = 0.0;
    int irow = 0;
    int icol = 0;
    for (int r = 1; r <= n; ++r) {
      const auto ur = static_cast<std::size_t>(r);
      if (used[ur]) continue;
      if (stale[ur] || (row_arg[ur] != 0 && used[static_cast<std::size_t>(row_arg[ur])])) scan_row(r);
      if (row_max[ur] > big) {
        big = row_max[ur];
        irow = r;
        icol = row_arg[ur];
      }
    }
    if (big == 0.0) return 0.0;

    used[static_cast<std::size_t>(icol)] = 1;
    if (irow != icol) {
      std::span<double> a = x.row(irow);
      std::span<double> b = x.row(icol);
      std::swap_ranges(a.begin(), a.begin() + n, b.begin());
      std::swap(row_max[static_cast<std::size_t>(irow)], row_max[static_cast<std::size_t>(icol)]);
      std::swap(row_arg[static_cast<std::size_t>(irow)], row_arg[static_cast<std::size_t>(icol)]);
      std::swap(stale[static_cast<std::size_t>(irow)], stale[static_cast<std::size_t>(icol)]);
      status = -status;
    }
    pivot_row[static_cast<std::size_t>(pass)] = irow;
    pivot_col[static_cast<std::size_t>(pass)] = icol;

    double* pivot = x.row(icol).data();
    const double p = pivot[icol - 1];
    pivot[icol - 1] = 1.0;
    for (int j = 0; j < n; ++j) pivot[j] /= p;
    const bool finite = all_finite(pivot, n);

    for (int l = 1; l <= n; ++l) {
      if (l == icol) continue;
      double* xl = x.row(l).data();
      const double d = xl[icol - 1];
      xl[icol - 1] = 0.0;
      // Subtracting zero times a finite row leaves every element of row l
      // as it was (up to the sign of a zero, which no later step can see).
      if (d == 0.0 && finite) continue;
      for (int j = 0; j < n; ++j) xl[j] -= d * pivot[j];
      stale[static_cast<std::size_t>(l)] = 1;
    }
  }

  // Undo the row interchanges as column interchanges, last first.
  for (int pass = n; pass >= 1; --pass) {
    const int r = pivot_row[static_cast<std::size_t>(pass)];
    const int q = pivot_col[static_cast<std::size_t>(pass)];
    if (r == q) continue;
    for (int i = 1; i <= n; ++i) std::swap(x(i, r), x(i, q));
  }
  return status;
}

}  // namespace tesk
