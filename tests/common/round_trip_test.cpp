// Property: a value written with fW.D or eW.D and read back with the same
// format comes within half a unit of the last digit the field shows. The
// digits a field starts from are themselves rounded (7 or 16 significant
// digits), so the bound adds half a unit of the last of those digits, and the
// value read back is rounded once more to the item's precision (half an ulp).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "common/records.hpp"

namespace {

constexpr int kSamples = 20000;

template <class T>
double item_ulp(T v) {
  return static_cast<double>(std::nextafter(std::fabs(v), std::numeric_limits<T>::infinity()) - std::fabs(v));
}

// Decimal exponent x of |v| = 0.d1d2... x 10^x.
int decimal_exponent(double v) { return static_cast<int>(std::floor(std::log10(std::fabs(v)))) + 1; }

template <class T>
void check_fixed(int w, int d, double magnitude, int digits, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> dist(-magnitude, magnitude);
  const rec::Format format("(f" + std::to_string(w) + "." + std::to_string(d) + ")");
  std::string field(static_cast<std::size_t>(w), ' ');
  for (int k = 0; k < kSamples; ++k) {
    T v = static_cast<T>(dist(gen));
    rec::write_internal(field, format, {v});
    ASSERT_EQ(field.find('*'), std::string::npos) << field;
    T back = 0;
    rec::read_internal(field, format, {&back});
    double bound = 0.5 * std::pow(10.0, -d);
    if (v != 0) bound += 0.5 * std::pow(10.0, decimal_exponent(v) - digits);
    bound += 0.5 * item_ulp(back) + 1e-12 * bound;
    ASSERT_LE(std::fabs(static_cast<double>(back) - static_cast<double>(v)), bound)
        << "value " << v << " written as \"" << field << "\"";
  }
}

template <class T>
void check_exponent(int w, int d, int scale, double max_exponent, int digits, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_real_distribution<double> power(-max_exponent, max_exponent);
  std::bernoulli_distribution negative(0.5);
  std::string text = "(" + std::string(scale == 1 ? "1p" : "") + "e" + std::to_string(w) + "." + std::to_string(d) + ")";
  const rec::Format format(text);
  std::string field(static_cast<std::size_t>(w), ' ');
  for (int k = 0; k < kSamples; ++k) {
    double x = mantissa(gen) * std::pow(10.0, std::floor(power(gen)));
    T v = static_cast<T>(negative(gen) ? -x : x);
    rec::write_internal(field, format, {v});
    ASSERT_EQ(field.find('*'), std::string::npos) << field;
    T back = 0;
    rec::read_internal(field, format, {&back});
    int shown = scale == 1 ? d + 1 : d;  // significant digits of the field
    int x10 = decimal_exponent(v);
    double bound = 0.5 * std::pow(10.0, x10 - shown) + 0.5 * std::pow(10.0, x10 - digits);
    bound += 0.5 * item_ulp(back) + 1e-12 * bound;
    ASSERT_LE(std::fabs(static_cast<double>(back) - static_cast<double>(v)), bound)
        << "value " << v << " written as \"" << field << "\" with " << text;
  }
}

TEST(RoundTrip, FixedPointFloats) {
  check_fixed<float>(9, 3, 9999.0, 7, 1);
  check_fixed<float>(12, 6, 999.0, 7, 2);  // more decimals than a float has digits
  check_fixed<float>(5, 1, 99.0, 7, 3);
  check_fixed<float>(8, 3, 0.01, 7, 4);    // values below the last shown digit
}

TEST(RoundTrip, FixedPointDoubles) {
  check_fixed<double>(10, 4, 9999.0, 16, 5);
  check_fixed<double>(12, 6, 9999.0, 16, 6);
  check_fixed<double>(7, 1, 9999.0, 16, 7);
}

TEST(RoundTrip, ExponentFloats) {
  check_exponent<float>(11, 5, 0, 37.0, 7, 8);
  check_exponent<float>(9, 2, 1, 37.0, 7, 9);
  check_exponent<float>(10, 3, 0, 37.0, 7, 10);
}

TEST(RoundTrip, ExponentDoubles) {
  check_exponent<double>(11, 5, 0, 300.0, 16, 11);  // exponents beyond two digits included
  check_exponent<double>(10, 3, 1, 300.0, 16, 12);
  check_exponent<double>(11, 4, 0, 99.0, 16, 13);
}

}  // namespace
