// Fuzz target: the rows of table76, the microwindow list, as the
// interfering-gas program reads them: the header line, then row after row
// of an optional isotope digit, the gas name, centre and width, each decoded
// into the window's grid.
#include "fuzz_support.hpp"
#include "kormal/limits.hpp"
#include "kormal/solar.hpp"
#include "kormal/window.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzzing::WorkDir::get().write("table76", fuzzing::bytes(data, size));
  fuzzing::expect_clean_end([&] {
    rec::TextReader windows(path);
    std::string header(kormal::kHeaderLength, ' ');
    if (windows.read(rec::Format("(a24)"), {&header}) != rec::ReadStatus::ok) return;
    const rec::Format row_line("(a23)");
    windows.expect_rows(2, kormal::kRowLength);
    std::string row(kormal::kRowLength, ' ');
    while (windows.read(row_line, {&row}) == rec::ReadStatus::ok) {
      const kormal::WindowRecord w = kormal::decode_window(row, rec::Where{path, windows.record_number()});
      if (w.n > kormal::kMaxGridPoints + 1 || w.n < 0) std::abort();  // the count the run stops on
      (void)kormal::solar_applies(w);
      (void)kormal::row_text(w);
    }
  });
  return 0;
}
