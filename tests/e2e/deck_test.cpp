// The deck of the line-finding program, run through the built program.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "deck_fixture.hpp"
#include "program_run.hpp"
#include "spectral_fixture.hpp"

namespace {

using testing_support::split_lines;
using testing_support::WorkDir;

struct DeckResult {
  int status;
  std::vector<std::string> console;
  std::vector<std::string> output;  // records of the echo file
  std::string output_text;
};

// The echo an earlier run left: a run that stops on its deck, and a display
// run, leave it as it was.
const std::string kEarlierEcho = "an earlier run's echo\r\n";

DeckResult run_deck(const std::vector<std::string>& deck, const std::string& lines = "") {
  WorkDir dir;
  dir.write("input-vorne", e2e::deck_text(deck));
  dir.write("output", kEarlierEcho);
  std::string list = lines;
  if (list.empty()) {
    list = e2e::line_record(5, 1, 2000.1) + e2e::line_record(5, 1, 2000.5) + e2e::line_record(5, 1, 2001.0);
  }
  dir.write("lines.hit", list);
  auto r = dir.run(LF_TESK_BIN);
  DeckResult out{r.status, split_lines(r.console), {}, dir.read("output")};
  out.output = split_lines(out.output_text);
  return out;
}

TEST(DeckRun, ValidDisplayRunEndsNormally) {
  DeckResult r = run_deck(e2e::valid_deck());
  EXPECT_EQ(r.status, 0);
  ASSERT_FALSE(r.console.empty());
  EXPECT_EQ(r.console.back(), "Stop - Program terminated.");
  EXPECT_EQ(r.output_text, kEarlierEcho);
}

TEST(DeckRun, BannerAndMemoryLine) {
  DeckResult r = run_deck(e2e::valid_deck());
  ASSERT_EQ(r.console.size(), 17u);
  EXPECT_EQ(r.console[0], "");
  // The first character of every console record is carriage control.
  EXPECT_EQ(r.console[1], "   VORNE: Automatic Line Finding Program");
  EXPECT_EQ(r.console[2], "");
  EXPECT_EQ(r.console[8], "");
  EXPECT_EQ(r.console[9], "         Version 6, September 2006 ");
  EXPECT_EQ(r.console[11], "    No guaranty for the results");
  EXPECT_EQ(r.console[12], "Comments on errors and improvements are welcome");
  EXPECT_EQ(r.console[14], " Program requires approx. 144 Mbytes");  // a display run: the arrays every run holds
  EXPECT_EQ(r.console[15], "");
  EXPECT_EQ(r.console[16], "Stop - Program terminated.");
}

struct WrongAnswer {
  int line;
  std::string answer;
  std::string message;
};

class DeckWrongAnswer : public ::testing::TestWithParam<WrongAnswer> {};

TEST_P(DeckWrongAnswer, StopsWithItsMessageAndKeepsTheEarlierEcho) {
  const WrongAnswer& c = GetParam();
  auto deck = e2e::valid_deck();
  deck[static_cast<std::size_t>(c.line - 1)] = c.answer;
  DeckResult r = run_deck(deck);
  EXPECT_EQ(r.status, 1);
  ASSERT_FALSE(r.console.empty());
  EXPECT_EQ(r.console.back(), c.message);
  EXPECT_EQ(r.output_text, kEarlierEcho);
}

const std::string k100(100, 'x');
INSTANTIATE_TEST_SUITE_P(
    FailureTable, DeckWrongAnswer,
    ::testing::Values(
        WrongAnswer{2, std::string(100, 'p'), "Path and name for spectral database to long"},
        WrongAnswer{2, std::string(200, 'p'), "Path and name for spectral database to long"},
        WrongAnswer{3, std::string(190, 'p'), "Path and name for input data to long"},
        WrongAnswer{4, std::string(193, 'p'), "Path and name for output tables to long"},
        WrongAnswer{5, " c", " Run must be c(complete), s(sort), or d(display)"},
        WrongAnswer{5, "x", " Run must be c(complete), s(sort), or d(display)"},
        WrongAnswer{6, "x 101", " Spectral database must be h or a"},
        WrongAnswer{8, "maybe", " Solar spectrum choice must be y or n"},
        WrongAnswer{9, "x", "wrong study (s, d, w or a)"},
        WrongAnswer{11, "q", " Sorting choice must be t,e,d,i or r"},
        WrongAnswer{12, "e", " Wrong symbol in transmission/radiation (a or r)"},
        WrongAnswer{13, "k", " Wrong symbol for units of radiance (r or b)"},
        WrongAnswer{14, "x", "Wrong input spectrum normalisation (n or f)"},
        WrongAnswer{15, "x", " model/vmr choice must be t,m, or p"},
        WrongAnswer{26, "x 30.", "wrong airpath geometry (g, s)"},
        WrongAnswer{40, "0.31", " starting microwindow smaller than interval around center"},
        WrongAnswer{44, std::string(100, 'p'), "Path and name for output plot file to long"}),
    [](const ::testing::TestParamInfo<WrongAnswer>& info) {
      return "Line" + std::to_string(info.param.line) + "_" + std::to_string(info.index);
    });

// Line 10 is refused only for line finding, where the factor divides.
TEST(DeckRun, UnitTargetFactorOnlyMattersForLineFinding) {
  auto deck = e2e::valid_deck();
  deck[9] = "1.0";
  EXPECT_EQ(run_deck(deck).status, 0);
  deck[8] = "d";
  EXPECT_EQ(run_deck(deck).console.back(), " Target factor must differ from 1 for line finding");
}

// Answers that would crash or loop later stop with a message naming the line.
TEST(DeckRun, AnswersTheRunCannotComputeWith) {
  struct Case {
    int line;
    std::string answer;
  } cases[] = {{28, "0."}, {28, "-0.01"}, {7, "-5"}, {6, "h 0"}, {6, "h -101"}, {29, "-1."},
               {17, "nan"}, {18, "inf"}, {16, "1e40"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    auto deck = e2e::valid_deck();
    deck[static_cast<std::size_t>(c.line - 1)] = c.answer;
    DeckResult r = run_deck(deck);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.console.back().rfind(" Wrong answer in line " + std::to_string(c.line) + " of input-vorne: ", 0),
              0u)
        << r.console.back();
    EXPECT_NE(r.console.back().find(c.answer), std::string::npos) << r.console.back();
    EXPECT_EQ(r.output_text, kEarlierEcho);
  }
}

TEST(DeckRun, GasNameIsCheckedAfterTheWholeDeck) {
  auto deck = e2e::valid_deck();
  deck[18] = "H2O";
  DeckResult r = run_deck(deck);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.console.back(), "Wrong naming (eg. ch2o -> h2co or h20 -> h2o)");
  EXPECT_EQ(r.output_text, kEarlierEcho);
}

