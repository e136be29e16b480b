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

// An open table71 past its header lines (a table shorter than that is read
// to its end). Rows are read free form, so a row gives the leading values
// its caller asks for.
class Table71Reader {
 public:
  // Throws rec::RecordError for a missing file or an unreadable header line.
  explicit Table71Reader(const std::string& path);
  // The next row into `items`; end after the last row. Throws
  // rec::RecordError for an unreadable value.
  rec::ReadStatus next(std::initializer_list<rec::InItem> items) { return in_.read_free(items); }
  void close() { in_.close(); }

 private:
  rec::TextReader in_;
};

// Reads at most kMaxTableSamples rows of `table71` (five values each) into
// `samples`; further rows are not read. The difference becomes the
// sensitivity |difference / (tfactor - 1)|; `tfactor` differs from 1 (the
// deck refuses 1 for line finding). Throws rec::RecordError for a missing
// file or an unreadable value.
void read_target_samples(const std::string& table71, float tfactor, TargetSamples& samples);

// Reads wavenumber and all-gases value of at most kMaxTableSamples rows of
// `table71` (four values each). Throws rec::RecordError for a missing file or
// an unreadable value.
void read_window_samples(const std::string& table71, WindowSamples& samples);

}  // namespace tesk
