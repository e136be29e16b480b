#include "common/edit_write.hpp"

#include <charconv>
#include <cstdlib>

namespace rec {
namespace {

// The digits a field shows: the value's digits rounded half up at `shown`
// significant positions, by the next of those digits. Positions beyond the
// value's own digits read as 0.
struct Shown {
  char digit[kDoubleDigits + 1];
  int count = 0;     // digits held; positions beyond are 0
  int exponent = 0;  // value = 0.d1 d2 ... x 10^exponent
  bool zero = true;
};

Shown round_to(const Digits& v, int shown) {
  Shown s;
  if (v.zero || shown < 0) return s;
  s.exponent = v.exponent;
  if (shown == 0) {
    if (v.digit[0] >= '5') {  // rounds up to one unit of the last shown place
      s.digit[0] = '1';
      s.count = 1;
      s.exponent = v.exponent + 1;
      s.zero = false;
    }
    return s;
  }
  s.zero = false;
  int keep = shown < v.count ? shown : v.count;
  for (int k = 0; k < keep; ++k) s.digit[k] = v.digit[k];
  s.count = keep;
  if (keep < v.count && v.digit[keep] >= '5') {
    int k = keep - 1;
    while (k >= 0 && s.digit[k] == '9') s.digit[k--] = '0';
    if (k >= 0) {
      ++s.digit[k];
    } else {  // 99.96 -> 100.0: one more leading digit
      s.digit[0] = '1';
      for (int m = 1; m < keep; ++m) s.digit[m] = '0';
      ++s.exponent;
    }
  }
  return s;
}

char shown_digit(const Shown& s, int index) {
  return index >= 0 && index < s.count ? s.digit[index] : '0';
}

void pad(std::string& out, int w, int width) {
  if (w > width) out.append(static_cast<std::size_t>(w - width), ' ');
}

// A value that does not fit its field fills it with asterisks.
void put_asterisks(std::string& out, int w) { out.append(static_cast<std::size_t>(w), '*'); }

}  // namespace

void put_integer(std::string& out, int w, int value) {
  char buf[16];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  int width = static_cast<int>(res.ptr - buf);
  if (width > w) return put_asterisks(out, w);
  pad(out, w, width);
  out.append(buf, res.ptr);
}

void put_fixed(std::string& out, int w, int d, const Digits& v) {
  if (!v.finite) return put_asterisks(out, w);
  Shown s = round_to(v, v.zero ? 0 : v.exponent + d);
  int int_digits = !s.zero && s.exponent > 0 ? s.exponent : 0;
  bool minus = v.negative && !s.zero;
  bool lone_zero = int_digits == 0 && d == 0;
  int width = (minus ? 1 : 0) + int_digits + (lone_zero ? 1 : 0) + 1 + d;
  if (width > w) return put_asterisks(out, w);
  pad(out, w, width);
  if (minus) out.push_back('-');
  for (int k = 0; k < int_digits; ++k) out.push_back(shown_digit(s, k));
  if (lone_zero) out.push_back('0');
  out.push_back('.');
  if (s.zero) {
    out.append(static_cast<std::size_t>(d), '0');
  } else {
    for (int k = 0; k < d; ++k) out.push_back(shown_digit(s, s.exponent + k));
  }
}

void put_exponent(std::string& out, int w, int d, int scale, const Digits& v) {
  if (!v.finite) return put_asterisks(out, w);
  // kP with k > 0 shows D + 1 significant digits, with k <= 0 it shows D + k.
  int significant = scale > 0 ? d + 1 : d + scale;
  if (significant < 1 || scale > d + 1) return put_asterisks(out, w);
  Shown s = round_to(v, v.zero ? 0 : significant);
  int shown_exponent = s.zero ? 0 : s.exponent - scale;
  int magnitude = std::abs(shown_exponent);
  if (magnitude > 999) return put_asterisks(out, w);
  bool minus = v.negative && !s.zero;
  int before_point = scale > 0 ? scale : 0;
  int after_point = scale > 0 ? d - scale + 1 : d;
  int width = (minus ? 1 : 0) + before_point + 1 + after_point + 4;
  if (width > w) return put_asterisks(out, w);
  pad(out, w, width);
  if (minus) out.push_back('-');
  int next = 0;  // index of the next significant digit to write
  for (int k = 0; k < before_point; ++k) out.push_back(shown_digit(s, next++));
  out.push_back('.');
  for (int k = 0; k < after_point; ++k) {
    if (scale < 0 && k < -scale) {
      out.push_back('0');
    } else {
      out.push_back(shown_digit(s, next++));
    }
  }
  char sign = shown_exponent < 0 ? '-' : '+';
  if (magnitude <= 99) {
    out.push_back('E');
    out.push_back(sign);
    out.push_back(static_cast<char>('0' + magnitude / 10));
    out.push_back(static_cast<char>('0' + magnitude % 10));
  } else {
    out.push_back(sign);
    out.push_back(static_cast<char>('0' + magnitude / 100));
    out.push_back(static_cast<char>('0' + magnitude / 10 % 10));
    out.push_back(static_cast<char>('0' + magnitude % 10));
  }
}

void put_characters(std::string& out, int w, std::string_view item) {
  if (w < 0) {
    out.append(item);
    return;
  }
  auto width = static_cast<std::size_t>(w);
  if (width > item.size()) {
    out.append(width - item.size(), ' ');
    out.append(item);
  } else {
    out.append(item.substr(0, width));
  }
}

}  // namespace rec
