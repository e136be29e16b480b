// Output fields: lays an item into exactly W characters, right-justified and
// padded with blanks on the left, or W asterisks when it does not fit (also
// for infinity and NaN). Real fields start from the decimal digits of
// digits.hpp and round them once at the last position they show. Every
// function appends to `out`; none touches a file or the console.
#pragma once

#include <string>
#include <string_view>

#include "common/digits.hpp"

namespace rec {

// iW: digits and a minus sign for a negative value, never a plus sign.
void put_integer(std::string& out, int w, int value);

// fW.D: optional minus, the integer digits (none for a zero integer part),
// the point and D decimals; a lone 0 before the point only when no digit would
// be written at all. A value that shows as zero has no minus sign.
void put_fixed(std::string& out, int w, int d, const Digits& digits);

// eW.D with scale factor k: k = 0 writes .d1...dD, k = 1 writes d1.d2...d(D+1),
// then E, the exponent's sign and two digits (sign and three digits without
// the E beyond +-99). Zero has exponent +00.
void put_exponent(std::string& out, int w, int d, int scale, const Digits& digits);

// aW (w > 0) or a (w < 0, the whole item): a wider field puts blanks before the
// item, a narrower one takes its leftmost w characters.
void put_characters(std::string& out, int w, std::string_view item);

}  // namespace rec
