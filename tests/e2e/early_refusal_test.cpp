// Decks that cannot give sound tables are refused as they are read, by a run
// and by --check-deck alike; a deck saved with a byte-order mark runs as the
// same deck without it; kormal's record of what it did with each window.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "spectral_fixture.hpp"

namespace {

namespace fs = std::filesystem;
using testing_support::split_lines;
using testing_support::WorkDir;

const std::string kMark = "\xEF\xBB\xBF";

// The spectral fixture's small complete run, as a line-finding study.
std::vector<std::string> line_finding_deck() {
  auto d = e2e::spectral_deck();
  d[8] = "d";
  return d;
}

void write_inputs(const WorkDir& dir, const std::string& deck) {
  dir.write("input-vorne", deck);
  dir.write("lines.hit", e2e::default_lines());
  e2e::write_atmosphere(dir);
}

TEST(EarlyRefusal, AnswersThatCannotGiveSoundTables) {
  struct Case {
    std::vector<std::pair<int, std::string>> changes;
    std::string report;
  } cases[] = {
      {{{17, "9999."}, {18, "10000."}},
       " Wrong answer in line 18 of input-vorne: line finding needs a range below 10000 cm-1, whose line positions "
       "the line tables can print, found \"10000.\""},
      {{{21, "-0.5"}}, " Wrong answer in line 21 of input-vorne: the profile factor must be 0 or more, found \"-0.5\""},
      {{{26, "g 90."}},
       " Wrong answer in line 26 of input-vorne: the zenith angle of a ground-based path must be below 90 degrees, "
       "found \"g 90.\""},
  };
  for (const Case& c : cases) {
    auto deck = line_finding_deck();
    for (const auto& [line, text] : c.changes) deck[static_cast<std::size_t>(line - 1)] = text;
    SCOPED_TRACE(c.report);
    WorkDir run_dir, check_dir;
    write_inputs(run_dir, e2e::deck_text(deck));
    write_inputs(check_dir, e2e::deck_text(deck));
    const auto run = run_dir.run(LF_TESK_BIN);
    const auto check = check_dir.run(LF_TESK_BIN, "--check-deck");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(split_lines(run.console).back(), c.report);
    EXPECT_EQ(check.console, run.console);
    EXPECT_FALSE(run_dir.exists("table71"));
  }
  // A display run writes no line tables: its range is not refused.
  WorkDir display;
  auto deck = line_finding_deck();
  deck[4] = "d";
  deck[16] = "9999.";
  deck[17] = "10000.";
  write_inputs(display, e2e::deck_text(deck));
  EXPECT_EQ(display.run(LF_TESK_BIN, "--check-deck").status, 0);
}

// The mark before the first line is dropped: the echo, whose first line the
// line tables read, and every table are those of the deck without it.
TEST(EarlyRefusal, AByteOrderMarkIsDropped) {
  WorkDir plain, marked;
  const std::string deck = e2e::deck_text(line_finding_deck());
  write_inputs(plain, deck);
  write_inputs(marked, kMark + deck);
  const auto a = plain.run(LF_TESK_BIN);
  const auto b = marked.run(LF_TESK_BIN);
  ASSERT_EQ(a.status, 0) << a.console;
  ASSERT_EQ(b.status, 0) << b.console;
  EXPECT_EQ(b.console, a.console);
  ASSERT_TRUE(plain.exists("table76"));
  for (const char* f : {"output", "table70", "table71", "table72", "table73", "table74", "table75", "table76"}) {
    EXPECT_EQ(marked.read(f), plain.read(f)) << f;
  }
}

// kormal.log, after kormal's other files: the window table's name, size and
// CRC-32, then each row with what became of it. The same deck with a
// byte-order mark gives the same files.
TEST(EarlyRefusal, KormalRecordsTheWindowsItRatedAndSkipped) {
  const std::string table76 =
      "name     cm-1     window \n"
      "co       2005.00   0.30\n"
      "xx       2000.20   0.30\n"
      "co       2000.60   0.30\n";
  const std::string deck = e2e::deck_text(
      {"lines.hit", "table76", " ", " ", "hitran 101", "0", "m", "0.0", "n", "8", "0.1", "0.01", "d", "n", "n"});
  WorkDir plain, marked;
  for (const WorkDir* dir : {&plain, &marked}) {
    e2e::write_atmosphere(*dir);
    dir->write("lines.hit", e2e::default_lines());
    dir->write("table76", table76);
  }
  plain.write("input-kormal", deck);
  marked.write("input-kormal", kMark + deck);
  const auto a = plain.run(LF_KORMAL_BIN);
  const auto b = marked.run(LF_KORMAL_BIN);
  ASSERT_EQ(a.status, 0) << a.console;
  ASSERT_EQ(b.status, 0) << b.console;
  EXPECT_EQ(plain.read("kormal.log"),
            testing_support::crlf_lines({
                " table76 table76",
                " bytes 98 crc32 1a942540 windows 3",  // zlib's CRC-32 of those 98 bytes
                " window    1 co       2005.00   0.30 rated",
                " window    2 xx       2000.20   0.30 skipped: no gas of this name in the gas table",
                " window    3 co       2000.60   0.30 skipped: target contribution    .000 % below the threshold"
                "    .100 %",
            }));
  EXPECT_EQ(split_lines(plain.read("microwin")).size(), 2u);  // the heading and the rated window
  for (const char* f : {"kormal.log", "output.dat", "microwin", "spectra.out"}) {
    EXPECT_EQ(marked.read(f), plain.read(f)) << f;
  }
  // Written last: no other file of the run is newer.
  for (const char* f : {"output.dat", "microwin", "spectra.out"}) {
    EXPECT_LE(fs::last_write_time(plain.path() / f), fs::last_write_time(plain.path() / "kormal.log")) << f;
  }
}

}  // namespace
