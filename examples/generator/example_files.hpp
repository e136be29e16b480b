// Writes the example's input files into a directory: the line list
// "lines.hit", the standard atmosphere "midlat.mod" and "midlat.vmr", and the
// solar spectrum "solar.dat". All of them are synthetic data for learning the
// programs; the files with header lines say so in their header.
#pragma once

#include <string>

namespace example {

// Writes the four files into `dir` (which must exist), replacing them; plain
// text with LF line ends, the line list in records of 100 characters plus LF
// (record length 101). Throws rec::RecordError when a file cannot be written.
void write_example_files(const std::string& dir);

}  // namespace example
