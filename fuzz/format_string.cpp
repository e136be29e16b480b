// Fuzz target: format-string parsing. A malformed format is a bug of the
// caller and throws std::invalid_argument, so that end is expected here too.
// A format that parses is used for a write and a read without items, which
// walks its texts, skips, slashes and groups up to the first data descriptor
// (when its first pass is of a reasonable size, see fuzzing::first_pass).
#include <optional>
#include <stdexcept>
#include <vector>

#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzzing::bytes(data, size);
  std::optional<rec::Format> fmt;
  try {
    fmt.emplace(text);
  } catch (const std::invalid_argument&) {
    return 0;
  }
  if (fmt->text() != text) std::abort();  // the format keeps its text as given
  std::vector<int> walk;
  if (!fuzzing::first_pass(fmt->impl(), walk)) return 0;
  fuzzing::expect_clean_end([&] {
    rec::Encoded out;
    rec::encode(*fmt, {}, out);
    std::string target(80, ' ');
    rec::write_internal(target, *fmt, {});
  });
  fuzzing::expect_clean_end([&] { rec::read_internal("   1  2.5  abc", *fmt, {}); });
  return 0;
}
