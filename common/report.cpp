#include "common/report.hpp"

#include <cerrno>
#include <cstring>

namespace rec {
namespace {

std::string reason(int error) {
  if (error == ENOENT) return "no such file";
  if (error == 0) return "unknown error";
  return std::strerror(error);
}

// The text found, on one console line: control characters (a CR of the
// record's terminator, a tab) show as '?'.
std::string printable(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return out;
}

}  // namespace

std::string describe(const Where& where) {
  if (where.file.empty()) {
    return where.record > 0 ? "record " + std::to_string(where.record) + " of an internal text"
                            : std::string("an internal record");
  }
  if (where.record <= 0) return std::string(where.file);
  return "record " + std::to_string(where.record) + " of " + std::string(where.file);
}

std::string unreadable_report(std::string_view what, const Where& where, int first_column, int last_column,
                              std::string_view found) {
  std::string columns = first_column == last_column
                            ? "column " + std::to_string(first_column)
                            : "columns " + std::to_string(first_column) + "-" + std::to_string(last_column);
  return " Unreadable " + std::string(what) + " in " + describe(where) + ", " + columns + ": found \"" + printable(found) +
         "\"";
}

std::string open_report(std::string_view path, int error) {
  return " Cannot open file " + std::string(path) + ": " + reason(error);
}

std::string create_report(std::string_view path, int error) {
  return " Cannot create file " + std::string(path) + ": " + reason(error);
}

std::string write_report(std::string_view path, int error) {
  return " Cannot write file " + std::string(path) + ": " + reason(error);
}

}  // namespace rec
