// The Voigt function of the line shapes: sqrt(pi) times the real part of the
// complex probability function w(x + iy), from Humlicek's four-region rational
// approximation (J. Quant. Spectrosc. Radiat. Transfer 27, 437, 1982), in
// single precision. Relative accuracy about 1e-4, 2.3e-4 at worst.
#pragma once

namespace tesk {

// sqrt(pi) * Re w(x + iy), with x the distance from the line centre and y the
// Lorentz width, both in units of the Doppler half width / sqrt(ln 2); y >= 0.
// It is sqrt(pi) exp(-x^2) for y = 0 and tends to y / (x^2 + y^2) far from
// the centre; |x| must stay below about 1e9, where the squares overflow.
// The complex operations are written out in real single-precision operations
// (textbook product and quotient), so that a vectorised version can reproduce
// every bit. Pure function: no state, no files, no console.
float voigt_w4(float x, float y);

}  // namespace tesk
