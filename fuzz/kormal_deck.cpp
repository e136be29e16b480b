// Fuzz target: the whole deck `input-kormal` as the interfering-gas program
// reads it at start: every answer with its checks, the names of its files,
// and the record count of a line list that the deck names by a plain file
// name in the fuzzer's directory (other names are not opened: a device or a
// file outside the fuzzer's directory says nothing about the reader).
#include "fuzz_support.hpp"
#include "inputs/line_list.hpp"
#include "kormal/deck.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::WorkDir& dir = fuzzing::WorkDir::get();
  dir.write("lines.hit", fuzzing::line_record(5, 1, 2100.5, 1.0e-19, 100.0) +
                         fuzzing::line_record(5, 1, 2101.5, 2.0e-19, 110.0));
  const std::string deck_path = dir.write("input-kormal", fuzzing::bytes(data, size));
  fuzzing::expect_clean_end([&] {
    kormal::KormalDeck d = kormal::read_deck(deck_path);
    const kormal::FileNames names = kormal::compose_names(d);
    if (names.output.size() < 10) std::abort();
    const std::string& lf = d.linefile;
    if (d.nrec == 0 && !lf.empty() && lf.find('/') == std::string::npos && lf != "." && lf != "..") {
      d.nrec = inputs::count_records(dir.file(lf));
    }
  });
  return 0;
}
