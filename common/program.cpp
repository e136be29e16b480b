#include "common/program.hpp"

#include <exception>
#include <optional>
#include <ostream>
#include <string>

#include "common/run_files.hpp"

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

int run_framed(std::ostream& out, const std::function<void(Console&)>& body, std::string_view normal_end,
               RunFiles* files) {
  Console console(out);
  int status = 0;
  try {
    if (files) files->lock_directory(".");
    body(console);
    if (files) files->commit();
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
  if (files) files->abandon();
  console.finish();
  out.flush();
  return status;
}

}  // namespace

int run_program(std::ostream& out, const std::function<void(Console&)>& body, std::string_view normal_end) {
  return run_framed(out, body, normal_end, nullptr);
}

int run_program_writing(std::ostream& out, std::string_view program, const std::function<void(Console&)>& body) {
  RunFiles files(program);
  RunFilesScope scope(files);
  return run_framed(out, body, kNormalEnd, &files);
}

}  // namespace rec
