#include "inputs/line_list.hpp"

#include <cstdio>
#include <filesystem>
#include <string>

#include "common/run_files.hpp"
#include "inputs/molecules.hpp"

namespace inputs {
namespace {

// Only the fields the programs use; the self width (41-45), the shift and the
// quantum indices (60-73) are skipped so that whatever they hold cannot stop a run.
const rec::Format kLineFields("(i2,a1,f12.6,e10.3,10x,f5.4,5x,f10.4,f4.2)");
// The bisection probe and the sort check read the position alone, into a
// 32-bit or a 64-bit value.
const rec::Format kProbe("(3x,f12.6)");
// Columns a record must have for every field above.
constexpr std::size_t kUsedColumns = 59;

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// The isotope column of 160-character lists numbers isotopologues 10, 11 and
// 12 as 0, A and B.
int decode_isotope(char c, RecordOrigin origin) {
  if (c >= '1' && c <= '9') return c - '0';
  if (c == ' ') return 0;
  if (c == '0') return 10;
  if (c == 'A' || c == 'a') return 11;
  if (c == 'B' || c == 'b') return 12;
  rec::record_error(" Unreadable isotope in record " + std::to_string(origin.record) + " of " +
                    std::string(origin.file) + ", column 3: found " + quoted(std::string_view(&c, 1)));
}

std::string_view used_part(std::string_view record) {
  // Drop the line end: a record read by direct access carries its terminator.
  std::size_t end = record.find_first_of("\r\n");
  if (end != std::string_view::npos) record = record.substr(0, end);
  return record.substr(0, std::min(record.size(), kUsedColumns));
}

double decode_position(std::string_view record, RecordOrigin origin) {
  double v = 0.0;
  rec::read_internal(used_part(record), kProbe, {&v}, rec::Where{origin.file, origin.record});
  return v;
}

[[noreturn]] void unsorted(std::string_view file, int recno, double pos, double previous) {
  char text[160];
  std::snprintf(text, sizeof text, " Line list %.*s is not sorted by position: record %d (%.6f) lies below record %d (%.6f)",
                static_cast<int>(file.size()), file.data(), recno, pos, recno - 1, previous);
  rec::record_error(text);
}

// Length of the first record, line end included, or -1 for an empty file.
long first_record_length(const std::string& path) {
  std::FILE* f = rec::open_input(path);
  if (f == nullptr) rec::record_error(" Cannot open line list " + path + " (file not found)");
  long n = 0;
  int c;
  while ((c = std::fgetc(f)) != EOF) {
    ++n;
    if (c == '\n') break;
  }
  std::fclose(f);
  return n == 0 ? -1 : n;
}

}  // namespace

LineRecord decode_line_record(std::string_view record, RecordOrigin origin) {
  LineRecord line;
  std::string iso(1, ' ');
  rec::read_internal(used_part(record), kLineFields,
                     {&line.gas, &iso, &line.position, &line.intensity, &line.air_width,
                      &line.lower_energy, &line.temp_exponent},
                     rec::Where{origin.file, origin.record});
  line.isotope = decode_isotope(iso[0], origin);
  return line;
}

bool read_line(std::string_view record, char dbtype, RecordOrigin origin, LineRecord& line) {
  line = decode_line_record(record, origin);
  if (dbtype == 'h') {
    line.gas = hitran_to_internal_gas(line.gas, line.isotope);
    if (line.gas == 0) return false;
  }
  return true;
}

int count_records(const std::string& path) {
  rec::TextReader reader(path);
  std::string record;
  int n = 0;
  double previous = 0.0;
  while (reader.next_record(record) == rec::ReadStatus::ok) {
    ++n;
    double pos = decode_position(record, RecordOrigin{path, n});
    if (n > 1 && pos < previous) unsorted(path, n, pos, previous);
    previous = pos;
  }
  reader.close();
  return n;
}

LineList::LineList(const std::string& path, int reclen, int nrec, char dbtype, Probe probe)
    : path_(path), file_(path, reclen), nrec_(nrec), dbtype_(dbtype), probe_(probe) {
  std::error_code error;
  size_ = static_cast<long long>(std::filesystem::file_size(path, error));
  long found = first_record_length(path);
  if (found > 0 && found != reclen) {
    rec::record_error(" Line list " + path + ": record length " + std::to_string(reclen) +
                      " given, but its first record is " + std::to_string(found) +
                      " characters long, line end included");
  }
}

std::string_view LineList::raw_record(int recno) {
  if (recno > file_.records_in_file()) {
    rec::record_error(" Line list " + path_ + ": record " + std::to_string(recno) +
                      " is beyond its end; the deck gives " + std::to_string(nrec_) +
                      " records, the file holds " + std::to_string(file_.records_in_file()));
  }
  std::string_view record = file_.record(recno);
  // Every record but a last one without its terminator ends in a line end
  // at the record length: a record of another length shifts all after it,
  // and a last record cut short would read its missing fields as zero.
  const bool last = recno == file_.records_in_file();
  const long long last_length = size_ - static_cast<long long>(recno - 1) * file_.reclen();
  if (last ? last_length < file_.reclen() - 2 : record.back() != '\n') {
    rec::record_error(" Line list " + path_ + ": record " + std::to_string(recno) +
                      (last ? " is cut short, " + std::to_string(last_length) + " of " + std::to_string(file_.reclen()) +
                                  " characters"
                            : " does not end at the record length " + std::to_string(file_.reclen()) +
                                  ": a record before it or this one has another length"));
  }
  return record;
}

int LineList::locate_wavenumber(double wavenumber) {
  const float wavenumber32 = static_cast<float>(wavenumber);
  int lo = 0;
  int hi = nrec_ + 1;
  while (hi - lo > 1) {
    int mid = (hi + lo) / 2;
    bool below = false;
    if (probe_ == Probe::single) {
      float v = 0.0f;
      rec::read_internal(used_part(raw_record(mid)), kProbe, {&v}, rec::Where{path_, mid});
      below = wavenumber32 > v;
    } else {
      double v = 0.0;
      rec::read_internal(used_part(raw_record(mid)), kProbe, {&v}, rec::Where{path_, mid});
      below = wavenumber > v;
    }
    if (below) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return lo;
}

LineList::Range LineList::record_range(double nu_start, double nu_end, double cutoff) {
  Range r;
  if (probe_ == Probe::single) {
    const float start = static_cast<float>(nu_start), end = static_cast<float>(nu_end);
    const float cut = static_cast<float>(cutoff);
    r.first = locate_wavenumber(start - cut) + 1;
    r.last = locate_wavenumber(end + cut);
  } else {
    r.first = locate_wavenumber(nu_start - cutoff) + 1;
    r.last = locate_wavenumber(nu_end + cutoff);
  }
  return r;
}

void LineList::for_each_line(Range range, const std::function<void(const LineRecord&)>& use) {
  double previous = 0.0;
  LineRecord line;
  for (int r = range.first; r <= range.last; ++r) {
    bool kept = read_line(raw_record(r), dbtype_, RecordOrigin{path_, r}, line);
    if (r > range.first && line.position < previous) unsorted(path_, r, line.position, previous);
    previous = line.position;
    if (kept) use(line);
  }
}

}  // namespace inputs
