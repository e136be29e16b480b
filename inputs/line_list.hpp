// Line list access for both programs: fixed-length records of a
// HITRAN-layout file, sorted by line position, found by bisection over the
// file opened for direct access. The list is never loaded whole; a spectral
// interval or window reads only the records that can reach it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/records.hpp"

namespace inputs {

// One decoded line of the list, after renumbering into program gas numbers.
struct LineRecord {
  int gas = 0;               // program gas number (list number for type `a`)
  int isotope = 0;           // 1 = most abundant; 0, A, B of 160-character lists read as 10, 11, 12
  double position = 0.0;     // cm-1, vacuum, unshifted
  double intensity = 0.0;    // cm-1/(molecule cm-2) at 296 K
  float air_width = 0.0f;    // Lorentz HWHM at 296 K and 1 atm, cm-1 atm-1
  double lower_energy = 0.0; // E'', cm-1
  float temp_exponent = 0.0f;  // n of the half width's temperature dependence
};

// Where a record came from, for reports about its contents.
struct RecordOrigin {
  std::string_view file;
  int record = 0;
};

// Decodes the columns of one record that the programs use: molecule (1-2),
// isotope (3), position (4-15), intensity (16-25), air width (36-40), E''
// (46-55), temperature exponent (56-59). Everything else may hold anything.
// Throws rec::RecordError, naming file, record and columns, for an unreadable field.
LineRecord decode_line_record(std::string_view record, RecordOrigin origin);

// Decodes a record and, for database type 'h', renumbers it
// (hitran_to_internal_gas of molecules.hpp). Returns false for a line that is
// skipped.
bool read_line(std::string_view record, char dbtype, RecordOrigin origin, LineRecord& line);

// Counts the records of a line list by reading it sequentially (status OLD),
// checking on the way that positions never decrease. Throws rec::RecordError
// for a missing file or an unsorted list.
int count_records(const std::string& path);

// The precision in which the bisection reads a record's position and
// compares it: the line-finding program probes in 32 bits, the
// interfering-gas program in 64. The two can differ by a record at a boundary.
enum class Probe { single, double_precision };

// A line list opened for direct access with the deck's record length and
// record count. Throws rec::RecordError when the file is missing, when its
// first record does not end exactly at the record length, and when a record
// beyond the end of the file is read.
class LineList {
 public:
  LineList(const std::string& path, int reclen, int nrec, char dbtype, Probe probe = Probe::single);

  // The number of the last record whose position is strictly below
  // `wavenumber`; 0 if there is none. With Probe::single both sides are
  // 32-bit floats (the wavenumber is rounded to one first). About log2(nrec)
  // reads.
  int locate_wavenumber(double wavenumber);

  // Records first..last of the lines that can reach [nu_start, nu_end], each
  // line widened by `cutoff` cm-1: first = locate(nu_start - cutoff) + 1,
  // last = locate(nu_end + cutoff), the limits formed in the probe's
  // precision. Empty when last < first.
  struct Range {
    int first = 1;
    int last = 0;
    bool empty() const { return last < first; }
  };
  Range record_range(double nu_start, double nu_end, double cutoff);

  // The raw record `recno` (1..nrec).
  std::string_view raw_record(int recno);

  // Reads records first..last in order and hands every line that is not
  // skipped to `use`. Throws rec::RecordError when a position decreases (the
  // list is not sorted) or a field is unreadable.
  void for_each_line(Range range, const std::function<void(const LineRecord&)>& use);

 private:
  std::string path_;
  rec::DirectFile file_;
  int nrec_;
  char dbtype_;
  Probe probe_;
  long long size_ = 0;  // bytes of the file
};

}  // namespace inputs
