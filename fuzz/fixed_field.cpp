// Fuzz target: fixed-field input. The first line of the input is a format;
// every data descriptor of its first pass (groups repeated) gets an item of
// its kind (a character item of the descriptor's width, an integer, a real
// alternately of 32 and 64 bits). The rest of the input is read with it
// twice: its first line as an internal record, and all of it as a
// sequential file.
#include <optional>
#include <stdexcept>
#include <variant>
#include <vector>

#include "common/format_parse.hpp"
#include "fuzz_support.hpp"

namespace {

struct Items {
  std::vector<int> ints;
  std::vector<float> floats;
  std::vector<double> doubles;
  std::vector<std::string> strings;
  std::vector<rec::InItem> list;

  // One item per data descriptor of the first pass, in the order it meets them.
  Items(const rec::Format& fmt, const std::vector<int>& walk) {
    ints.reserve(walk.size());
    floats.reserve(walk.size());
    doubles.reserve(walk.size());
    strings.reserve(walk.size());
    for (int pc : walk) {
      const rec::Op& op = fmt.impl().ops[static_cast<std::size_t>(pc)];
      switch (op.kind) {
        case rec::OpKind::a:
          strings.emplace_back(static_cast<std::size_t>(op.w > 0 && op.w < 1000 ? op.w : 12), ' ');
          list.emplace_back(&strings.back());
          break;
        case rec::OpKind::i:
          ints.push_back(0);
          list.emplace_back(&ints.back());
          break;
        case rec::OpKind::f:
        case rec::OpKind::e:
          if (list.size() % 2 == 0) {
            floats.push_back(0.0f);
            list.emplace_back(&floats.back());
          } else {
            doubles.push_back(0.0);
            list.emplace_back(&doubles.back());
          }
          break;
        default:
          break;
      }
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in = fuzzing::bytes(data, size);
  const std::size_t eol = in.find('\n');
  if (eol == std::string_view::npos) return 0;
  std::optional<rec::Format> fmt;
  try {
    fmt.emplace(in.substr(0, eol));
  } catch (const std::invalid_argument&) {
    return 0;  // a malformed format is the format target's business
  }
  const std::string_view rest = in.substr(eol + 1);
  std::vector<int> walk;
  if (!fuzzing::first_pass(fmt->impl(), walk)) return 0;
  Items items(*fmt, walk);

  const std::string_view first_record = rest.substr(0, rest.find('\n'));
  fuzzing::expect_clean_end(
      [&] { rec::read_internal(first_record, *fmt, items.list, rec::Where{"fuzz-record", 1}); });

  const std::string path = fuzzing::WorkDir::get().write("records", rest);
  fuzzing::expect_clean_end([&] {
    rec::TextReader reader(path);
    for (int n = 0; n < 1000 && reader.read(*fmt, items.list) == rec::ReadStatus::ok; ++n) {
    }
  });
  return 0;
}
