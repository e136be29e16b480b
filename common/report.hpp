// The one-line reports of the file and record layer. Each names the file, the
// record and, for a field, its columns and the text found, so that a user can
// mend the input from that line alone. They start with a blank, as the
// programs' own messages do, and are thrown as RecordError.
#pragma once

#include <string>
#include <string_view>

#include "common/records.hpp"

namespace rec {

// "record 7 of input-vorne", "input-vorne" (record 0), "an internal record".
std::string describe(const Where& where);

// " Unreadable integer in record 7 of input-vorne, columns 1-2: found "x1"".
// `what` is "integer" or "real number"; columns are those of the file record.
// Control characters of the text found show as '?'.
std::string unreadable_report(std::string_view what, const Where& where, int first_column, int last_column,
                              std::string_view found);

// A file that cannot be opened, created or written; `error` is the errno value.
std::string open_report(std::string_view path, int error);
std::string create_report(std::string_view path, int error);
std::string write_report(std::string_view path, int error);

}  // namespace rec
