// The two window tables this program rates, told apart by their first lines:
// a table76 (a title line, then rows (a8,1x,f7.2,1x,f6.2) of label, centre
// and width) and a table81, the recommended windows (the header of the line
// tables, its column heading, then rows that give each window by its lower
// and upper edge). A table81 window is rated as the table76 row of the same
// label, centre and width would be.
#pragma once

#include <string>
#include <string_view>

#include "common/records.hpp"
#include "kormal/window.hpp"

namespace kormal {

enum class TableKind { table76, table81 };

// The column heading of a table81, whole.
inline constexpr std::string_view kTable81Heading =
    "rank name         lower     upper points   dofs  jdofs    total%    noise%   smooth%   interf%     temp%";
inline constexpr int kTable81RowLength = 104;  // characters of a table81 row, as wide as its heading

// The head of a window table: its kind, the first kHeaderLength characters
// of the line that microwin starts with (a table76's title, a table81's
// column heading), and the record of its first row.
struct WindowTableHead {
  TableKind kind = TableKind::table76;
  std::string header;
  int first_row = 2;
};

// The name of a kind as kormal.log keys it: "table76" or "table81".
std::string_view table_key(TableKind kind);

// Reads the head of the window table from `in`, which is at its start. A
// first record whose first word is an integer makes the file a table81: that
// integer is the header count nhead (1 to 46), records nhead + 1 and nhead + 2
// are blank and record nhead + 3 is kTable81Heading (trailing blanks aside).
// Any other first record is a table76's title. Throws rec::RecordError for an
// empty file, or for a file that begins as a table81 and is none, naming the
// file and what was expected.
WindowTableHead read_window_table_head(rec::TextReader& in);

// Decodes a table81 row: the label (columns 6-13) and the window's edges
// (columns 15-23 and 25-33, cm-1); its other fields are not read. The edges
// are taken to 0.001 cm-1, as the table gives them, and make the centre (their
// mean) and the width (their difference) exactly as a table76 row holding
// those decimals would read; the row of the result is that table76 row, with
// centre and width to 0.01 cm-1. Throws rec::RecordError, naming `where`, for
// a row that is not kTable81RowLength characters long (trailing blanks
// aside), an unreadable or non-finite edge, an edge beyond 99999.999 cm-1 or
// an upper edge below the lower.
WindowRecord decode_table81_window(std::string_view row, rec::Where where);

}  // namespace kormal
