// The interfering-gas program on broken inputs: every input file kind through
// a table of corruptions. Each run ends by itself within seconds, with a
// one-line report that names the file and an exit status of 1 (a stop) or 2
// (the file layer), or normally where the content is still valid; the window
// table of the line-finding run and the data files keep their bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bad_input_fixture.hpp"
#include "program_run.hpp"

namespace {

using namespace bad_input;
using testing_support::WorkDir;

std::vector<std::string> deck_lines() {
  return {"lines.hit   line list",
          "table76     microwindows",
          "            input path",
          "            output path",
          "hitran 101  database type and record length",
          "0           records of the line list (0: count them)",
          "m           model atmosphere",
          "0.0         observer altitude, km",
          "y           solar spectrum as a pseudo-gas",
          "6           bound on the gases listed per window",
          "1.          contribution threshold of the target, %",
          "0.5         gas threshold, %",
          "d           sort and select by d or a",
          "n           pause",
          "n           plot"};
}

std::string joined_lines(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

// Two CO windows in the example's band, as a line-finding run writes them.
const std::string kWindows = "name     cm-1     window \nco       2147.08   0.30\nco       2150.86   0.40\n";

const FileSet& baseline() {
  static const FileSet files = [] {
    WorkDir dir;
    example::write_example_files(dir.path().string());
    dir.write("input-kormal", joined_lines(deck_lines()));
    dir.write("table76", kWindows);
    Outcome r = run_bounded(dir, LF_KORMAL_BIN);
    EXPECT_EQ(r.status, 0) << r.console;
    return read_files(dir, {"lines.hit", "midlat.vmr", "solar.dat", "input-kormal", "table76", "output.dat",
                            "microwin", "spectra.out"});
  }();
  return files;
}

void run_case(const std::string& file, const Case& c) {
  SCOPED_TRACE(file + ": " + c.name);
  if (std::getenv("LF_SHOW_CASES")) std::printf("%s: %s\n", file.c_str(), c.name.c_str());
  WorkDir dir;
  FileSet files = baseline();
  for (const char* out : {"output.dat", "microwin", "spectra.out"}) files.erase(out);
  write_files(dir, files);
  apply(dir, file, c.corruption);
  const FileSet before = read_files(dir, {"lines.hit", "midlat.vmr", "solar.dat", "table76"});

  Outcome r = run_bounded(dir, LF_KORMAL_BIN);
  expect_clean_end(r, c.status, c.words, c.detail);
  for (const auto& [name, content] : before) {
    if (name != file) {
      EXPECT_EQ(dir.read(name), content) << name << " changed";
    }
  }
  if (c.status == 0 && r.status == 0 && c.same) {
    EXPECT_EQ(dir.read("microwin"), baseline().at("microwin"));
  }
}

void run_table(const std::string& file, const std::vector<Case>& cases) {
  for (const Case& c : cases) run_case(file, c);
}

std::vector<Case> common_cases(const std::string& file, Field number, int last) {
  return bad_input::common_cases(file, baseline().at(file), number, last);
}

TEST(BadInputKormal, Deck) {
  const std::string t = joined_lines(deck_lines());
  auto line = [&](int n, const std::string& answer) { return text(set_record(t, n, answer)); };
  std::vector<Case> cases = {
      {"missing", missing(), 2, {"input-kormal"}},
      {"empty", text(""), 2, {"input-kormal"}},
      {"directory", directory(), 2, {"input-kormal"}},
      {"truncated", text(truncated_in(t, 9)), 2, {"input-kormal"}},
      {"binary bytes", line(8, std::string("\x01\xff\x00", 3)), 2, {"input-kormal", "Unreadable"}},
      {"CR LF", text(to_crlf(t)), 0, {}},
      {"no final newline", text(without_final_newline(t)), 0, {}},
      {"comment of 1000 characters", text(lengthened(t, 8, 1000)), 0, {}},
      {"window table name of 200 characters", line(2, std::string(200, 'w')), 2, {"Cannot open"}},
      {"integer overflow", line(6, "99999999999"), 2, {"input-kormal", "99999999999"}},
      {"real overflow", line(8, "1e39"), 2, {"input-kormal", "1e39"}},
      {"nan", line(11, "nan"), 2, {"input-kormal", "nan"}},
      {"inf", line(12, "inf"), 2, {"input-kormal", "inf"}},
      {"negative record count", line(6, "-5"), 1, {"Record count of the line list in input-kormal must not be negative"}},
      {"record count above the file's", line(6, "100000"), 2, {"lines.hit", "beyond its end"}},
      {"wrong record length", line(5, "hitran 100"), 2, {"lines.hit", "record length"}},
      {"zero record length", line(5, "hitran 0"), 1, {"Record length of the line list in input-kormal must be above 0"}},
      {"wrong solar letter", line(9, "x"), 1, {"wrong input for solar"}},
      {"wrong sort letter", line(13, "x"), 1, {"wrong input for korma"}},
      {"no atmosphere letter", line(7, "x"), 2, {"atmosphere"}},
  };
  run_table("input-kormal", cases);
}

TEST(BadInputKormal, LineList) {
  const std::string& t = baseline().at("lines.hit");
  int r = 0;
  auto recs = records_of(t);
  for (std::size_t i = 0; i < recs.size() && r == 0; ++i) {
    if (std::stod(recs[i].substr(3, 12)) > 2147.0) r = static_cast<int>(i) + 1;
  }
  std::vector<Case> cases = common_cases("lines.hit", Field{r, 4, 12}, r);
  cases[1] = {"empty", text(""), 0, {}, false};  // windows without lines
  cases[10] = {"overflow", text(set_field(t, Field{r, 4, 12}, "1e999")), 2, {"lines.hit", "Unreadable real number", "1e999"}};
  cases[4] = {"CR LF", text(to_crlf(t)), 2, {"lines.hit", "record length"}};
  cases[6] = {"200 characters", text(edit_record(t, r, [](const std::string& b) { return b + std::string(100, 'x'); })), 2,
              {"lines.hit", "does not end at the record length"}};
  cases[7] = {"1000 characters", text(edit_record(t, r, [](const std::string& b) { return b + std::string(900, 'x'); })), 2,
              {"lines.hit", "does not end at the record length"}};
  std::swap(recs[static_cast<std::size_t>(r - 1)], recs[static_cast<std::size_t>(r)]);
  cases.push_back({"unsorted", text(joined(recs)), 2, {"lines.hit", "not sorted"}});
  cases.push_back({"truncated", text(truncated_in(t, r)), 2, {"lines.hit", "cut short"}});
  cases.push_back({"width overflows float", text(set_field(t, Field{r, 36, 5}, "9e99")), 2, {"lines.hit", "9e99"}});
  run_table("lines.hit", cases);
}

TEST(BadInputKormal, Atmosphere) {
  const std::string& t = baseline().at("midlat.vmr");
  const int level = 6 + 20 * 9;  // level 20, 9 records
  std::vector<Case> cases = common_cases("midlat.vmr", Field{level + 1, 1, 0}, level + 8);
  cases.push_back({"truncated", text(truncated_in(t, level + 3)), 0, {}, false});
  cases.push_back({"negative column count", text(set_field(t, Field{1, 3, 0}, "-3")), 2, {"midlat.vmr", "columns"}});
  cases.push_back({"column count above the limit", text(set_field(t, Field{1, 3, 0}, "500")), 1, {"NSPECI > MSPECI"}, true, 
                   " The file midlat.vmr and the isotope pseudo-gases make 499 species; at most 119 are allowed: remove columns or change line 7."});
  cases.push_back({"header count above the file's", text(set_field(t, Field{1, 1, 0}, "5000")), 2, {"midlat.vmr"}});
  auto recs = records_of(t);
  const std::string last_level = joined(std::vector<std::string>(recs.end() - 9, recs.end()));
  std::string deep = t;
  for (int k = 0; k < 30; ++k) deep += last_level;  // 151 levels
  cases.push_back({"level count above the limit", text(deep), 1, {"Increase parameter MLEV"}, true, 
                   " The file midlat.vmr holds more than 150 levels, the most allowed: thin its levels or choose another atmosphere (line 7)."});
  cases.push_back({"altitude nan", text(set_field(t, Field{level, 1, 0}, "nan")), 2, {"midlat.vmr", "nan"}});
  run_table("midlat.vmr", cases);
}

TEST(BadInputKormal, SolarSpectrum) {
  const std::string& t = baseline().at("solar.dat");
  const int r = 2 + 11400;
  std::vector<Case> cases = common_cases("solar.dat", Field{r, 1, 0}, r);
  cases[1] = {"empty", text(""), 0, {}, false};
  // Read as 64-bit values: 1e39 is a number, 1e999 is not.
  cases[10] = {"overflow", text(set_field(t, Field{r, 1, 0}, "1e999")), 2, {"solar.dat", "Unreadable real number", "1e999"}};
  cases.push_back({"truncated", text(truncated_in(t, r)), 0, {}, false});
  cases.push_back({"value inf", text(set_field(t, Field{r, 10, 0}, "inf")), 2, {"solar.dat", "inf"}});
  run_table("solar.dat", cases);
}

TEST(BadInputKormal, WindowTable) {
  const std::string& t = baseline().at("table76");
  std::vector<Case> cases = common_cases("table76", Field{2, 10, 0}, 2);
  cases[1] = {"empty", text(""), 2, {"table76", "empty"}};
  cases.push_back({"truncated", text(truncated_in(t, 2)), 2, {"Record 2 of table76", "cut short"}});
  cases.push_back({"width nan", text(set_field(t, Field{2, 19, 0}, "nan")), 2, {"table76", "nan"}});
  cases.push_back({"window too wide for the grid", text(set_field(t, Field{2, 19, 0}, "70.")), 1, {"Increase mp"}, true, 
                   " The window at 2147.08 cm-1 needs 16000 grid steps with its margins; at most 15000 are allowed: narrow it in table76."});
  cases.push_back({"width overflows", text(set_field(t, Field{2, 19, 0}, "1e38")), 1, {"Increase mp"}, true, 
                   " The window at 2147.08 cm-1 needs more than 15000 grid steps with its margins; at most 15000 are allowed: narrow it in table76."});
  cases.push_back(
      {"negative width", text(set_field(t, Field{2, 19, 0}, "-0.3")), 2, {"record 2 of table76", "below 0"}});
  cases.push_back({"unknown gas", text(set_field(t, Field{2, 1, 0}, "xyz")), 0, {}, false});
  run_table("table76", cases);
}

}  // namespace

namespace {

// A result file that cannot be created ends the run with the file layer's
// report and leaves no result file (a write that fails is the tesk suite's
// case: both programs write through the same writer). A result file that
// is a link to a device that is always full is replaced, never written
// through.
TEST(BadInputKormal, WriteFailures) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"output.dat", ""}, {"microwin", ""}, {"spectra.out", ""}, {"", "missing/"}};
  for (const auto& [file, outpath] : cases) {
    SCOPED_TRACE(file + " " + outpath);
    WorkDir dir;
    FileSet files = baseline();
    for (const char* out : {"output.dat", "microwin", "spectra.out"}) files.erase(out);
    if (!outpath.empty()) files["input-kormal"] = set_record(files["input-kormal"], 4, outpath);
    write_files(dir, files);
    if (!file.empty()) fs::create_symlink("/dev/full", dir.path() / file);
    Outcome r = run_bounded(dir, LF_KORMAL_BIN);
    if (!file.empty()) {
      // The link is replaced by the file, never written through.
      expect_clean_end(r, 0, {});
      EXPECT_EQ(dir.read(file), baseline().at(file));
    } else {
      expect_clean_end(r, 2, {"Cannot create file missing/output.dat", "no such file"});
      for (const char* out : {"output.dat", "microwin", "spectra.out"}) EXPECT_FALSE(dir.exists(out)) << out;
    }
    EXPECT_EQ(dir.read("table76"), baseline().at("table76"));
  }
}

TEST(BadInputKormal, SmallAddressSpace) {
  if (kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer needs more address space";
  WorkDir dir;
  FileSet files = baseline();
  write_files(dir, files);
  Outcome r = run_bounded(dir, LF_KORMAL_BIN, kSecondsPerRun, 300 * 1024);
  ASSERT_TRUE(r.exited) << r.console;
  if (r.status == 3) {
    EXPECT_EQ(last_line(r.console).rfind(" Unexpected error, the run ends: ", 0), 0u) << r.console;
  } else {
    EXPECT_EQ(r.status, 0) << r.console;
    EXPECT_EQ(dir.read("microwin"), baseline().at("microwin"));
  }
}

}  // namespace
