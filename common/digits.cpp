// std::to_chars with a precision rounds the exact binary value to nearest,
// ties to even. The records rule rounds ties up, so when the value lies
// exactly halfway above the digits to_chars chose, the last digit goes up.
// An exact tie needs a value with exactly one more significant digit, a 5;
// that is checked in integer arithmetic, never by printing more digits.
#include "common/digits.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace rec {
namespace {

// Whether |value| equals (10 R + 5) x 10^j exactly, R being the `count`
// digits. Writing 10 R + 5 = 5 (2R + 1), the tie is (2R + 1) 5^(j+1) 2^j: it is
// a binary value only if its odd part fits the significand (`mantissa_bits`)
// and its lowest bit is not below the smallest subnormal (2^min_exp2).
bool tie_above(double magnitude, const Digits& d, int j, int mantissa_bits, int min_exp2) {
  std::uint64_t r = 0;
  for (int k = 0; k < d.count; ++k) r = r * 10 + static_cast<std::uint64_t>(d.digit[k] - '0');
  const std::uint64_t limit = std::uint64_t{1} << mantissa_bits;
  std::uint64_t odd = 2 * r + 1;
  int q = j + 1;
  if (q >= 0) {
    for (int k = 0; k < q; ++k) {
      if (odd >= limit) return false;
      odd *= 5;
    }
  } else {
    for (int k = 0; k < -q; ++k) {
      if (odd % 5 != 0) return false;
      odd /= 5;
    }
  }
  if (odd >= limit || j < min_exp2) return false;
  return std::ldexp(static_cast<double>(odd), j) == magnitude;
}

void round_up_last(Digits& d) {
  for (int k = d.count - 1; k >= 0; --k) {
    if (d.digit[k] != '9') {
      ++d.digit[k];
      return;
    }
    d.digit[k] = '0';
  }
  d.digit[0] = '1';
  ++d.exponent;
}

template <class T>
Digits make_digits(T value, int count, int mantissa_bits, int min_exp2) {
  Digits d;
  d.count = count;
  d.negative = std::signbit(value);
  if (!std::isfinite(value)) {
    d.finite = false;
    return d;
  }
  if (value == T(0)) {
    d.zero = true;
    for (int k = 0; k < count; ++k) d.digit[k] = '0';
    return d;
  }
  T magnitude = std::fabs(value);
  char buf[48];
  auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, count - 1);
  // buf holds d.ddd...e+XX with count digits
  d.digit[0] = buf[0];
  for (int k = 1; k < count; ++k) d.digit[k] = buf[k + 1];
  const char* p = buf + count + 2;  // after 'e'
  bool exp_negative = *p == '-';
  int e10 = 0;
  for (++p; p < res.ptr; ++p) e10 = e10 * 10 + (*p - '0');
  if (exp_negative) e10 = -e10;
  d.exponent = e10 + 1;
  if ((d.digit[count - 1] - '0') % 2 == 0 &&
      tie_above(static_cast<double>(magnitude), d, e10 - count, mantissa_bits, min_exp2)) {
    round_up_last(d);
  }
  return d;
}

}  // namespace

Digits decimal_digits(float value) { return make_digits(value, kFloatDigits, 24, -149); }
Digits decimal_digits(double value) { return make_digits(value, kDoubleDigits, 53, -1074); }

}  // namespace rec
