// Names of the result tables: each is written directly behind the deck's
// output prefix, at the prefix's first blank.
#pragma once

#include <string>

namespace tesk {

struct FileNames {
  std::string table70, table71, table72, table73, table74, table75, table76, table77, table78,
      table79, table80, table90;
};

// `outpath` is the 200-character deck field, `outpath_p` the 1-based
// position of its first blank.
FileNames compose_names(const std::string& outpath, int outpath_p);

}  // namespace tesk
