// The console writes each record's line terminator before the record, so the
// last line stays open until the next record, a message or finish(). A record
// after a "$" prompt, like the first record of the run, gets no terminator of
// its own; its first character is still carriage control.
#include <ostream>

#include "common/records.hpp"

namespace rec {
namespace {

constexpr std::string_view kNewLine = "\r\n";
constexpr std::string_view kEmptyLine = "\r\n\r\n";
// Form feed between two carriage returns, a blank left on the new page.
constexpr std::string_view kNewPage = "\r\n\f\r \r";
constexpr std::string_view kOverprint = "\r";

}  // namespace

Console::Console(std::ostream& out) : out_(out) {}

void Console::record(std::string_view rec) {
  char control = rec.empty() ? ' ' : rec.front();
  bool line_open = !first_ && !prompt_;
  std::string_view lead;
  switch (control) {
    case '0':
      lead = line_open ? kEmptyLine : kNewLine;
      break;
    case '1':
      lead = kNewPage;
      break;
    case '+':
      lead = kOverprint;
      break;
    default:
      lead = line_open ? kNewLine : std::string_view();
      break;
  }
  out_.write(lead.data(), static_cast<std::streamsize>(lead.size()));
  if (rec.size() > 1) out_.write(rec.data() + 1, static_cast<std::streamsize>(rec.size() - 1));
  first_ = false;
  prompt_ = false;
}

void Console::write(const Format& fmt, std::initializer_list<OutItem> items) {
  write(fmt, std::span<const OutItem>(items.begin(), items.size()));
}

void Console::write(const Format& fmt, std::span<const OutItem> items) {
  encode(fmt, items, scratch_);
  for (const std::string& r : scratch_.records) record(r);
  if (scratch_.pending) {
    prompt_ = true;
    out_.flush();  // the prompt must show before the program waits for input
  }
}

void Console::write_free(std::initializer_list<OutItem> items) { record(encode_free(items)); }
void Console::write_free(std::span<const OutItem> items) { record(encode_free(items)); }

void Console::message(std::string_view text) {
  if (!first_) out_.write(kNewLine.data(), static_cast<std::streamsize>(kNewLine.size()));
  out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  first_ = false;
  prompt_ = false;
}

void Console::finish() {
  if (!first_) out_.write(kNewLine.data(), static_cast<std::streamsize>(kNewLine.size()));
  first_ = true;
  prompt_ = false;
}

}  // namespace rec
