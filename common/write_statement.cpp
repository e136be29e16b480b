// A write statement walks the parsed format with its items: each data
// descriptor takes the next item, control descriptors act as met. When the
// items are used up it stops at the next data descriptor or at the closing
// parenthesis, so text, X and slashes before that point still count. Items
// left at the closing parenthesis start a new record at the last top-level
// group (format reversion).
#include <stdexcept>
#include <string>

#include "common/digits.hpp"
#include "common/edit_write.hpp"
#include "common/format_parse.hpp"
#include "common/records.hpp"

namespace rec {
namespace {

[[noreturn]] void wrong_item(const Format::Impl& impl, std::size_t index, const char* expected) {
  throw std::invalid_argument("format \"" + impl.text + "\": item " + std::to_string(index + 1) +
                              " must be " + expected);
}

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
  const Format::Impl& impl = fmt.impl();
  std::size_t used = 0;
  // Records are reused from the previous statement, so a steady stream of
  // writes allocates nothing.
  auto start_record = [&]() -> std::string& {
    if (used == out.records.size()) {
      out.records.emplace_back();
    } else {
      out.records[used].clear();
    }
    return out.records[used++];
  };
  std::string* record = &start_record();
  std::size_t pos = 0;  // may lie beyond the record's end after X
  auto move_to_pos = [&] {
    if (pos > record->size()) record->append(pos - record->size(), ' ');
  };
  GroupLoops groups;
  int scale = 0;
  bool dollar = false;
  const OutItem* item = items.data();
  const OutItem* const last = item + items.size();
  auto finish = [&] {
    out.records.resize(used);
    out.pending = dollar;
  };
  int pc = 0;
  for (;;) {
    const Op& op = impl.ops[static_cast<std::size_t>(pc)];
    switch (op.kind) {
      case OpKind::a:
      case OpKind::i:
      case OpKind::f:
      case OpKind::e:
        if (item == last) return finish();
        move_to_pos();
        put_item(*record, op, scale, *item, impl, static_cast<std::size_t>(item - items.data()));
        pos = record->size();
        ++item;
        ++pc;
        break;
      case OpKind::skip:
        pos += static_cast<std::size_t>(op.w);
        ++pc;
        break;
      case OpKind::text:
        move_to_pos();
        record->append(impl.literals, static_cast<std::size_t>(op.text_begin),
                       static_cast<std::size_t>(op.text_size));
        pos = record->size();
        ++pc;
        break;
      case OpKind::slash:
        record = &start_record();
        pos = 0;
        ++pc;
        break;
      case OpKind::dollar:
        dollar = true;
        ++pc;
        break;
      case OpKind::scale:
        scale = op.w;
        ++pc;
        break;
      case OpKind::group_begin:
        groups.enter(pc, op.repeat);
        ++pc;
        break;
      case OpKind::group_end:
        pc = groups.leave(pc);
        break;
      case OpKind::end:
        if (item == last) return finish();
        if (!impl.reversion_has_data) {
          throw std::invalid_argument("format \"" + impl.text + "\" has no data descriptor for its items");
        }
        record = &start_record();
        pos = 0;
        pc = impl.reversion;
        break;
    }
  }
}

}  // namespace rec
