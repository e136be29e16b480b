// Build-time limits of the line-finding program. Each bounds an array that is
// sized once at start or a length the computation may reach; the step that
// checks a limit stops the run with its own message (declared in that step's
// header).
#pragma once

namespace tesk {

inline constexpr int kMaxGases = 120;          // MGAS: gas numbers of the vmr table
inline constexpr int kMaxLevels = 155;         // MLEV: path levels (two per layer on a limb path)
inline constexpr int kMaxIntervalSteps = 30000;  // mp: grid steps of one interval, points 0..mp
inline constexpr int kMaxKernelPoints = 1000;  // spectral points for weighting functions and kernels
inline constexpr int kMaxProfileLevels = 10000;  // NUM: levels of a pressure-temperature file
inline constexpr int kInputNameLength = 100;  // characters of an atmosphere file name, path included

inline constexpr int kModelLayers = 80;        // the model atmosphere: 80 layers of 1 km
// The line-shape transform of one interval: the interval, 1 cm-1 of taper at
// each end and the field-of-view extension, rounded up to a power of two. The
// work arrays are sized from the interval; this bound only keeps a deck's
// field of view from asking for gigabytes. 2^20 points hold a full interval
// of 30000 steps down to a grid of 1e-5 cm-1, and a field-of-view extension
// of some 900000 points beside it.
inline constexpr int kMaxConvolutionPoints = 1 << 20;
inline constexpr int kSpectrumClasses = 4;     // target, other gases, all gases, all with target scaled

// Path answers of the deck. A path ends at its first blank in a deck line of
// kDeckWidth columns; a prefix leaves room behind it for the longest name
// written there and one more column.
inline constexpr int kDeckWidth = 200;        // every deck line is read as a field this wide
inline constexpr int kLongestInputName = 10;  // "tropic.vmr", the longest name behind the input prefix
inline constexpr int kLongestTableName = 7;   // "table70", the longest name behind the output prefix
inline constexpr int kFilePathLength = 99;    // characters of the line list's and the plot file's path
inline constexpr int kInputPrefixLength = kDeckWidth - kLongestInputName - 1;     // characters of the input prefix
inline constexpr int kOutputPrefixLength = kDeckWidth - kLongestTableName - 1;    // characters of the output prefix
inline constexpr int kAtmospherePrefixLength = kInputNameLength - kLongestInputName - 1;  // input prefix of an atmosphere file name

}  // namespace tesk
