// The 8-character label that names the target in every row of table74 and
// table76; the interfering-gas program decodes the window's gas from it.
#pragma once

#include <string>

namespace tesk {

// `gasname` (7 characters) and a blank when `isotope` is 0, otherwise the
// isotope in one character (an asterisk from 10 on) and `gasname`.
std::string gas_label(const std::string& gasname, int isotope);

}  // namespace tesk
