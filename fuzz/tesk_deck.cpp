// Fuzz target: the whole deck `input-vorne` as the line-finding program
// reads and checks it before its spectral run: every line with its checks,
// the settings derived from it, the names of the tables, the interval
// count, and the record count of a line list that the deck names by a plain
// file name in the fuzzer's directory (other names are not opened: a device
// or a file outside the fuzzer's directory says nothing about the reader).
#include "fuzz_support.hpp"
#include "inputs/line_list.hpp"
#include "tesk/limits.hpp"
#include "tesk/run/deck.hpp"
#include "tesk/run/file_names.hpp"
#include "tesk/run/spectral_run.hpp"

namespace {

bool plain_name(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::WorkDir& dir = fuzzing::WorkDir::get();
  // A small sorted line list the deck can name as "lines.hit" (as the example decks do).
  dir.write("lines.hit", fuzzing::line_record(5, 1, 2100.5, 1.0e-19, 100.0) +
                         fuzzing::line_record(5, 1, 2101.5, 2.0e-19, 110.0));
  const std::string deck_path = dir.write("input-vorne", fuzzing::bytes(data, size));
  fuzzing::expect_clean_end([&] {
    tesk::Deck d = tesk::read_deck(deck_path, dir.path() + "/output");
    tesk::finish_deck(d);
    const tesk::FileNames names = tesk::compose_names(d.outpath);
    if (names.table76.size() < 7) std::abort();
    if (d.nrec == 0 && plain_name(d.linefile)) d.nrec = inputs::count_records(dir.file(d.linefile));
    for (const tesk::IntervalGrid& g : tesk::interval_grids(d)) tesk::check_interval_points(d, g.npts, 0);
  });
  return 0;
}
