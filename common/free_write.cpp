// Free-form output: a blank, then the items. Character items are copied as
// they are; a number is kept apart from its neighbours by one blank (none is
// added where the neighbouring text already has one). Integers are their
// digits; reals are their 7 or 16 significant digits with trailing zeros
// dropped, in fixed point from 0.01 up to 10^digits ("0.25", "141.0") and in
// exponent form outside ("1.5E+20"); zero is "0.0"; infinity and NaN are "***".
#include <charconv>
#include <string>

#include "common/digits.hpp"
#include "common/records.hpp"

namespace rec {
namespace {

void put_real(std::string& out, const Digits& d) {
  if (!d.finite) {
    out.append("***");
    return;
  }
  if (d.zero) {
    out.append("0.0");
    return;
  }
  int used = d.count;
  while (used > 1 && d.digit[used - 1] == '0') --used;
  if (d.negative) out.push_back('-');
  int x = d.exponent;
  if (x >= -1 && x <= d.count) {
    if (x <= 0) {
      out.append("0.");
      out.append(static_cast<std::size_t>(-x), '0');
      out.append(d.digit, static_cast<std::size_t>(used));
      return;
    }
    for (int k = 0; k < x; ++k) out.push_back(k < used ? d.digit[k] : '0');
    out.push_back('.');
    if (used > x) {
      out.append(d.digit + x, static_cast<std::size_t>(used - x));
    } else {
      out.push_back('0');
    }
    return;
  }
  out.push_back(d.digit[0]);
  out.push_back('.');
  if (used > 1) {
    out.append(d.digit + 1, static_cast<std::size_t>(used - 1));
  } else {
    out.push_back('0');
  }
  int e = x - 1;
  out.push_back('E');
  out.push_back(e < 0 ? '-' : '+');
  int magnitude = e < 0 ? -e : e;
  if (magnitude < 10) out.push_back('0');
  char buf[8];
  auto res = std::to_chars(buf, buf + sizeof buf, magnitude);
  out.append(buf, res.ptr);
}

}  // namespace

std::string encode_free(std::initializer_list<OutItem> items) {
  return encode_free(std::span<const OutItem>(items.begin(), items.size()));
}

std::string encode_free(std::span<const OutItem> items) {
  if (items.size() == 0) return {};
  std::string out(1, ' ');
  bool last_was_number = false;
  for (const OutItem& item : items) {
    if (auto* s = std::get_if<std::string_view>(&item)) {
      if (last_was_number && !s->empty() && s->front() != ' ') out.push_back(' ');
      out.append(*s);
      last_was_number = false;
      continue;
    }
    if (out.back() != ' ') out.push_back(' ');
    if (auto* n = std::get_if<int>(&item)) {
      char buf[16];
      auto res = std::to_chars(buf, buf + sizeof buf, *n);
      out.append(buf, res.ptr);
    } else if (auto* x = std::get_if<float>(&item)) {
      put_real(out, decimal_digits(*x));
    } else {
      put_real(out, decimal_digits(std::get<double>(item)));
    }
    last_was_number = true;
  }
  return out;
}

}  // namespace rec
