// Input conversion of numbers: fixed-width fields (iW, fW.D, eW.D) and the
// words of free-form input. Each returns false for text that is not a number
// of the kind asked for; the caller turns that into the report that names the
// file, record and columns. No file or console access.
#pragma once

#include <string_view>

namespace rec {

// iW field: blanks anywhere are ignored, an all-blank field is 0, a leading
// sign is allowed. False for any other character or a value beyond 32 bits.
bool read_integer_field(std::string_view field, int& value);

// fW.D and eW.D fields (identical on input): blanks ignored, all blank is 0,
// optional sign, digits with an optional point, an optional exponent written as
// E or D and a signed integer, or as a bare sign and digits. Without a point the
// last `decimals` digits before the exponent are the fraction. The decimal
// value is rounded once, to nearest, to the item's precision; a value below
// the smallest subnormal reads as 0, one beyond the largest finite is false.
bool read_real_field(std::string_view field, int decimals, float& value);
bool read_real_field(std::string_view field, int decimals, double& value);

// Free-form words (no blanks inside): an integer is an optional sign and
// digits; a real number is any integer, fixed-point or exponent form ("2",
// "+2", "5.", ".5", "1e-3", "1d2", "1.4444-02"). The value is rounded once to
// the item's precision.
bool read_integer_word(std::string_view word, int& value);
bool read_real_word(std::string_view word, float& value);
bool read_real_word(std::string_view word, double& value);

}  // namespace rec
