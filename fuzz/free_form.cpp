// Fuzz target: free-form input. The first byte chooses the kinds of four
// items (two bits each: integer, 32-bit real, 64-bit real, character item of
// 7 characters); the rest is read with them from one internal record and, as
// a sequential file, statement after statement to its end.
#include <array>
#include <vector>

#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in = fuzzing::bytes(data, size);
  const unsigned kinds = fuzzing::take_byte(in);

  std::array<int, 4> ints{};
  std::array<float, 4> floats{};
  std::array<double, 4> doubles{};
  std::array<std::string, 4> strings;
  std::vector<rec::InItem> items;
  for (std::size_t k = 0; k < 4; ++k) {
    switch ((kinds >> (2 * k)) & 3u) {
      case 0: items.emplace_back(&ints[k]); break;
      case 1: items.emplace_back(&floats[k]); break;
      case 2: items.emplace_back(&doubles[k]); break;
      default:
        strings[k] = std::string(7, ' ');
        items.emplace_back(&strings[k]);
        break;
    }
  }

  fuzzing::expect_clean_end([&] {
    rec::read_free_internal(in.substr(0, in.find('\n')), items, rec::Where{"fuzz-record", 1});
  });

  const std::string path = fuzzing::WorkDir::get().write("free", in);
  fuzzing::expect_clean_end([&] {
    rec::TextReader reader(path);
    while (reader.read_free(items) == rec::ReadStatus::ok) {
    }
  });
  return 0;
}
