// Formatted and free-form read statements over any record source. Each starts
// at a new record. End of data is returned, never thrown; the items not yet
// read keep their values. An unreadable number throws RecordError naming the
// file, record, columns and the text found. No console access.
#pragma once

#include <span>

#include "common/record_source.hpp"
#include "common/records.hpp"

namespace rec {

// Fields are taken by the format; a short record reads as if padded with
// blanks, "/" and format reversion move to the next record.
ReadStatus read_formatted(const Format& fmt, std::span<const InItem> items, RecordSource& source);

// Values separated by blanks, a comma or the end of a record, over as many
// records as the items need; the rest of the last record is skipped. With no
// items one record is skipped.
ReadStatus read_free_form(std::span<const InItem> items, RecordSource& source);

}  // namespace rec
