// A formatted read walks the parsed format as a write does: each data
// descriptor fills the next item from the next W columns, X and text skip
// columns, "/" and reversion take the next record. The scale factor does not
// change input: no format of the system reads with one.
#include <string>

#include "common/edit_read.hpp"
#include "common/format_walk.hpp"
#include "common/read_statement.hpp"
#include "common/report.hpp"

namespace rec {
namespace {

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
  struct Reader {
    const Format::Impl& impl;
    std::span<const InItem> items;
    RecordSource& source;
    std::string_view record;
    std::size_t pos = 0;

    bool next_record() {
      pos = 0;
      return source.next(record);
    }
    [[noreturn]] void fail(const char* what, std::size_t w) const {
      Where where = source.where();
      int first = where.first_column + static_cast<int>(pos);
      throw RecordError(
          unreadable_report(what, where, first, first + static_cast<int>(w) - 1, columns(record, pos, w)));
    }
    void data(const Op& op, std::size_t index) {
      const InItem& item = items[index];
      std::size_t w = static_cast<std::size_t>(op.w);
      if (op.kind == OpKind::a) {
        auto* s = std::get_if<std::string*>(&item);
        if (!s) wrong_item(impl, index, "a character item");
        if (op.w < 0) w = (*s)->size();
        take_characters(**s, record, pos, w);
      } else if (op.kind == OpKind::i) {
        auto* n = std::get_if<int*>(&item);
        if (!n) wrong_item(impl, index, "an integer");
        if (!read_integer_field(columns(record, pos, w), **n)) fail("integer", w);
      } else if (auto* x = std::get_if<float*>(&item)) {
        if (!read_real_field(columns(record, pos, w), op.d, **x)) fail("real number", w);
      } else if (auto* y = std::get_if<double*>(&item)) {
        if (!read_real_field(columns(record, pos, w), op.d, **y)) fail("real number", w);
      } else {
        wrong_item(impl, index, "a real number");
      }
      pos += w;
    }
    void skip(int n) { pos += static_cast<std::size_t>(n); }
    void text(const Op& op) { pos += static_cast<std::size_t>(op.text_size); }
    void dollar() {}
    void scale_factor(int) {}
  };
  Reader r{fmt.impl(), items, source, {}};
  if (!r.next_record()) return ReadStatus::end;
  return walk_format(r.impl, items.size(), r) ? ReadStatus::ok : ReadStatus::end;
}

}  // namespace rec
