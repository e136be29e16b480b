// The line-finding program on broken inputs: every input file kind through a
// table of corruptions. Each run ends by itself within seconds, with a
// one-line report that names the file and an exit status of 1 (a stop) or 2
// (the file layer), or normally where the content is still valid; the files
// of an earlier step stay as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bad_input_fixture.hpp"
#include "deck_fixture.hpp"
#include "program_run.hpp"

namespace {

using namespace bad_input;
using testing_support::WorkDir;

// The example's CO study cut down to 2145-2149 cm-1 at 0.01 cm-1 without
// convolution: a complete line-finding run takes a fraction of a second.
std::vector<std::string> deck_lines(char runmode) {
  std::vector<std::string> d = e2e::valid_deck();
  const auto line = [&d](int n, std::string text) { d[static_cast<std::size_t>(n - 1)] = std::move(text); };
  line(1, "5          lines of this deck that head the line tables");
  line(5, std::string(1, runmode) + "          run mode");
  line(7, "0          records of the line list (0: count them)");
  line(8, "y          solar spectrum");
  line(9, "d          study");
  line(17, "2145.      vlo");
  line(18, "2149.      vhi");
  line(26, "g30.       geometry and zenith angle");
  line(28, "0.01       grid");
  line(44, "table71");
  line(45, "1 4");
  return d;
}

std::string deck(char runmode) { return e2e::deck_text(deck_lines(runmode)); }

const std::vector<std::string> kTables = {"table70", "table71", "table72", "table73", "table74",
                                          "table75", "table76", "table77", "table78", "table90"};

// The inputs and the tables of one complete line-finding run.
struct Baseline {
  FileSet files;
  int line_record = 0;  // a record of the line list inside the range
};

const Baseline& baseline() {
  static const Baseline b = [] {
    Baseline b;
    WorkDir dir;
    example::write_example_files(dir.path().string());
    dir.write("input-vorne", deck('c'));
    Outcome r = run_bounded(dir, LF_TESK_BIN);
    EXPECT_EQ(r.status, 0) << r.console;
    std::vector<std::string> names = kTables;
    for (const char* n : {"lines.hit", "midlat.mod", "midlat.vmr", "solar.dat", "output"}) names.push_back(n);
    b.files = read_files(dir, names);
    auto recs = records_of(b.files["lines.hit"]);
    for (std::size_t i = 0; i < recs.size(); ++i) {
      if (std::stod(recs[i].substr(3, 12)) > 2147.0) {
        b.line_record = static_cast<int>(i) + 1;
        break;
      }
    }
    return b;
  }();
  return b;
}

// Runs the program in run mode `runmode` on the baseline with `file`
// corrupted. Files the run does not write must keep their bytes; a normal end
// of a changed but valid input must find the same microwindows.
void run_case(char runmode, const std::string& file, const Case& c) {
  SCOPED_TRACE(file + ": " + c.name);
  if (std::getenv("LF_SHOW_CASES")) std::printf("%s: %s\n", file.c_str(), c.name.c_str());
  const Baseline& b = baseline();
  WorkDir dir;
  FileSet files = b.files;
  files["input-vorne"] = deck(runmode);
  write_files(dir, files);
  apply(dir, file, c.corruption);
  // A sort run writes the line-finding tables again; table70 and table71 are
  // the earlier step's.
  std::vector<std::string> written = {"output", "table72", "table73", "table74", "table75",
                                      "table76", "table77", "table78", "table90"};
  if (runmode == 'c') written.insert(written.end(), {"table70", "table71"});
  const FileSet before = read_files(dir, {"table70", "table71", "lines.hit", "midlat.mod", "midlat.vmr", "solar.dat"});

  Outcome r = run_bounded(dir, LF_TESK_BIN);
  expect_clean_end(r, c.status, c.words, c.detail);
  // A run that stops leaves even the tables it would write as they were.
  const bool wrote = r.exited && r.status == 0;
  for (const auto& [name, content] : before) {
    if ((wrote && std::find(written.begin(), written.end(), name) != written.end()) || name == file) continue;
    EXPECT_EQ(dir.read(name), content) << name << " changed";
  }
  if (c.status == 0 && r.status == 0 && c.same) {
    EXPECT_EQ(dir.read("table76"), b.files.at("table76"));
  }
}

void run_table(char runmode, const std::string& file, const std::vector<Case>& cases) {
  for (const Case& c : cases) run_case(runmode, file, c);
}

std::vector<Case> common_cases(const std::string& file, Field number, int last) {
  return bad_input::common_cases(file, baseline().files.at(file), number, last);
}

TEST(BadInputTesk, Deck) {
  const std::string t = deck('c');
  auto line = [&](int n, const std::string& answer) { return text(set_record(t, n, answer)); };
  std::vector<Case> cases = {
      {"missing", missing(), 2, {"input-vorne"}},
      {"empty", text(""), 2, {"input-vorne"}},
      {"directory", directory(), 2, {"input-vorne"}},
      {"truncated", text(truncated_in(t, 20)), 2, {"input-vorne"}},
      {"binary bytes", line(17, std::string("\x01\xff\x00", 3)), 2, {"input-vorne", "Unreadable"}},
      {"CR LF", text(to_crlf(t)), 0, {}},
      {"no final newline", text(without_final_newline(t)), 0, {}},
      {"comment of 1000 characters", text(lengthened(t, 17, 1000)), 0, {}},
      {"input path of 200 characters", line(3, std::string(200, 'p')), 1, {"Path and name for input data to long"}},
      {"line list name of 1000 characters", line(2, std::string(1000, 'p')), 1, {"Path and name for spectral database to long"}},
      {"integer overflow", line(7, "99999999999"), 2, {"input-vorne", "99999999999"}},
      {"real overflow", line(17, "1e39"), 1, {"line 17 of input-vorne", "finite number", "1e39"}},
      {"nan", line(17, "nan"), 1, {"line 17 of input-vorne", "finite number", "nan"}},
      {"inf", line(28, "inf"), 1, {"line 28 of input-vorne", "finite number", "inf"}},
      {"negative record count", line(7, "-5"), 1, {"line 7 of input-vorne", "record count must be 0 or more"}},
      {"record count above the file's", line(7, "100000"), 2, {"lines.hit", "beyond its end"}},
      {"wrong record length", line(6, "hitran 100"), 2, {"lines.hit", "record length"}},
      {"negative grid", line(28, "-0.01"), 1, {"line 28 of input-vorne"}},
      // 21 intervals are no limit; a field of view that makes the first one's
      // transform pass 2^20 points is, and stops the run before its line pass.
      {"field of view too wide for the convolution",
       text(set_record(set_record(set_record(set_record(t, 28, "0.0005"), 18, "2450."), 30, "50."), 31, "0.69")), 1,
       {" Increase nuber of spectral points mp in Convolution"}, true,
       " The line shape needs 2097152 transform points, at most 1048576 allowed: coarsen the grid (line 28) or narrow the field of view (line 31)."},
      {"kernel range above 1000 points", text(set_record(set_record(t, 9, "a"), 28, "0.001")), 1,
       {"Decrease spectral range (or increase grid)"}},
      {"range empty", line(18, "2145."), 1, {"Increase spect. range (or decrease grid)"}},
      {"fewer points than path levels", line(18, "2145.5"), 1, {"Increase spect. range (or decrease grid)"}},
      {"weighting functions over 30400 points", text(set_record(set_record(t, 9, "w"), 18, "2449.")), 1,
       {"Increase number of spectral points mp in TESK"}, true, 
       " One interval of 30400 grid steps; at most 30000 are allowed: narrow the range (lines 17 and 18) or coarsen the grid (line 28)."},
      {"input path beyond column 90", line(3, std::string(95, 'q')), 1, {"Path for input files to long"}},
      {"output path of 200 characters", line(4, std::string(200, 'q')), 1, {"Path and name for output tables to long"}},
      {"plot file name of 200 characters", line(44, std::string(200, 'q')), 1,
       {"Path and name for output plot file to long"}},
      {"limb path above the path levels", line(26, "s0."), 1, {" Increase nuber of altitude levels MLEV in TESK"}, true,
       
       " The path crosses 160 layer segments; at most 155 are allowed: raise the tangent altitude (line 26)."},
      {"field of view beyond the convolution length", text(set_record(set_record(t, 30, "1."), 31, "1000.")), 1,
       {" Increase nuber of spectral points mp in Convolution"}, true, 
       " The field of view alone needs more than 1048576 transform points: narrow it (line 31) or coarsen the grid (line 28)."},
      {"no noise", text(set_record(set_record(set_record(t, 9, "a"), 18, "2146."), 33, "0.")), 1,
       {" spectral covariance matrix is singular "}},
      {"no a-priori uncertainty", text(set_record(set_record(set_record(t, 9, "a"), 18, "2146."), 34, "0.")), 1,
       {" appriori covariance matrix is singular "}},
      {"plot column above 100", text(set_record(set_record(set_record(t, 5, "d"), 43, "y"), 45, "1 101")),
       1, {"Increase No. of columns for display program"}, true,
       " Columns 1 and 101 of the plot file asked for; a plot takes columns 1 to 100: change line 45 of the deck."},
  };
  run_table('c', "input-vorne", cases);
}

TEST(BadInputTesk, LineList) {
  const std::string& t = baseline().files.at("lines.hit");
  const int r = baseline().line_record;
  const Field position{r, 4, 12};
  std::vector<Case> cases = common_cases("lines.hit", position, r);
  // A fixed-length record of the wrong length shifts every record after it.
  cases[4] = {"CR LF", text(to_crlf(t)), 2, {"lines.hit", "record length"}};
  cases[6] = {"200 characters", text(edit_record(t, r, [](const std::string& b) { return b + std::string(100, 'x'); })), 2,
              {"lines.hit", "does not end at the record length"}};
  cases[7] = {"1000 characters", text(edit_record(t, r, [](const std::string& b) { return b + std::string(900, 'x'); })), 2,
              {"lines.hit", "does not end at the record length"}};
  cases[1] = {"empty", text(""), 0, {}, false};  // no line: tables with headers only
  cases[10] = {"overflow", text(set_field(t, position, "1e999")), 2, {"lines.hit", "Unreadable real number", "1e999"}};
  auto swapped = [&] {
    auto recs = records_of(t);
    std::swap(recs[static_cast<std::size_t>(r - 1)], recs[static_cast<std::size_t>(r)]);
    return joined(recs);
  };
  cases.push_back({"truncated", text(truncated_in(t, r)), 2, {"lines.hit", "cut short"}});
  cases.push_back({"unsorted", text(swapped()), 2, {"lines.hit", "not sorted"}});
  cases.push_back({"width overflows float", text(set_field(t, Field{r, 36, 5}, "9e99")), 2, {"lines.hit", "9e99"}});
  cases.push_back({"intensity overflows double", text(set_field(t, Field{r, 16, 10}, "1.0E+999")), 2, {"lines.hit"}});
  cases.push_back({"molecule not a number", text(set_field(t, Field{r, 1, 2}, "x5")), 2, {"lines.hit", "x5"}});
  run_table('c', "lines.hit", cases);
}

TEST(BadInputTesk, PressureTemperature) {
  const std::string& t = baseline().files.at("midlat.mod");
  std::vector<Case> cases = common_cases("midlat.mod", Field{30, 1, 0}, 30);
  cases.push_back({"truncated", text(truncated_in(t, 30)), 1, {"Pressure-temperature profile midlat.mod"}});
  cases.push_back({"negative header count", text(set_field(t, Field{1, 1, 0}, "-5")), 2, {"midlat.mod"}});
  cases.push_back({"header count above the file's", text(set_field(t, Field{1, 1, 0}, "500")), 2,
                   {"midlat.mod", "holds no level after its header"}});
  cases.push_back({"header count overflows", text(set_field(t, Field{1, 1, 0}, "99999999999")), 2, {"midlat.mod"}});
  std::string deep = "1\n";
  for (int k = 0; k <= 10000; ++k) deep += " 1000. 250. " + std::to_string(k * 10) + ".\n";
  cases.push_back({"10000 levels", text(deep), 1, {"Increase nuber of input altitude levels NUM in TESK"}, true, 
       " The file midlat.mod holds more than 9999 levels, the most allowed: thin its levels or choose another atmosphere (line 15)."});
  cases.push_back({"temperature nan", text(set_field(t, Field{30, 14, 0}, "nan")), 2, {"midlat.mod", "nan"}});
  run_table('c', "midlat.mod", cases);
}

TEST(BadInputTesk, MixingRatios) {
  const std::string& t = baseline().files.at("midlat.vmr");
  // A level is 9 records, level 20 starts at record 6 + 20 * 9.
  const int level = 6 + 20 * 9;
  std::vector<Case> cases = common_cases("midlat.vmr", Field{level + 1, 1, 0}, level + 8);
  cases.push_back({"truncated", text(truncated_in(t, level + 3)), 1, {}});
  cases.push_back({"negative column count", text(set_field(t, Field{1, 3, 0}, "-3")), 1, {"midlat.vmr"}});
  cases.push_back({"column count above the limit", text(set_field(t, Field{1, 3, 0}, "500")), 1,
                   {"Increase nuber of gases MGAS in FTESK"}, true, 
       " The file midlat.vmr holds 499 gas columns; at most 120 are allowed: remove columns or choose another atmosphere (line 15)."});
  cases.push_back({"header count above the file's", text(set_field(t, Field{1, 1, 0}, "5000")), 1,
                   {"VMR profile not high enough"}});
  cases.push_back({"column count overflows", text(set_field(t, Field{1, 3, 0}, "4294967297")), 2, {"midlat.vmr"}});
  std::string many = "1 6\n";
  for (int k = 0; k <= 160; ++k) many += std::to_string(k) + ". 1e-6 1e-6 1e-6 1e-6 1e-7\n";
  cases.push_back({"160 levels", text(many), 1, {"Increase number of levels MLEV in FTESK"}, true, 
       " The file midlat.vmr holds more than 154 levels, the most allowed: thin its levels or choose another atmosphere (line 15)."});
  cases.push_back({"altitude inf", text(set_field(t, Field{level, 1, 0}, "inf")), 2, {"midlat.vmr", "inf"}});
  run_table('c', "midlat.vmr", cases);
}

TEST(BadInputTesk, SolarSpectrum) {
  const std::string& t = baseline().files.at("solar.dat");
  // The point at 2147 cm-1: (2147 - 2090) / 0.005 after the header pair.
  const int r = 2 + 11400;
  std::vector<Case> cases = common_cases("solar.dat", Field{r, 1, 0}, r);
  cases[1] = {"empty", text(""), 0, {}, false};  // a short file leaves the points unmultiplied
  cases.push_back({"truncated", text(truncated_in(t, r)), 0, {}, false});
  cases.push_back({"value nan", text(set_field(t, Field{r, 10, 0}, "nan")), 2, {"solar.dat", "nan"}});
  run_table('c', "solar.dat", cases);
}

// A sort run reads table71 of the complete run back; table70 and table71 must
// come through every failure unchanged.
TEST(BadInputTesk, SpectrumTableReadBack) {
  const std::string& t = baseline().files.at("table71");
  const int r = 200;
  std::vector<Case> cases = common_cases("table71", Field{r, 1, 0}, r);
  cases[1] = {"empty", text(""), 2, {"table71", "column count"}};
  cases.push_back({"no column count", text(set_record(t, 1, "3")), 2, {"table71", "no column count"}});
  cases[4] = {"LF", text(to_lf(t)), 0, {}};
  cases.push_back({"truncated", text(truncated_in(t, r)), 2, {"Record 200 of table71", "cut short"}});
  cases.push_back({"all gases nan", text(set_field(t, Field{r, 30, 0}, "nan")), 2, {"table71", "nan"}});
  run_table('s', "table71", cases);
}

// An interferogram of a table71 of 200000 rows: the rows size the transform.
TEST(BadInputTesk, InterferogramOfManyRows) {
  WorkDir dir;
  FileSet files = baseline().files;
  std::string& t = files["table71"];
  const auto header = records_of(t);
  t = joined(std::vector<std::string>(header.begin(), header.begin() + 3));
  char row[80];
  for (int i = 0; i < 200000; ++i) {
    std::snprintf(row, sizeof row, " %10.4f  .99903E+00  .99347E+00  .99250E+00 -.97223E-04\r\n", 2000.0 + i * 0.001);
    t += row;
  }
  files["input-vorne"] = set_record(deck('s'), 9, "i");
  write_files(dir, files);
  Outcome r = run_bounded(dir, LF_TESK_BIN);
  expect_clean_end(r, 0, {});
  EXPECT_EQ(dir.read("table71"), t);
  EXPECT_EQ(records_of(dir.read("table90")).size(), 262144u + 2);
}

// The tables that line finding writes and reads back within one run: a
// table that cannot be created stops the run with the file layer's report,
// whatever an earlier run left there.
TEST(BadInputTesk, LineFindingTables) {
  for (const char* name : {"table72", "table73", "table74", "table75", "table76"}) {
    const std::string& t = baseline().files.at(name);
    std::vector<Case> cases = {
        {"directory", directory(), 2, {name}},
        {"garbage left by an earlier run", text(std::string("\x01\xff garbage\n", 11) + t.substr(0, t.size() / 2)), 0, {}},
    };
    run_table('s', name, cases);
  }
}

}  // namespace

