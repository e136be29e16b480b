// The truncated Lorentz convolution that turns a species' line spectrum into
// the optical depth seen at each point of a window: every line gets one mean
// half width, and its wings are cut at the window margin.
#pragma once

#include <span>

namespace kormal {

// w(m) = gl / (pi (gl^2 + (m spacing)^2)) for m = 0..k with pi as
// rec::kPiFourDecimals (3.1415), spacing in cm-1,
// gl in cm-1. Precondition: weights.size() > k.
void lorentz_weights(double gl, int k, std::span<double> weights);

// The normalisation w(0) + 2 (w(1) + ... + w(k)), the sum taken in order of m.
double weight_total(std::span<const double> weights, int k);

// tau(i) = (w(0) od(i) + sum over m = 1..k of w(m) (od(i-m) + od(i+m))) / total
// for i = k..n-k, each sum started at 0 and taken in order of m, so that the
// result does not depend on how the points are visited. `sums` is scratch.
// Preconditions: od, tau and sums hold points 0..n; weights holds 0..k.
void convolve_lorentz(std::span<const double> od, std::span<const double> weights, double total, int k, int n,
                      std::span<double> sums, std::span<double> tau);

}  // namespace kormal
