#include "common/program.hpp"

#include <exception>
#include <ostream>
#include <string>

namespace rec {
namespace {

constexpr std::string_view kUnexpected = " Unexpected error, the run ends: ";

// A report that holds one console line, whatever the exception's text holds.
std::string one_line(std::string_view text) {
  std::string line(kUnexpected);
  line += text;
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return line;
}

}  // namespace

int run_program(std::ostream& out, const std::function<void(Console&)>& body, std::string_view normal_end) {
  Console console(out);
  int status = 0;
  try {
    body(console);
    console.message(normal_end);
  } catch (const Stop& s) {
    console.message(s.what());
    if (!s.detail().empty()) console.message(s.detail());
    status = 1;
  } catch (const RecordError& e) {
    console.message(e.what());
    status = 2;
  } catch (const std::exception& e) {
    // Out of memory, a file-system failure, a bug: still a report and an
    // exit status, never an abort that loses the console buffer.
    console.message(one_line(e.what()));
    status = 3;
  } catch (...) {
    console.message(one_line("an exception of unknown type"));
    status = 3;
  }
  console.finish();
  out.flush();
  return status;
}

}  // namespace rec
