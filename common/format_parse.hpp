// The parsed form of a format string: a flat list of edit operations with the
// groups kept as loop markers, so that a write or read walks it without
// allocating and format reversion can jump back to the last top-level group.
// Only the record library includes this; callers see rec::Format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/records.hpp"

namespace rec {

enum class OpKind : std::uint8_t {
  a,            // character item; width -1 means the item's own length
  i,            // integer, width w
  f,            // fixed point, width w, d decimals
  e,            // exponent form, width w, d digits (scale factor applies)
  skip,         // nX: n positions (w)
  text,         // quoted text: literals[text_begin, text_begin + text_size)
  slash,        // end of record
  dollar,       // do not end the last record of the statement
  scale,        // kP: scale factor k (w) for the E fields that follow
  group_begin,  // repeat count in `repeat`, matching group_end in `partner`
  group_end,    // matching group_begin in `partner`
  end,          // the closing parenthesis of the whole format
};

struct Op {
  OpKind kind = OpKind::end;
  int w = 0;
  int d = 0;
  int repeat = 1;  // group_begin only; repeated descriptors are expanded
  int partner = 0;
  int text_begin = 0;
  int text_size = 0;
};

// Deepest nesting of groups a format may use; the walkers keep their loop
// counters in a fixed array of this size.
inline constexpr int kMaxGroupDepth = 16;

struct Format::Impl {
  std::string text;          // the format string as given
  std::vector<Op> ops;       // last op is OpKind::end
  std::string literals;      // the quoted texts, one after another
  int reversion = 0;         // op where reversion resumes
  bool reversion_has_data = false;  // a data descriptor follows `reversion`
};

}  // namespace rec
