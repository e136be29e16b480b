// Fuzz target: the tables that the line finding reads back, table71 to
// table75, as a sort run reads them. The first byte chooses the table
// (71 + byte % 5); the rest of the input becomes that table, and the line
// finding runs from the step that reads it to table76, each later step
// reading what the one before wrote. The other inputs are small valid files
// made once: the deck echo, a line list of CO lines and a table71 whose
// spectrum dips at them, and table72 to table75 made from those.
#include <cmath>
#include <memory>

#include "fuzz_support.hpp"
#include "tesk/linefind/line_finding.hpp"
#include "tesk/linefind/line_rating.hpp"
#include "tesk/linefind/ranking.hpp"
#include "tesk/linefind/target_lines.hpp"
#include "tesk/linefind/window_merging.hpp"
#include "tesk/linefind/window_optimisation.hpp"
#include "tesk/tables/table71_reader.hpp"

namespace {

constexpr double kLinePositions[] = {2100.2, 2100.55, 2100.9, 2101.3, 2101.7};

struct Fixture {
  tesk::LineFindSettings settings;
  tesk::LineFindFiles files;   // the valid tables
  tesk::LineFindFiles fuzzed;  // the same names with "f" in front, written by the run
  std::string table71, table72, table73, table74, table75;  // valid contents
  std::unique_ptr<tesk::TargetSamples> samples = std::make_unique<tesk::TargetSamples>();
  fuzzing::QuietConsole console;
};

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string spectrum_table() {
  std::string t = "3 5\r\n cm-1\r\n wavenumber target other all difference\r\n";
  char row[160];
  for (int j = 0; j <= 200; ++j) {
    const double nu = 2100.0 + 0.01 * j;
    double target = 1.0;
    for (double p : kLinePositions) target *= 1.0 - 0.5 * std::exp(-std::pow((nu - p) / 0.02, 2));
    const double other = 0.9 + 0.05 * std::sin(nu * 7.0);
    std::snprintf(row, sizeof row, " %10.4f %12.6f %12.6f %12.6f %14.6E\r\n", nu, target, other, target * other,
                  (1.0 - target) * 0.1 * other);
    t += row;
  }
  return t;
}

// The samples of files.table71, read as run control reads them.
tesk::SampleReaders readers(const tesk::LineFindFiles& files, float tfactor) {
  return {[=](tesk::TargetSamples& t) { tesk::read_target_samples(files.table71, tfactor, t); },
          [=](tesk::WindowSamples& w) { tesk::read_window_samples(files.table71, w); }};
}

Fixture& fixture() {
  static Fixture f = [] {
    Fixture x;
    fuzzing::WorkDir& dir = fuzzing::WorkDir::get();
    std::string lines;
    for (double p : kLinePositions) lines += fuzzing::line_record(5, 1, p, 1.0e-19, 100.0 + p - 2100.0);
    lines += fuzzing::line_record(2, 1, 2101.8, 1.0e-21, 300.0);
    dir.write("lines", lines);
    dir.write("output", "3  header lines\r\nlines\r\n  \r\nc\r\n");
    x.table71 = spectrum_table();
    dir.write("table71", x.table71);

    tesk::LineFindSettings& s = x.settings;
    s.gasno = 5;
    s.gasname = "co     ";
    s.line_list = dir.file("lines");
    s.reclen = 101;
    s.nrec = 6;
    s.dbtype = tesk::LineDatabase::hitran;
    s.vlo = 2100.0f;
    s.vhi = 2102.0f;
    s.tfactor = 0.9f;
    s.interfw = 0.1f;
    s.tsens = 250.0f;
    s.winstart = 0.3f;
    s.wincentre = 0.05f;
    s.maxwidth = 1.0f;
    s.tsenslim = 1.0f;
    s.maxwin = 10;
    x.files = tesk::LineFindFiles{dir.file("output"),  dir.file("table71"), dir.file("table72"),
                                  dir.file("table73"), dir.file("table74"), dir.file("table75"),
                                  dir.file("table76")};
    x.fuzzed = tesk::LineFindFiles{dir.file("output"),   dir.file("ftable71"), dir.file("ftable72"),
                                   dir.file("ftable73"), dir.file("ftable74"), dir.file("ftable75"),
                                   dir.file("ftable76")};
    tesk::find_lines(s, x.files, readers(x.files, s.tfactor), x.console.get());
    x.table72 = read_all(x.files.table72);
    x.table73 = read_all(x.files.table73);
    x.table74 = read_all(x.files.table74);
    x.table75 = read_all(x.files.table75);
    tesk::read_target_samples(x.files.table71, s.tfactor, *x.samples);
    return x;
  }();
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Fixture& f = fixture();
  fuzzing::WorkDir& dir = fuzzing::WorkDir::get();
  std::string_view in = fuzzing::bytes(data, size);
  const int table = 71 + static_cast<int>(fuzzing::take_byte(in) % 5);
  const tesk::LineFindFiles& n = f.fuzzed;
  // The valid tables before the fuzzed one, the fuzzed one, and the run from there.
  dir.write("ftable71", table == 71 ? in : std::string_view(f.table71));
  dir.write("ftable72", table == 72 ? in : std::string_view(f.table72));
  dir.write("ftable73", table == 73 ? in : std::string_view(f.table73));
  dir.write("ftable74", table == 74 ? in : std::string_view(f.table74));
  dir.write("ftable75", table == 75 ? in : std::string_view(f.table75));
  f.console.clear();
  rec::Console& console = f.console.get();
  fuzzing::expect_clean_end([&] {
    switch (table) {
      case 71:
        tesk::find_lines(f.settings, n, readers(n, f.settings.tfactor), console);
        break;
      case 72:
        tesk::rate_target_lines(f.settings, n, *f.samples, console);
        [[fallthrough]];
      case 73:
        tesk::rank_lines(f.settings, n, console);
        [[fallthrough]];
      case 74: {
        auto samples = std::make_unique<tesk::WindowSamples>();
        tesk::read_window_samples(n.table71, *samples);
        tesk::optimise_windows(f.settings, n, *samples, console);
      }
        [[fallthrough]];
      default:
        tesk::combine_windows(f.settings, n, console);
        break;
    }
  });
  return 0;
}