TEST(DeckRun, AcceptedEdgeAnswers) {
  struct Case {
    int line;
    std::string answer;
  } cases[] = {
      {2, std::string(99, 'p')},                // 99 characters is the longest list name
      {5, "d followed by a comment"},           //
      {6, "hitran 102"},                        // a word gives its first letter
      {9, "i"},                                 // accepted though the message names four letters
      {19, "h2o"},                              //
      {40, "0.3"},                              // equal to the starting width
      {43, "no"},                               // anything but y: no plot
      {3, "res/"},                              //
      {4, "res/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    auto deck = e2e::valid_deck();
    deck[static_cast<std::size_t>(c.line - 1)] = c.answer;
    DeckResult r = run_deck(deck);
    EXPECT_EQ(r.status, 0) << r.console.back();
    EXPECT_EQ(r.console.back(), "Stop - Program terminated.");
  }
}

TEST(DeckRun, FileLayerErrors) {
  {
    WorkDir dir;  // no deck at all
    auto r = dir.run(LF_TESK_BIN);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(split_lines(r.console).back().find("input-vorne"), std::string::npos);
  }
  {
    auto deck = e2e::valid_deck();
    deck.resize(30);
    DeckResult r = run_deck(deck);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.console.back().find("input-vorne"), std::string::npos) << r.console.back();
    EXPECT_EQ(r.output_text, kEarlierEcho);
  }
  {
    auto deck = e2e::valid_deck();
    deck[6] = "x1";
    DeckResult r = run_deck(deck);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.console.back().find("record 7"), std::string::npos) << r.console.back();
    EXPECT_NE(r.console.back().find("x1"), std::string::npos) << r.console.back();
  }
  {
    // The geometry value is read from columns 2 to 15 only.
    auto deck = e2e::valid_deck();
    deck[25] = "g" + std::string(20, ' ') + "45";
    DeckResult r = run_deck(deck);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.output_text, kEarlierEcho);
  }
  {
    // A display run still counts the list when the deck gives 0 records.
    auto deck = e2e::valid_deck();
    deck[6] = "0";
    deck[1] = "missing.hit";
    DeckResult r = run_deck(deck);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.console.back().find("missing.hit"), std::string::npos) << r.console.back();
    EXPECT_EQ(r.output_text, kEarlierEcho);
  }
}

TEST(DeckRun, DisplayRunNeedsNoLineListWhenTheDeckCountsIt) {
  WorkDir dir;
  dir.write("input-vorne", e2e::deck_text(e2e::valid_deck()));  // 3 records, no list on disk
  auto r = dir.run(LF_TESK_BIN);
  EXPECT_EQ(r.status, 0) << r.console;
  EXPECT_EQ(split_lines(r.console).back(), "Stop - Program terminated.");
}

