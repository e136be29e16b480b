#include "tesk/engine/voigt.hpp"

#include <cmath>

namespace tesk {

namespace {

// Single-precision complex value; the operations below fix the order of every
// real operation, which std::complex does not (its quotient calls a library
// routine with scaling).
struct Cplx {
  float re;
  float im;
};

// a + r for a real r.
inline Cplx add(Cplx a, float r) { return {a.re + r, a.im}; }

// r - a for a real r.
inline Cplx sub_from(float r, Cplx a) { return {r - a.re, -a.im}; }

inline Cplx mul(Cplx a, Cplx b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }

inline Cplx div(Cplx a, Cplx b) {
  const float den = b.re * b.re + b.im * b.im;
  return {(a.re * b.re + a.im * b.im) / den, (a.im * b.re - a.re * b.im) / den};
}

// Far wing, s >= 15: the first term of the asymptotic continued fraction.
inline float region1(Cplx t, Cplx u) { return div(t, add(u, 0.5f)).re; }

// 5.5 <= s < 15: two terms of the continued fraction.
inline float region2(Cplx t, Cplx u) {
  const Cplx num = mul(t, add(u, 2.5f));
  const Cplx den = add(mul(u, add(u, 3.0f)), 0.75f);
  return div(num, den).re;
}

// Near the centre with y not too small: a rational function of t.
inline float region3(Cplx t) {
  Cplx num = add(t, 6.69808f);
  num = add(mul(t, num), 21.20709f);
  num = add(mul(t, num), 35.8201f);
  num = add(mul(t, num), 29.2375f);
  Cplx den = add(t, 6.699398f);
  den = add(mul(t, den), 21.69274f);
  den = add(mul(t, den), 39.27121f);
  den = add(mul(t, den), 38.82363f);
  den = add(mul(t, den), 16.4955f);
  return div(num, den).re;
}

// Small y off the centre: exp(u) minus a rational function of u = t^2. Only
// the real part of sqrt(pi) exp(u) enters the result, so the sine of Im u,
// which gives its imaginary part, is not needed.
inline float region4(Cplx t, Cplx u) {
  Cplx num = sub_from(2.340564f, u);
  num = sub_from(63.395f, mul(u, num));
  num = sub_from(388.222f, mul(u, num));
  num = sub_from(2730.974f, mul(u, num));
  num = sub_from(5888.07f, mul(u, num));
  num = sub_from(64133.25f, mul(u, num));
  Cplx den = sub_from(1.841439f, u);
  den = sub_from(61.5704f, mul(u, den));
  den = sub_from(364.219f, mul(u, den));
  den = sub_from(2186.18f, mul(u, den));
  den = sub_from(9022.23f, mul(u, den));
  den = sub_from(24322.8f, mul(u, den));
  den = sub_from(32066.6f, mul(u, den));
  const float exp_re = 1.772454f * (std::exp(u.re) * std::cos(u.im));
  return exp_re - div(mul(t, num), den).re;
}

}  // namespace

float voigt_w4(float x, float y) {
  const Cplx t = {y, -x};
  const float s = std::fabs(x) + y;
  const Cplx u = mul(t, t);
  if (s >= 15.0f) return region1(t, u);
  if (s >= 5.5f) return region2(t, u);
  if (y >= 0.195f * std::fabs(x) - 0.176f) return region3(t);
  return region4(t, u);
}

}  // namespace tesk
