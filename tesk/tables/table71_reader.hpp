// Reading table71 back: the spectra of a run, after three header lines, one
// row per grid point (wavenumber, target, other gases, all gases and, for the
// difference studies, all gases minus the scaled spectrum). Line finding and
// the interferogram read it through this one reader.
#pragma once

#include <initializer_list>
#include <string>

#include "common/records.hpp"
#include "tesk/linefind/samples.hpp"

namespace tesk {

// table71 starts with its column count, its units and its column header.
inline constexpr int kTable71HeaderLines = 3;

// Values per row: every study writes wavenumber, target, other gases and all
// gases; studies i and d add the difference of all gases and the scaled
// spectrum.
inline constexpr int kSpectrumColumns = 4;
inline constexpr int kDifferenceColumns = 5;

// An open table71 past its header lines (a table shorter than that is read
// to its end). The first header line gives the values per row, and the
// caller says how many it reads: rows are read free form, so a row that held
// fewer would run on into the next one.
class Table71Reader {
 public:
  // Throws rec::RecordError for a missing file, a first line without the
  // column count, or a count below `columns`, the values the caller reads
  // from each row; the report names the file and what it holds.
  Table71Reader(const std::string& path, int columns);
  // The next row into `items` (at most `columns` of them); end after the
  // last row. Throws rec::RecordError for an unreadable value or for a last
  // row that is shorter than the table's rows and has no line end (the file
  // was cut while it was written).
  rec::ReadStatus next(std::initializer_list<rec::InItem> items);
  void close() { in_.close(); }

 private:
  rec::TextReader in_;
};

// Reads every row of `table71` (five values each) into `samples`. The
// difference becomes the sensitivity |difference / (tfactor - 1)|; `tfactor`
// differs from 1 (the deck refuses 1 for line finding). Throws
// rec::RecordError as Table71Reader does: a missing file, a table of four
// columns, an unreadable value, a cut last row.
void read_target_samples(const std::string& table71, float tfactor, TargetSamples& samples);

// Reads wavenumber and all-gases value of every row of `table71` (four values
// each). Throws rec::RecordError as Table71Reader does.
void read_window_samples(const std::string& table71, WindowSamples& samples);

}  // namespace tesk
