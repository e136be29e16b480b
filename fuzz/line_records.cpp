// Fuzz target: line records and the line list. The first record of the input
// is decoded alone, as both database types; then the whole input is a line
// list: counted, opened for direct access with the length of its first
// record, searched by bisection in both precisions and read over a range.
// Bits of the first byte choose the database type and the range.
#include "fuzz_support.hpp"
#include "inputs/line_list.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in = fuzzing::bytes(data, size);
  const unsigned sel = fuzzing::take_byte(in);
  const char dbtype = (sel & 1u) ? 'a' : 'h';

  const std::string_view first = in.substr(0, in.find('\n'));
  fuzzing::expect_clean_end([&] {
    inputs::LineRecord line;
    inputs::read_line(first, 'h', inputs::RecordOrigin{"fuzz-lines", 1}, line);
    inputs::read_line(first, 'a', inputs::RecordOrigin{"fuzz-lines", 1}, line);
  });

  const std::string path = fuzzing::WorkDir::get().write("lines", in);
  const std::size_t eol = in.find('\n');
  const int reclen = static_cast<int>(eol == std::string_view::npos ? in.size() : eol + 1);
  if (reclen <= 0) return 0;
  fuzzing::expect_clean_end([&] {
    const int nrec = inputs::count_records(path);
    for (inputs::Probe probe : {inputs::Probe::single, inputs::Probe::double_precision}) {
      inputs::LineList list(path, reclen, nrec, dbtype, probe);
      const double centre = 500.0 + 500.0 * static_cast<double>((sel >> 1) & 7u);
      const inputs::LineList::Range range = list.record_range(centre, centre + 10.0, (sel & 0x10u) ? 25.0 : 1.0);
      int kept = 0;
      list.for_each_line(range, [&](const inputs::LineRecord&) { ++kept; });
      (void)list.locate_wavenumber(-1.0e300);
      (void)list.locate_wavenumber(1.0e300);
    }
  });
  return 0;
}
