// The finest grid spacing a run can tell apart. Grid points are the single
// precision sums vstart + j * grid: a step near the spacing of neighbouring
// floats makes points coincide or repeat, and table71 shows no more than four
// decimals. (Above 1000 cm-1 the seven significant digits of the table's
// wavenumber column resolve only 0.001 cm-1, so a finer grid there prints
// neighbouring points alike; the points themselves stay apart, and such
// grids are accepted.)
#pragma once

#include <string>

namespace tesk {

// cm-1: the larger of 1e-4 and twice the spacing of single-precision values
// at the end of the range vlo..vhi (cm-1) that lies farther from zero.
float finest_grid(float vlo, float vhi);

// The reason a deck report gives for a grid below finest_grid(vlo, vhi); the
// limit it names is rounded up, so that the value shown is itself accepted.
std::string grid_too_fine(float vlo, float vhi);

}  // namespace tesk
