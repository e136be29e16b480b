// The answers and derived settings of the deck, read in a temporary directory.
#include "tesk/run/deck.hpp"

#include <gtest/gtest.h>

#include "../../e2e/deck_fixture.hpp"
#include "program_run.hpp"
#include "tesk/run/file_names.hpp"
#include "tesk/run/gas_names.hpp"

namespace {

using testing_support::WorkDir;

tesk::Deck read_with(std::vector<std::pair<int, std::string>> changes) {
  auto deck = e2e::valid_deck();
  for (auto& [line, text] : changes) deck[static_cast<std::size_t>(line - 1)] = text;
  WorkDir dir;
  dir.write("input-vorne", e2e::deck_text(deck));
  tesk::Deck d = tesk::read_deck((dir.path() / "input-vorne").string(), (dir.path() / "output").string());
  tesk::finish_deck(d);
  return d;
}

TEST(DeckAnswers, FreeFormLinesIgnoreTheirComments) {
  tesk::Deck d = read_with({{6, "hitran 102"}, {16, "296.5, the background"}, {45, "3,5 columns"}});
  EXPECT_EQ(d.dbtype, tesk::LineDatabase::hitran);
  EXPECT_EQ(d.reclen, 102);
  EXPECT_FLOAT_EQ(d.tback, 296.5f);
  EXPECT_EQ(d.plotcol1, 3);
  EXPECT_EQ(d.plotcol2, 5);
  EXPECT_EQ(d.runmode, tesk::RunMode::display);
  EXPECT_EQ(d.gasno, 5);
  EXPECT_EQ(d.gasname, "co     ");
}

TEST(DeckAnswers, LayersToRemoveRoundHalvesAway) {
  struct Case {
    std::string answer;
    int ndrop;
  } cases[] = {{"2.5", 3}, {"2.4", 2}, {"0", 0}, {"-1.5", -2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    EXPECT_EQ(read_with({{27, c.answer}}).ndrop, c.ndrop);
  }
}

TEST(DeckAnswers, WingThresholdFollowsGridAndStudy) {
  struct Case {
    std::string grid;
    std::string study;
    float threshold;
  } cases[] = {{"0.005", "s", 1e-12f}, {"0.005", "d", 1e-12f}, {"0.01", "s", 1e-8f}, {"0.01", "d", 1e-8f},
               {"0.01", "i", 1e-8f},   {"0.01", "w", 1e-12f},  {"0.02", "a", 1e-12f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.grid + " " + c.study);
    EXPECT_EQ(read_with({{28, c.grid}, {9, c.study}}).wing_threshold, c.threshold);
  }
}

TEST(DeckAnswers, DerivedSettings) {
  tesk::Deck d = read_with({{31, "2."}, {39, "0.4"}, {40, "0.4"}});
  EXPECT_FLOAT_EQ(d.fovarea, 4.0f * 3.1415f);  // pi as 3.1415
  EXPECT_FLOAT_EQ(d.wincentre, 0.2f);           // stored halved after its check
}

// A path answer ends at its first blank; each is refused one character past
// the longest that the names behind it leave room for.
TEST(DeckAnswers, PathAnswersEndAtTheirFirstBlankUpToTheirLimit) {
  struct Case {
    int line;
    int longest;
    std::string too_long;
  } cases[] = {{2, 99, "Path and name for spectral database to long"},
               {3, 189, "Path and name for input data to long"},
               {4, 192, "Path and name for output tables to long"},
               {44, 99, "Path and name for output plot file to long"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string path = "d/" + std::string(static_cast<std::size_t>(c.longest - 2), 'p');
    const tesk::Deck d = read_with({{c.line, path + " a comment"}});
    const std::string got[] = {d.linefile, d.inpath, d.outpath, d.plotfile};
    EXPECT_EQ(got[c.line == 44 ? 3 : c.line - 2], path);
    try {
      read_with({{c.line, path + "p"}});
      ADD_FAILURE() << "accepted";
    } catch (const rec::Stop& s) {
      EXPECT_EQ(std::string(s.what()), c.too_long);
    }
  }
  const tesk::Deck d = read_with({{3, " blank: the working directory"}});
  EXPECT_EQ(d.inpath, "");
  EXPECT_EQ(d.linefile, "lines.hit");
  EXPECT_EQ(d.plotfile, "plot.dat");
}

TEST(DeckAnswers, DeuteratedWaterFromIsotopeFour) {
  tesk::Deck d = read_with({{19, "h2o"}, {20, "4"}});
  EXPECT_EQ(d.gasno, 49);
  EXPECT_EQ(d.isotope, 0);
  EXPECT_EQ(d.gasname, "hdo    ");
  d = read_with({{19, "h2o"}, {20, "2"}});
  EXPECT_EQ(d.gasno, 1);
  EXPECT_EQ(d.isotope, 2);
  EXPECT_EQ(read_with({{19, "hdo"}}).gasno, 49);
}

TEST(GasNames, TableOrderAndUnknownNames) {
  EXPECT_EQ(tesk::gas_number("h2o    "), 1);
  EXPECT_EQ(tesk::gas_number("hocl"), 21);
  EXPECT_EQ(tesk::gas_number("ho2"), 22);
  EXPECT_EQ(tesk::gas_number("ch3ccl3"), 34);
  EXPECT_EQ(tesk::gas_number("clcn"), 52);
  EXPECT_EQ(tesk::gas_number("H2O"), 0);
  EXPECT_EQ(tesk::gas_number("ch2o"), 0);
  EXPECT_EQ(tesk::gas_number(""), 0);
  for (std::size_t i = 0; i < tesk::kGasNames.size(); ++i) {
    EXPECT_EQ(tesk::gas_number(tesk::kGasNames[i]), static_cast<int>(i) + 1) << tesk::kGasNames[i];
  }
}

// Grid points are single-precision sums and table71 shows seven significant
// digits: a finer grid would give points that share one wavenumber.
TEST(DeckAnswers, GridMustKeepTheWavenumbersApart) {
  struct Case {
    std::string vhi, grid;
    std::string least;  // the limit the report names; empty: accepted
  } cases[] = {
      {"400.", "0.0001", ""},         // the table's last decimal
      {"400.", "0.00009", "0.0001"},  //
      {"999.", "0.0001", "0.0001221"},  // twice the spacing of floats below 999, 0.000061
      {"3000.", "0.0005", ""},          // floats 0.00024 apart
      {"2925.", "0.00005", "0.00049"},  //
      {"9000.", "0.0019", "0.002"},     // floats 0.00098 apart
      {"10000.", "0.005", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vhi + " " + c.grid);
    if (c.least.empty()) {
      EXPECT_NO_THROW(read_with({{17, "100."}, {18, c.vhi}, {28, c.grid}}));
      continue;
    }
    try {
      read_with({{17, "100."}, {18, c.vhi}, {28, c.grid}});
      ADD_FAILURE() << "accepted";
    } catch (const rec::Stop& s) {
      EXPECT_EQ(std::string(s.what()), " Wrong answer in line 28 of input-vorne: the grid spacing must be at least " +
                                           c.least + " cm-1 to keep the wavenumbers apart, found \"" + c.grid + "\"");
    }
    EXPECT_NO_THROW(read_with({{17, "100."}, {18, c.vhi}, {28, c.least}})) << "the limit named is refused";
  }
}

TEST(FileNames, WrittenBehindThePrefix) {
  tesk::FileNames n = tesk::compose_names("");
  EXPECT_EQ(n.table70, "table70");
  EXPECT_EQ(n.table90, "table90");
  n = tesk::compose_names("res/");
  EXPECT_EQ(n.table71, "res/table71");
  EXPECT_EQ(n.table78, "res/table78");
}

}  // namespace
