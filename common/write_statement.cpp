// A write statement: each data descriptor lays the next item into the record,
// text and X act as met, "/" and format reversion start a new record.
#include <string>

#include "common/digits.hpp"
#include "common/edit_write.hpp"
#include "common/format_walk.hpp"
#include "common/records.hpp"

namespace rec {
namespace {

void put_item(std::string& out, const Op& op, int scale, const OutItem& item, const Format::Impl& impl,
              std::size_t index) {
  switch (op.kind) {
    case OpKind::a:
      if (auto* s = std::get_if<std::string_view>(&item)) return put_characters(out, op.w, *s);
      wrong_item(impl, index, "a character item");
    case OpKind::i:
      if (auto* n = std::get_if<int>(&item)) return put_integer(out, op.w, *n);
      wrong_item(impl, index, "an integer");
    case OpKind::f:
      if (auto* x = std::get_if<float>(&item)) return put_fixed(out, op.w, op.d, decimal_digits(*x));
      if (auto* x = std::get_if<double>(&item)) return put_fixed(out, op.w, op.d, decimal_digits(*x));
      wrong_item(impl, index, "a real number");
    default:  // OpKind::e
      if (auto* x = std::get_if<float>(&item)) return put_exponent(out, op.w, op.d, scale, decimal_digits(*x));
      if (auto* x = std::get_if<double>(&item)) return put_exponent(out, op.w, op.d, scale, decimal_digits(*x));
      wrong_item(impl, index, "a real number");
  }
}

}  // namespace

void encode(const Format& fmt, std::initializer_list<OutItem> items, Encoded& out) {
  encode(fmt, std::span<const OutItem>(items.begin(), items.size()), out);
}

void encode(const Format& fmt, std::span<const OutItem> items, Encoded& out) {
  struct Writer {
    const Format::Impl& impl;
    std::span<const OutItem> items;
    Encoded& out;
    std::size_t used = 0;
    std::string* record = nullptr;
    std::size_t pos = 0;  // may lie beyond the record's end after X
    int scale = 0;
    bool dollar_seen = false;

    // Records are reused from the previous statement, so a steady stream of
    // writes allocates nothing.
    bool next_record() {
      if (used == out.records.size()) {
        out.records.emplace_back();
      } else {
        out.records[used].clear();
      }
      record = &out.records[used++];
      pos = 0;
      return true;
    }
    void move_to_pos() {
      if (pos > record->size()) record->append(pos - record->size(), ' ');
    }
    void data(const Op& op, std::size_t index) {
      move_to_pos();
      put_item(*record, op, scale, items[index], impl, index);
      pos = record->size();
    }
    void skip(int n) { pos += static_cast<std::size_t>(n); }
    void text(const Op& op) {
      move_to_pos();
      record->append(impl.literals, static_cast<std::size_t>(op.text_begin), static_cast<std::size_t>(op.text_size));
      pos = record->size();
    }
    void dollar() { dollar_seen = true; }
    void scale_factor(int k) { scale = k; }
  };
  Writer w{fmt.impl(), items, out};
  w.next_record();
  walk_format(w.impl, items.size(), w);
  out.records.resize(w.used);
  out.pending = w.dollar_seen;
}

}  // namespace rec
