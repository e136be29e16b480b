// Free-form input, as the decks and data files are written by hand: values
// separated by blanks (or tabs), a comma, or the end of a record. Two commas
// with nothing between them, or a comma before the first value, leave that
// item unchanged (a null value). A character value is a word that ends at a
// blank or comma, or text between apostrophes ('' stands for one apostrophe
// inside); it is cut or blank-padded to the item's length, so a one-character
// item takes the first character of a word such as "c(complete)".
#include <string>

#include "common/edit_read.hpp"
#include "common/read_statement.hpp"
#include "common/report.hpp"

namespace rec {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

void assign_word(std::string& item, std::string_view word) {
  std::size_t length = item.size();
  for (std::size_t k = 0; k < length; ++k) item[k] = k < word.size() ? word[k] : ' ';
}

}  // namespace

ReadStatus read_free_form(std::span<const InItem> items, RecordSource& source) {
  std::string_view record;
  if (!source.next(record)) return ReadStatus::end;
  std::size_t pos = 0;
  bool after_comma = true;  // a comma before the first value is a null value
  for (const InItem& item : items) {
    bool null_value = false;
    for (;;) {
      while (pos < record.size() && is_blank(record[pos])) ++pos;
      if (pos >= record.size()) {
        if (!source.next(record)) return ReadStatus::end;
        pos = 0;
        continue;
      }
      if (record[pos] == ',') {
        ++pos;
        if (after_comma) {
          null_value = true;
          break;
        }
        after_comma = true;
        continue;
      }
      break;
    }
    if (null_value) continue;
    after_comma = false;
    std::size_t start = pos;
    auto* text = std::get_if<std::string*>(&item);
    if (text && record[pos] == '\'') {
      std::string& target = **text;
      std::size_t length = target.size();
      std::size_t filled = 0;
      ++pos;
      for (;;) {
        if (pos >= record.size()) {
          Where where = source.where();
          int first = where.first_column + static_cast<int>(start);
          throw RecordError(" Unterminated character value in " + describe(where) + ", column " +
                            std::to_string(first) + ": found \"" + std::string(record.substr(start)) + "\"");
        }
        char c = record[pos++];
        if (c == '\'') {
          if (pos < record.size() && record[pos] == '\'') {
            ++pos;
          } else {
            break;
          }
        }
        if (filled < length) target[filled++] = c;
      }
      for (; filled < length; ++filled) target[filled] = ' ';
      continue;
    }
    while (pos < record.size() && !is_blank(record[pos]) && record[pos] != ',') ++pos;
    std::string_view word = record.substr(start, pos - start);
    bool ok = true;
    const char* what = "real number";
    if (text) {
      assign_word(**text, word);
    } else if (auto* n = std::get_if<int*>(&item)) {
      what = "integer";
      ok = read_integer_word(word, **n);
    } else if (auto* x = std::get_if<float*>(&item)) {
      ok = read_real_word(word, **x);
    } else {
      ok = read_real_word(word, *std::get<double*>(item));
    }
    if (!ok) {
      Where where = source.where();
      int first = where.first_column + static_cast<int>(start);
      throw RecordError(unreadable_report(what, where, first, first + static_cast<int>(word.size()) - 1, word));
    }
  }
  return ReadStatus::ok;
}

}  // namespace rec
