// Internal records: a character string is the record. A write fills it from
// its first character and pads the rest with blanks; a read sees exactly the
// string as one record, so a format that needs a second record is an error.
#include <string>

#include "common/read_statement.hpp"
#include "common/records.hpp"
#include "common/report.hpp"

namespace rec {

void write_internal(std::string& target, const Format& fmt, std::initializer_list<OutItem> items) {
  write_internal(target, fmt, std::span<const OutItem>(items.begin(), items.size()));
}

void write_internal(std::string& target, const Format& fmt, std::span<const OutItem> items) {
  Encoded encoded;
  encode(fmt, items, encoded);
  if (encoded.records.size() > 1 || encoded.records.front().size() > target.size()) {
    throw RecordError(" Internal write with format " + fmt.text() + " does not fit its record of " +
                      std::to_string(target.size()) + " characters");
  }
  const std::string& rec = encoded.records.front();
  target.replace(0, rec.size(), rec);
  for (std::size_t k = rec.size(); k < target.size(); ++k) target[k] = ' ';
}

void read_internal(std::string_view record, const Format& fmt, std::initializer_list<InItem> items,
                   Where where) {
  read_internal(record, fmt, std::span<const InItem>(items.begin(), items.size()), where);
}

void read_internal(std::string_view record, const Format& fmt, std::span<const InItem> items, Where where) {
  SingleRecord source(record, where);
  if (read_formatted(fmt, items, source) == ReadStatus::end) {
    throw RecordError(" Format " + fmt.text() + " reads past the end of " + describe(where));
  }
}

ReadStatus read_free_internal(std::string_view record, std::initializer_list<InItem> items, Where where) {
  return read_free_internal(record, std::span<const InItem>(items.begin(), items.size()), where);
}

ReadStatus read_free_internal(std::string_view record, std::span<const InItem> items, Where where) {
  SingleRecord source(record, where);
  return read_free_form(items, source);
}

}  // namespace rec