namespace {

// A table that cannot be written whole ends the run with the file layer's
// report instead of a normal end over a cut file, and leaves no file: no
// file may grow past 4096 bytes (the echo is the first to pass it), or the
// output directory does not exist. A table that is a link to a device that
// is always full is replaced by the table, never written through.
TEST(BadInputTesk, WriteFailures) {
  struct WriteCase {
    std::string file;   // linked to the full device
    char study;
    std::string outpath;  // deck line 4
    long file_bytes;      // the largest file the run may write; 0: no bound
  };
  const std::vector<WriteCase> cases = {
      {"output", 'd', "", 0},  {"table70", 'd', "", 0}, {"table71", 'd', "", 0}, {"table72", 'd', "", 0},
      {"table76", 'd', "", 0}, {"table77", 'w', "", 0}, {"table78", 'a', "", 0}, {"table90", 'i', "", 0},
      {"", 'd', "missing/", 0}, {"", 'd', "", 4096},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.file + " " + c.study + " " + c.outpath + " " + std::to_string(c.file_bytes));
    WorkDir dir;
    FileSet files = baseline().files;
    for (const auto& t : kTables) files.erase(t);
    files.erase("output");
    std::string d = set_record(deck('c'), 9, std::string(1, c.study));
    if (c.study == 'w' || c.study == 'a') d = set_record(d, 18, "2146.");
    if (!c.outpath.empty()) d = set_record(d, 4, c.outpath);
    files["input-vorne"] = d;
    write_files(dir, files);
    if (!c.file.empty()) fs::create_symlink("/dev/full", dir.path() / c.file);
    Outcome r = run_bounded(dir, LF_TESK_BIN, kSecondsPerRun, 0, c.file_bytes);
    if (!c.file.empty()) {
      expect_clean_end(r, 0, {});
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.path() / c.file)));
      EXPECT_GT(fs::file_size(dir.path() / c.file), 0u);
      continue;
    }
    if (c.file_bytes > 0) {
      expect_clean_end(r, 2, {"Cannot write file output", "File too large"});
    } else {
      expect_clean_end(r, 2, {"Cannot create file missing/table7", "no such file"});
    }
    for (const auto& t : kTables) EXPECT_FALSE(dir.exists(t)) << t;
    EXPECT_FALSE(dir.exists("output"));
  }
}

// Under an address space of 300 MB a study ends normally or with the report
// of an unexpected error, never by a signal. AddressSanitizer reserves far
// more address space than that, so its build cannot take part.
TEST(BadInputTesk, SmallAddressSpace) {
  if (kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer needs more address space";
  WorkDir dir;
  FileSet files = baseline().files;
  files["input-vorne"] = deck('c');
  write_files(dir, files);
  Outcome r = run_bounded(dir, LF_TESK_BIN, kSecondsPerRun, 300 * 1024);
  ASSERT_TRUE(r.exited) << r.console;
  if (r.status == 3) {
    EXPECT_EQ(last_line(r.console).rfind(" Unexpected error, the run ends: ", 0), 0u) << r.console;
  } else {
    EXPECT_EQ(r.status, 0) << r.console;
    EXPECT_EQ(dir.read("table76"), baseline().files.at("table76"));
  }
}

}  // namespace
