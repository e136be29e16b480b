// Built-in partition data of the molecules: for each HITRAN molecule number
// 1..32 whether it is linear (rotational partition function ~ T rather than
// T^1.5), its vibrational partition function at 296 K and a quadratic fit of
// the vibrational partition function in T. No partition-function file is read.
// A program gas finds its row through inputs::partition_index; a test checks
// that each gas of tesk/run/gas_names.hpp finds its own molecule's row.
#pragma once

#include <array>

namespace tesk {

inline constexpr int kPartitionMolecules = 32;  // HITRAN molecules with a table row

struct PartitionRow {
  int linear;   // 1: linear molecule, rotational factor T/296; 0: (T/296)^1.5
  float qv296;  // vibrational partition function at 296 K
  float a;      // Qv(T) = a + b T + c T^2, T in K
  float b;      // K-1
  float c;      // K-2
};

// Row k - 1 belongs to HITRAN molecule k.
inline constexpr std::array<PartitionRow, kPartitionMolecules> kPartitionTable = {{
    {0, 1.0f, 1.0f, 0.0f, 0.0f},                          // 1 H2O
    {1, 1.085f, 1.0589f, -0.0008325f, 3.1085e-06f},       // 2 CO2
    {0, 1.041f, 1.0521f, -0.00062899f, 2.0015e-06f},      // 3 O3
    {1, 1.127f, 1.0496f, -0.00085f, 3.7549e-06f},         // 4 N2O
    {1, 1.0f, 1.0f, 0.0f, 0.0f},                          // 5 CO
    {0, 1.006f, 1.0275f, -0.00027557f, 6.932e-07f},       // 6 CH4
    {1, 1.0f, 1.0f, 0.0f, 0.0f},                          // 7 O2
    {1, 1.0f, 1.0f, 0.0f, 0.0f},                          // 8 NO
    {0, 1.093f, 1.0187f, -0.00042559f, 2.2878e-06f},      // 9 SO2
    {0, 1.047f, 1.0307f, -0.00044071f, 1.6766e-06f},      // 10 NO2
    {0, 1.011f, 1.0239f, -0.00026136f, 7.33e-07f},        // 11 NH3
    {0, 1.296f, 1.1848f, -0.0025669f, 9.9488e-06f},       // 12 HNO3
    {1, 1.0f, 1.0f, 0.0f, 0.0f},                          // 13 OH
    {1, 1.0f, 1.0f, 0.0f, 0.0f},                          // 14 HF
    {1, 1.0f, 1.0f, 0.0f, 0.0f},                          // 15 HCl
    {1, 1.0f, 1.0f, 0.0f, 0.0f},                          // 16 HBr
    {1, 1.0f, 1.0f, 0.0f, 0.0f},                          // 17 HI
    {1, 1.015f, 1.0225f, -0.00026453f, 8.055e-07f},       // 18 ClO
    {1, 1.199f, 1.0572f, -0.0010882f, 5.2957e-06f},       // 19 OCS
    {0, 1.006f, 1.0237f, -0.0002416f, 6.195e-07f},        // 20 H2CO
    {0, 1.034f, 1.0333f, -0.00042789f, 1.4494e-06f},      // 21 HOCl
    {1, 1.0f, 1.0f, 0.0f, 0.0f},                          // 22 N2
    {1, 1.033f, 1.024f, -0.00033747f, 1.2378e-06f},       // 23 HCN
    {0, 1.048f, 1.0768f, -0.0008819f, 2.6482e-06f},       // 24 CH3Cl
    {0, 1.018f, 1.0378f, -0.00041481f, 1.1726e-06f},      // 25 H2O2
    {1, 1.178f, 1.129f, -0.0017821f, 6.5792e-06f},        // 26 C2H2
    {0, 1.368f, 1.064f, -0.0010638f, 7.0763e-06f},        // 27 C2H6
    {0, 1.017f, 1.0441f, -0.00047067f, 1.2812e-06f},      // 28 PH3: 1.017, its fit at 296 K
    {0, 1.0f, 1.0f, 0.0f, 0.0f},                          // 29 COF2
    {0, 1.0f, 1.0f, 0.0f, 0.0f},                          // 30 SF6
    {0, 1.0f, 1.0f, 0.0f, 0.0f},                          // 31 H2S
    {0, 1.0f, 1.0f, 0.0f, 0.0f},                          // 32 HCOOH
}};

}  // namespace tesk
