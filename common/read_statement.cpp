// A formatted read walks the parsed format as a write does: each data
// descriptor fills the next item from the next W columns, X skips columns,
// "/" and reversion take the next record. The scale factor does not change
// input: no format of the system reads with one.
#include <stdexcept>
#include <string>

#include "common/edit_read.hpp"
#include "common/format_parse.hpp"
#include "common/read_statement.hpp"
#include "common/report.hpp"

namespace rec {
namespace {

[[noreturn]] void wrong_item(const Format::Impl& impl, std::size_t index, const char* expected) {
  throw std::invalid_argument("format \"" + impl.text + "\": item " + std::to_string(index + 1) +
                              " must be " + expected);
}

// The W columns from `pos`, as far as the record holds them; the rest reads as
// blanks.
std::string_view columns(std::string_view record, std::size_t pos, std::size_t w) {
  if (pos >= record.size()) return {};
  return record.substr(pos, w);
}

// aW into an item of length L: W >= L takes the rightmost L characters of the
// field, W < L fills the item from the left and blanks the rest.
void take_characters(std::string& item, std::string_view record, std::size_t pos, std::size_t w) {
  std::size_t length = item.size();
  std::size_t from = w >= length ? pos + (w - length) : pos;
  std::size_t take = w >= length ? length : w;
  for (std::size_t k = 0; k < length; ++k) {
    std::size_t col = from + k;
    item[k] = k < take && col < record.size() ? record[col] : ' ';
  }
}

}  // namespace

ReadStatus read_formatted(const Format& fmt, std::span<const InItem> items, RecordSource& source) {
  const Format::Impl& impl = fmt.impl();
  std::string_view record;
  if (!source.next(record)) return ReadStatus::end;
  std::size_t pos = 0;
  GroupLoops groups;
  const InItem* item = items.data();
  const InItem* const last = item + items.size();
  auto fail = [&](const char* what, std::size_t w) {
    Where where = source.where();
    int first = where.first_column + static_cast<int>(pos);
    throw RecordError(
        unreadable_report(what, where, first, first + static_cast<int>(w) - 1, columns(record, pos, w)));
  };
  int pc = 0;
  for (;;) {
    const Op& op = impl.ops[static_cast<std::size_t>(pc)];
    switch (op.kind) {
      case OpKind::a:
      case OpKind::i:
      case OpKind::f:
      case OpKind::e: {
        if (item == last) return ReadStatus::ok;
        std::size_t index = static_cast<std::size_t>(item - items.data());
        std::size_t w = static_cast<std::size_t>(op.w);
        if (op.kind == OpKind::a) {
          auto* s = std::get_if<std::string*>(item);
          if (!s) wrong_item(impl, index, "a character item");
          if (op.w < 0) w = (*s)->size();
          take_characters(**s, record, pos, w);
        } else if (op.kind == OpKind::i) {
          auto* n = std::get_if<int*>(item);
          if (!n) wrong_item(impl, index, "an integer");
          if (!read_integer_field(columns(record, pos, w), **n)) fail("integer", w);
        } else if (auto* x = std::get_if<float*>(item)) {
          if (!read_real_field(columns(record, pos, w), op.d, **x)) fail("real number", w);
        } else if (auto* y = std::get_if<double*>(item)) {
          if (!read_real_field(columns(record, pos, w), op.d, **y)) fail("real number", w);
        } else {
          wrong_item(impl, index, "a real number");
        }
        pos += w;
        ++item;
        ++pc;
        break;
      }
      case OpKind::skip:
        pos += static_cast<std::size_t>(op.w);
        ++pc;
        break;
      case OpKind::text:
        pos += static_cast<std::size_t>(op.text_size);
        ++pc;
        break;
      case OpKind::slash:
        if (!source.next(record)) return ReadStatus::end;
        pos = 0;
        ++pc;
        break;
      case OpKind::dollar:
      case OpKind::scale:
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
        if (item == last) return ReadStatus::ok;
        if (!impl.reversion_has_data) {
          throw std::invalid_argument("format \"" + impl.text + "\" has no data descriptor for its items");
        }
        if (!source.next(record)) return ReadStatus::end;
        pos = 0;
        pc = impl.reversion;
        break;
    }
  }
}

}  // namespace rec
