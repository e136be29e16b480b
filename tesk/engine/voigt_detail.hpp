// The pieces of the Voigt profile that the point-by-point code (voigt.cpp,
// line_shape.cpp) and the vectorised wing loops (voigt_wings.cpp) share: the
// four regions of the single-precision Voigt function as inline real
// operations, and the profile's constants. Sharing every operation and its
// order is what makes both give the same bits. Internal to the engine.
#pragma once

#include <cmath>

namespace tesk::voigt_detail {

// Every function is inlined wherever it is used, so that the loops that
// call them can be vectorised.

// Single-precision complex value; the operations below fix the order of every
// real operation, which std::complex does not (its quotient calls a library
// routine with scaling).
struct Cplx {
  float re;
  float im;
};

// a + r for a real r.
[[gnu::always_inline]] inline Cplx add(Cplx a, float r) { return {a.re + r, a.im}; }

// r - a for a real r.
[[gnu::always_inline]] inline Cplx sub_from(float r, Cplx a) { return {r - a.re, -a.im}; }

[[gnu::always_inline]] inline Cplx mul(Cplx a, Cplx b) {
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

[[gnu::always_inline]] inline Cplx div(Cplx a, Cplx b) {
  const float den = b.re * b.re + b.im * b.im;
  return {(a.re * b.re + a.im * b.im) / den, (a.im * b.re - a.re * b.im) / den};
}

// Profile constants, single precision: sqrt(ln 2) converts half widths at
// half maximum to 1/e widths; pi as the area normalisation has always used it.
inline constexpr float kSqrtLn2 = 0.8325546f;
inline constexpr float kPi = 3.1415925f;

// Where the far-wing formula holds: s = |x| + y at or beyond 15.
inline constexpr float kFarWing = 15.0f;
inline constexpr float kMiddleWing = 5.5f;

// Below kMiddleWing, the rational function of t (region 3) holds where y is
// not too small for the distance x; elsewhere the exponential form (region 4).
[[gnu::always_inline]] inline bool centre_region(float x, float y) { return y >= 0.195f * std::fabs(x) - 0.176f; }

// Far wing, s >= 15: the first term of the asymptotic continued fraction.
[[gnu::always_inline]] inline float region1(Cplx t, Cplx u) { return div(t, add(u, 0.5f)).re; }

// 5.5 <= s < 15: two terms of the continued fraction.
[[gnu::always_inline]] inline float region2(Cplx t, Cplx u) {
  const Cplx num = mul(t, add(u, 2.5f));
  const Cplx den = add(mul(u, add(u, 3.0f)), 0.75f);
  return div(num, den).re;
}

// Near the centre with y not too small: a rational function of t.
[[gnu::always_inline]] inline float region3(Cplx t) {
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

// Small y off the centre: sqrt(pi) exp(u) minus a rational function of
// u = t^2, computed in two parts so that the rational one can be vectorised
// while exp and cos stay the library's. Only the real part of sqrt(pi)
// exp(u) enters the result, so the sine of Im u, which gives its imaginary
// part, is not needed.
[[gnu::always_inline]] inline float region4_rational(Cplx t, Cplx u) {
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
  return div(mul(t, num), den).re;
}

[[gnu::always_inline]] inline float region4_exponential(Cplx u) {
  return 1.772454f * (std::exp(u.re) * std::cos(u.im));
}

[[gnu::always_inline]] inline float region4(Cplx t, Cplx u) { return region4_exponential(u) - region4_rational(t, u); }

// The far-wing value at x, y: what voigt_w4 returns wherever
// |x| + y >= kFarWing.
[[gnu::always_inline]] inline float far_wing(float x, float y) {
  const Cplx t = {y, -x};
  return region1(t, mul(t, t));
}

}  // namespace tesk::voigt_detail