TEST(DeckRun, UnreadableGeometryValueNamesItsColumns) {
  auto deck = e2e::valid_deck();
  deck[25] = "g  3x0";
  DeckResult r = run_deck(deck);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.console.back().find("record 26"), std::string::npos) << r.console.back();
  EXPECT_NE(r.console.back().find("columns 4-6"), std::string::npos) << r.console.back();
}

TEST(DeckRun, DisplayRunCountsAndPlots) {
  auto deck = e2e::valid_deck();
  deck[6] = "0";
  deck[42] = "y";
  WorkDir dir;
  dir.write("input-vorne", e2e::deck_text(deck));
  std::string list;
  for (int i = 0; i < 1000; ++i) list += e2e::line_record(5, 1, 2000.0 + 0.001 * i);
  dir.write("lines.hit", list);
  dir.write("plot.dat", "h1\nh2\nh3\n1 1\n2 4\n3 9\n");
  auto r = dir.run(LF_TESK_BIN);
  EXPECT_EQ(r.status, 0) << r.console;
  auto lines = split_lines(r.console);
  ASSERT_GE(lines.size(), 30u);
  EXPECT_EQ(lines.back(), "Stop - Program terminated.");
  EXPECT_EQ(lines[lines.size() - 2], "xmin:  1.00E+00 xmax:  3.00E+00    ymin:  1.00E+00 ymax:  9.00E+00");
  EXPECT_EQ(lines[lines.size() - 3], "***************************************");
}

// The names of the files in a directory.
std::set<std::string> file_names(const WorkDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// --check-deck says what a run of the same deck says first, with the same exit
// status, and writes nothing; a good deck ends with its own line where the
// run goes on. The decks are the spectral fixture's complete run, so that the
// limits of the range are met as well.
TEST(CheckDeck, SaysWhatTheRunSaysFirstAndWritesNothing) {
  struct Case {
    std::vector<std::pair<int, std::string>> changes;
    int status;
  } cases[] = {
      {{}, 0},
      {{{5, "d"}}, 0},                                            // display run: no range limits
      {{{2, std::string(100, 'p')}}, 1},                           // path limit
      {{{11, "q"}}, 1},                                            // a letter
      {{{28, "-0.01"}}, 1},                                        // wrong answer of the reader
      {{{19, "H2O"}}, 1},                                          // gas name, after the whole deck
      {{{3, std::string(95, 'q')}}, 1},                            // input prefix of the atmosphere files
      {{{27, "80"}}, 1},                                           // layers to remove
      {{{30, "1."}, {31, "1000."}}, 1},                            // transform of the line shape too long
      {{{18, "2000."}}, 1},                                        // too few points
      {{{28, "0.001"}, {9, "a"}}, 1},                              // too many points for kernels
      {{{18, "2000."}, {5, "s"}}, 0},                              // a sort run computes no range
      {{{7, "x1"}}, 2},                                            // unreadable answer
  };
  for (const Case& c : cases) {
    auto deck = e2e::spectral_deck();
    for (const auto& [line, text] : c.changes) deck[static_cast<std::size_t>(line - 1)] = text;
    SCOPED_TRACE(deck[static_cast<std::size_t>(c.changes.empty() ? 0 : c.changes.back().first - 1)]);
    WorkDir run_dir, check_dir;
    for (const WorkDir* dir : {&run_dir, &check_dir}) {
      dir->write("input-vorne", e2e::deck_text(deck));
      dir->write("lines.hit", e2e::default_lines());
      e2e::write_atmosphere(*dir);
    }
    const std::set<std::string> inputs = file_names(check_dir);
    const auto run = run_dir.run(LF_TESK_BIN);
    const auto check = check_dir.run(LF_TESK_BIN, "--check-deck");
    EXPECT_EQ(file_names(check_dir), inputs);
    EXPECT_EQ(check.status, c.status) << check.console;
    auto run_lines = split_lines(run.console);
    const auto check_lines = split_lines(check.console);
    ASSERT_FALSE(check_lines.empty());
    if (c.status != 0) {
      EXPECT_EQ(run.status, c.status);
      EXPECT_EQ(check.console, run.console);
      continue;
    }
    EXPECT_EQ(check_lines.back(), " The deck input-vorne passes every check of its answers");
    // The banner, as the run prints it before anything else.
    ASSERT_GE(run_lines.size(), check_lines.size());
    run_lines.resize(check_lines.size() - 1);
    EXPECT_EQ(std::vector<std::string>(check_lines.begin(), check_lines.end() - 1), run_lines);
  }
}

}  // namespace
