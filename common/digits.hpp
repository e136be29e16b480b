// The decimal digits a real value is edited from: the exact binary value
// rounded half up to 7 significant digits (32-bit item) or 16 (64-bit item).
// The fields round these digits once more at the last position they show
// (edit_write), which is why they are not the shortest or nearest digits of
// the value.
#pragma once

namespace rec {

inline constexpr int kFloatDigits = 7;
inline constexpr int kDoubleDigits = 16;

struct Digits {
  char digit[kDoubleDigits];  // '0'..'9'; digit[0] is not '0' unless the value is zero
  int count = 0;              // kFloatDigits or kDoubleDigits
  int exponent = 0;           // value = 0.d1 d2 ... x 10^exponent; 0 for zero
  bool negative = false;      // sign bit, also set for -0.0
  bool zero = false;
  bool finite = true;         // false for infinity and NaN (digits unset)
};

// Pure functions, no errors.
Digits decimal_digits(float value);
Digits decimal_digits(double value);

}  // namespace rec
