// Names of the result tables and of the solar spectrum: each is written
// directly behind the deck's path prefix, at the prefix's first blank.
#pragma once

#include <string>

namespace tesk {

struct FileNames {
  std::string table70, table71, table72, table73, table74, table75, table76, table77, table78,
      table90;
  std::string solar;  // solar.dat on the input prefix
};

// `outpath` and `inpath` are the 200-character deck fields, `outpath_p` and
// `inpath_p` the 1-based positions of their first blanks.
FileNames compose_names(const std::string& outpath, int outpath_p, const std::string& inpath,
                        int inpath_p);

}  // namespace tesk
