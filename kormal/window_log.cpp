#include "kormal/window_log.hpp"

#include <array>
#include <cstdio>
#include <memory>

#include "common/records.hpp"

namespace kormal {
namespace {

const rec::Format kTableLine("(1x,a,1x,a)");
const rec::Format kTieLine("(' bytes ',a,' crc32 ',a,' windows ',a)");
const rec::Format kWindowLine("(' window',i5,1x,a23,1x,a)");

constexpr std::uint32_t kCrcPolynomial = 0xEDB88320u;  // reflected, as zlib has it

std::uint32_t crc_update(std::uint32_t crc, const unsigned char* bytes, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (kCrcPolynomial & (0u - (crc & 1u)));
  }
  return crc;
}

}  // namespace

WindowTableTie tie_window_table(const std::string& path) {
  WindowTableTie tie;
  tie.path = path;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) rec::record_error(" Window table " + path + " cannot be read again to record it");
  std::array<unsigned char, 65536> buffer{};
  std::uint32_t crc = 0xFFFFFFFFu;
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0) {
    crc = crc_update(crc, buffer.data(), n);
    tie.bytes += static_cast<long long>(n);
  }
  if (std::ferror(file.get())) rec::record_error(" Window table " + path + " cannot be read again to record it");
  tie.crc = crc ^ 0xFFFFFFFFu;
  return tie;
}

void write_window_log(const std::string& path, std::string_view key, const WindowTableTie& tie,
                      const std::vector<WindowOutcome>& outcomes) {
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(tie.crc));
  rec::TextWriter log(path);
  log.write(kTableLine, {key, std::string_view(tie.path)});
  const std::string bytes = std::to_string(tie.bytes);
  const std::string count = std::to_string(outcomes.size());
  log.write(kTieLine, {std::string_view(bytes), std::string_view(crc), std::string_view(count)});
  int n = 0;
  for (const WindowOutcome& o : outcomes) {
    log.write(kWindowLine, {++n, std::string_view(o.row), std::string_view(o.outcome)});
  }
  log.close();
}

}  // namespace kormal
