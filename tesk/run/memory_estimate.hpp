// The memory a run of the line-finding program needs, as the start-up line
// " Program requires approx. N Mbytes" announces it once the deck is read.
#pragma once

#include <cstdint>

#include "common/records.hpp"
#include "tesk/run/deck.hpp"

namespace tesk {

// Records of the deck's line list: the deck's count, or, when it gives 0, the
// file's size over the record length (0 for a file that cannot be sized).
// Reads no record, so a check of the deck alone gets the same figure.
std::int64_t line_list_records(const Deck& d);

// Bytes the run holds at its largest, for a line list of `records` records:
// the arrays every run allocates (optical depths, spectra, weighting
// functions), the lines of one interval, and what the study adds (table71
// samples, rated lines and windows of the line finding, the information and
// kernel matrices, the interferogram's transform). An estimate: the small
// arrays of the atmosphere and the path, and the buffers of the files, are
// left out.
double memory_bytes(const Deck& d, std::int64_t records);

// The estimate in megabytes (2^20 bytes, whole ones, as the line has always
// counted them).
int memory_megabytes(const Deck& d, std::int64_t records);

// Writes the memory line for the run of `d` and the empty line after it.
void write_memory_line(rec::Console& console, const Deck& d);

}  // namespace tesk
