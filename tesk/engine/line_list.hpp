// Line list access: fixed-length records of a HITRAN-layout file, sorted by
// line position, found by bisection over the file opened for direct access.
// The list is never loaded whole; an interval reads only the records that can
// reach it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/records.hpp"

namespace tesk {

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

// The program gas number of a line of a type-`h` list (HITRAN molecule
// numbers), or 0 when the line is skipped. May set `isotope` (the deuterated
// water isotope becomes gas 49, isotope 1).
int hitran_to_internal_gas(int molecule, int& isotope);

// Decodes a record and, for database type 'h', renumbers it. Returns false for
// a line that is skipped.
bool read_line(std::string_view record, char dbtype, RecordOrigin origin, LineRecord& line);

// Counts the records of a line list by reading it sequentially (status OLD),
// checking on the way that positions never decrease. Throws rec::RecordError
// for a missing file or an unsorted list.
int count_records(const std::string& path);

// A line list opened for direct access with the deck's record length and
// record count. Throws rec::RecordError when the file is missing, when its
// first record does not end exactly at the record length, and when a record
// beyond the end of the file is read.
class LineList {
 public:
  LineList(const std::string& path, int reclen, int nrec, char dbtype);

  int record_count() const { return nrec_; }

  // The number of the last record whose position, read as a 32-bit float, is
  // strictly below `wavenumber`; 0 if there is none. About log2(nrec) reads.
  int locate_wavenumber(float wavenumber);

  // Records first..last of the lines that can reach [nu_start, nu_end], each
  // line widened by `cutoff` cm-1: first = locate(nu_start - cutoff) + 1,
  // last = locate(nu_end + cutoff). Empty when last < first.
  struct Range {
    int first = 1;
    int last = 0;
    bool empty() const { return last < first; }
  };
  Range record_range(float nu_start, float nu_end, float cutoff);

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
};

}  // namespace tesk
