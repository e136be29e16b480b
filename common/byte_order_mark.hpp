// The UTF-8 byte-order mark that some editors put before a text file's first
// line. The decks of both programs drop it from their first line: it is no
// part of an answer, and the echo of a deck must not carry it either.
#pragma once

#include <string>
#include <string_view>

namespace rec {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Removes a byte-order mark from the start of `first_line`, if there is one.
inline void drop_byte_order_mark(std::string& first_line) {
  if (first_line.starts_with(kByteOrderMark)) first_line.erase(0, kByteOrderMark.size());
}

}  // namespace rec
