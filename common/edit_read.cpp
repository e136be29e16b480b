// The text is reduced to an integer mantissa and a power of ten, then handed
// to std::from_chars once, so the value is the decimal rounded once to the
// item's precision (as a compiler rounds a literal), whatever the layout.
#include "common/edit_read.hpp"

#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <system_error>

namespace rec {
namespace {

// Exponents beyond this are out of range for every item type; clamping keeps
// the arithmetic on them in int.
constexpr int kExponentClamp = 100000;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Mantissa digits, leading zeros dropped; a small buffer covers every field of
// the system, longer text spills to the heap.
class DigitBuffer {
 public:
  void push(char c) {
    if (size_ < sizeof small_) {
      small_[size_++] = c;
      return;
    }
    if (big_.empty()) big_.assign(small_, size_);
    big_.push_back(c);
    ++size_;
  }
  std::size_t size() const { return size_; }
  // The digits followed by "e<scale>"; valid until the next call.
  std::string_view with_exponent(int scale) {
    char tail[16];
    auto res = std::to_chars(tail, tail + sizeof tail, scale);
    if (big_.empty() && size_ + 1 + static_cast<std::size_t>(res.ptr - tail) <= sizeof small_) {
      std::size_t n = size_;
      small_[n++] = 'e';
      for (const char* p = tail; p < res.ptr; ++p) small_[n++] = *p;
      return {small_, n};
    }
    if (big_.empty()) big_.assign(small_, size_);
    big_.push_back('e');
    big_.append(tail, res.ptr);
    return big_;
  }

 private:
  char small_[72];
  std::size_t size_ = 0;
  std::string big_;
};

template <class T>
bool parse_real(std::string_view s, int implied, bool field, T& value) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  auto skip_blanks = [&] {
    if (field) {
      while (i < n && s[i] == ' ') ++i;
    }
  };
  skip_blanks();
  if (i == n) {
    if (!field) return false;
    value = T(0);
    return true;
  }
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') {
    negative = s[i] == '-';
    ++i;
    skip_blanks();
  }
  DigitBuffer digits;
  bool any_digit = false;
  bool point = false;
  int fraction = 0;  // digits after the point, leading zeros included
  while (i < n) {
    char c = s[i];
    if (is_digit(c)) {
      any_digit = true;
      if (c != '0' || digits.size() > 0) digits.push(c);
      if (point && fraction < kExponentClamp) ++fraction;
      ++i;
    } else if (c == '.' && !point) {
      point = true;
      ++i;
    } else if (c == ' ' && field) {
      ++i;
    } else {
      break;
    }
  }
  bool has_exponent = false;
  long exponent = 0;
  if (i < n) {
    char c = s[i];
    bool letter = c == 'e' || c == 'E' || c == 'd' || c == 'D';
    if (letter || c == '+' || c == '-') {
      has_exponent = true;
      if (letter) {
        ++i;
        skip_blanks();
      }
      bool exp_negative = false;
      if (i < n && (s[i] == '+' || s[i] == '-')) {
        exp_negative = s[i] == '-';
        ++i;
        skip_blanks();
      }
      bool exp_digit = false;
      while (i < n && (is_digit(s[i]) || (field && s[i] == ' '))) {
        if (s[i] != ' ') {
          exp_digit = true;
          if (exponent < kExponentClamp) exponent = exponent * 10 + (s[i] - '0');
        }
        ++i;
      }
      if (!exp_digit) return false;
      if (exp_negative) exponent = -exponent;
    }
  }
  if (i != n) return false;
  if (!any_digit) {
    // A field holding only a sign or a point reads as zero, as blanks do.
    if (!field || has_exponent) return false;
    value = T(0);
    return true;
  }
  if (digits.size() == 0) {
    value = negative ? -T(0) : T(0);
    return true;
  }
  // Without a point the last `implied` digits are the fraction.
  long scale = exponent - (point ? fraction : implied);
  long magnitude = static_cast<long>(digits.size()) + scale;  // decimal exponent of 0.ddd
  if (magnitude > kExponentClamp) return false;
  if (magnitude < -kExponentClamp) {
    value = negative ? -T(0) : T(0);
    return true;
  }
  std::string_view text = digits.with_exponent(static_cast<int>(scale));
  T result{};
  auto res = std::from_chars(text.data(), text.data() + text.size(), result);
  if (res.ec == std::errc::result_out_of_range) {
    if (magnitude > 0) return false;  // beyond the largest finite value
    result = T(0);                    // below the smallest subnormal
  } else if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    return false;
  }
  value = negative ? -result : result;
  return true;
}

bool parse_integer(std::string_view s, bool field, int& value) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  auto skip_blanks = [&] {
    if (field) {
      while (i < n && s[i] == ' ') ++i;
    }
  };
  skip_blanks();
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  long long magnitude = 0;
  bool any_digit = false;
  for (; i < n; ++i) {
    char c = s[i];
    if (is_digit(c)) {
      any_digit = true;
      magnitude = magnitude * 10 + (c - '0');
      if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
    } else if (!(field && c == ' ')) {
      return false;
    }
  }
  if (!any_digit && !field) return false;
  if (!negative && magnitude > INT_MAX) return false;
  value = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}

}  // namespace

bool read_integer_field(std::string_view field, int& value) { return parse_integer(field, true, value); }
bool read_real_field(std::string_view field, int decimals, float& value) {
  return parse_real(field, decimals, true, value);
}
bool read_real_field(std::string_view field, int decimals, double& value) {
  return parse_real(field, decimals, true, value);
}
bool read_integer_word(std::string_view word, int& value) { return parse_integer(word, false, value); }
bool read_real_word(std::string_view word, float& value) { return parse_real(word, 0, false, value); }
bool read_real_word(std::string_view word, double& value) { return parse_real(word, 0, false, value); }

}  // namespace rec
