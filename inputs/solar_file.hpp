// The solar spectrum file "solar.dat": free-form records of a wavenumber
// (cm-1, ascending) and a relative solar value (1 = continuum), looked up on
// the deck's input prefix. Both programs read it pair by pair, each in its own
// precision; what they do with the pairs is theirs.
#pragma once

#include <string>
#include <string_view>

#include "common/records.hpp"

namespace inputs {

inline constexpr std::string_view kSolarFileName = "solar.dat";

// The file's path: `inpath` up to its first blank, then kSolarFileName.
// No files.
std::string solar_file_path(std::string_view inpath);

// kSolarFileName on the input prefix (`inpath` up to its first blank),
// opened as an existing file (status OLD) and read from its start.
// Throws rec::RecordError when the file is missing or a value is unreadable.
class SolarFile {
 public:
  explicit SolarFile(std::string_view inpath);

  // Skips one record (the line-finding program's header pair). False at end.
  bool skip();
  // The next pair, read as 32-bit or 64-bit values. False at end of file.
  bool next(float& wavenumber, float& value);
  bool next(double& wavenumber, double& value);
  void close() { in_.close(); }

 private:
  rec::TextReader in_;
};

}  // namespace inputs
