#include "tesk/kernels/matrix_ops.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "common/stop.hpp"

namespace {

using tesk::Matrix;

Matrix from_rows(const std::vector<std::vector<double>>& rows) {
  Matrix m(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = 0; j < rows[i].size(); ++j) m(static_cast<int>(i + 1), static_cast<int>(j + 1)) = rows[i][j];
  }
  return m;
}

// The elimination written plainly, every element of every row in every pass,
// to check that the cheaper pivot search and the skipped rows change nothing.
double plain_inverse(int n, Matrix& x) {
  std::vector<int> used(static_cast<std::size_t>(n + 1), 0), prow(static_cast<std::size_t>(n + 1)), pcol(static_cast<std::size_t>(n + 1));
  double status = 1.0;
  for (int pass = 1; pass <= n; ++pass) {
    double big = 0.0;
    int r = 0, q = 0;
    for (int i = 1; i <= n; ++i) {
      if (used[static_cast<std::size_t>(i)]) continue;
      for (int j = 1; j <= n; ++j) {
        if (!used[static_cast<std::size_t>(j)] && std::fabs(x(i, j)) > big) {
          big = std::fabs(x(i, j));
          r = i;
          q = j;
        }
      }
    }
    if (big == 0.0) return 0.0;
    used[static_cast<std::size_t>(q)] = 1;
    if (r != q) {
      for (int j = 1; j <= n; ++j) std::swap(x(r, j), x(q, j));
      status = -status;
    }
    prow[static_cast<std::size_t>(pass)] = r;
    pcol[static_cast<std::size_t>(pass)] = q;
    const double p = x(q, q);
    x(q, q) = 1.0;
    for (int j = 1; j <= n; ++j) x(q, j) /= p;
    for (int l = 1; l <= n; ++l) {
      if (l == q) continue;
      const double d = x(l, q);
      x(l, q) = 0.0;
      for (int j = 1; j <= n; ++j) x(l, j) -= d * x(q, j);
    }
  }
  for (int pass = n; pass >= 1; --pass) {
    if (prow[static_cast<std::size_t>(pass)] == pcol[static_cast<std::size_t>(pass)]) continue;
    for (int i = 1; i <= n; ++i) std::swap(x(i, prow[static_cast<std::size_t>(pass)]), x(i, pcol[static_cast<std::size_t>(pass)]));
  }
  return status;
}

TEST(InvertMatrix, StatusAndSmallCases) {
  struct Case {
    const char* name;
    std::vector<std::vector<double>> x;
    double status;
    std::vector<std::vector<double>> inverse;  // empty for a singular matrix
  } cases[] = {
      {"identity", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 1.0, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
      {"one row interchange", {{0, 2}, {4, 0}}, -1.0, {{0, 0.25}, {0.5, 0}}},
      {"diagonal", {{2, 0}, {0, 8}}, 1.0, {{0.5, 0}, {0, 0.125}}},
      // Three equal candidates: (1, 1) comes first and needs no interchange;
      // taking the last, (2, 1), would interchange the rows.
      {"first of equal pivots", {{1, 1}, {1, 0.5}}, 1.0, {{-1, 2}, {2, -2}}},
      {"singular", {{1, 2}, {2, 4}}, 0.0, {}},
      {"zero", {{0, 0}, {0, 0}}, 0.0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Matrix x = from_rows(c.x);
    EXPECT_EQ(tesk::invert_matrix(x.rows(), x), c.status);
    if (c.inverse.empty()) continue;
    for (int i = 1; i <= x.rows(); ++i) {
      for (int j = 1; j <= x.cols(); ++j) EXPECT_EQ(x(i, j), c.inverse[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)]) << i << "," << j;
    }
  }
}

TEST(InvertMatrix, RandomMatricesAgainstTheOriginalAndThePlainElimination) {
  std::mt19937 gen(12345);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::bernoulli_distribution sparse(0.7);
  for (int n : {1, 2, 5, 40, 200}) {
    for (bool with_zeros : {false, true}) {
      SCOPED_TRACE(testing::Message() << n << (with_zeros ? " with zeros" : " dense"));
      // A random matrix shifted off singularity; with zeros it keeps a full
      // diagonal and equal values, so that rows are skipped and ties occur.
      Matrix x(n, n);
      for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
          x(i, j) = with_zeros && sparse(gen) ? 0.0 : uniform(gen);
          if (with_zeros && x(i, j) != 0.0 && uniform(gen) > 0.5) x(i, j) = 0.5;
        }
        x(i, i) += 2.0;
      }
      Matrix inv = x, plain = x;
      const double status = tesk::invert_matrix(n, inv);
      ASSERT_NE(status, 0.0);
      EXPECT_EQ(plain_inverse(n, plain), status);
      for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
          ASSERT_EQ(inv(i, j), plain(i, j)) << i << "," << j;
          double s = 0.0;
          for (int l = 1; l <= n; ++l) s += inv(i, l) * x(l, j);
          ASSERT_NEAR(s, i == j ? 1.0 : 0.0, 1e-10) << i << "," << j;
        }
      }
    }
  }
}

TEST(MatrixProducts, LargeNumbersStopTheRun) {
  struct Case {
    const char* name;
    std::vector<std::vector<double>> x, y;
    bool stops;
  } cases[] = {
      {"product above the bound", {{1e30}}, {{1e7}}, true},
      {"large negative product", {{-1e30}}, {{1e7}}, false},
      {"partial sum above the bound", {{1e30, 1e30}}, {{2e6}, {-2e6}}, true},
      {"partial sums below it", {{1e30, 1e30}}, {{-2e6}, {2e6}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Matrix x = from_rows(c.x), y = from_rows(c.y), z(1, 1);
    if (c.stops) {
      try {
        tesk::multiply_matrices(1, x.cols(), 1, x, y, z);
        ADD_FAILURE() << "no stop";
      } catch (const rec::Stop& s) {
        EXPECT_STREQ(s.what(), " Matrix numbers to big");
      }
    } else {
      EXPECT_NO_THROW(tesk::multiply_matrices(1, x.cols(), 1, x, y, z));
    }
  }
  Matrix big = from_rows({{1.0, 2e36}}), small = from_rows({{1.0, -2e36}}), z(1, 2);
  EXPECT_THROW(tesk::add_matrices(1, 2, small, big, z), rec::Stop);
  EXPECT_THROW(tesk::add_matrices(1, 2, big, small, z), rec::Stop);
  tesk::add_matrices(1, 2, small, small, z);
  EXPECT_EQ(z(1, 2), -4e36);
}

TEST(MatrixProducts, ProductWithZerosAndNonFiniteNumbers) {
  // A zero factor times an infinity is NaN and must stay in the sum; a large
  // negative sum passes the test.
  const double inf = INFINITY;
  Matrix x = from_rows({{1, 2, 3}, {-inf, 1, 0}}), y = from_rows({{0, 1}, {4, 0}, {0, -1}}), z(2, 2);
  tesk::multiply_matrices(2, 3, 2, x, y, z);
  EXPECT_EQ(z(1, 1), 8.0);
  EXPECT_EQ(z(1, 2), -2.0);
  EXPECT_TRUE(std::isnan(z(2, 1)));
  EXPECT_EQ(z(2, 2), -inf);
}

}  // namespace
