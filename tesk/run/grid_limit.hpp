// The finest grid spacing a run can tell apart. Grid points are the single
// precision sums vstart + j * grid, and table71 shows their wavenumbers with
// the seven significant digits of a single-precision item and at most four
// decimals; a finer step makes neighbouring points share one wavenumber,
// which every later step would read as separate samples.
#pragma once

#include <string>

namespace tesk {

// cm-1: the largest of 1e-4, the place of the seventh significant digit and
// twice the spacing of single-precision values, each taken at the end of the
// range vlo..vhi (cm-1) that lies farther from zero.
float finest_grid(float vlo, float vhi);

// The reason a deck report gives for a grid below finest_grid(vlo, vhi); the
// limit it names is rounded up, so that the value shown is itself accepted.
std::string grid_too_fine(float vlo, float vhi);

}  // namespace tesk
