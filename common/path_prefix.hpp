// Path answers of the decks: a path (or a prefix that ends with its own
// directory separator) is written at the start of a fixed-width field, and
// its first blank ends it, so anything after the blank is a comment. Both
// programs resolve every path answer here, once, as the deck is read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/stop.hpp"

namespace rec {

// `field` up to its first blank; a field without a blank is taken whole (a
// shorter text counts as padded with blanks). No files, no console.
inline std::string path_prefix(std::string_view field) { return std::string(field.substr(0, field.find(' '))); }

// The same, for a path that a file name is later written behind or that is
// kept in a bounded name: stops with `too_long` (rec::Stop) when the path
// holds more than `longest` characters, which is also the case for a field
// without a blank that is longer than `longest`.
inline std::string path_prefix(std::string_view field, int longest, std::string_view too_long) {
  std::string path = path_prefix(field);
  if (path.size() > static_cast<std::size_t>(longest)) stop(too_long);
  return path;
}

}  // namespace rec
