// Names of the result tables: each is written directly behind the deck's
// output prefix.
#pragma once

#include <string>

namespace tesk {

struct FileNames {
  std::string table70, table71, table72, table73, table74, table75, table76, table77, table78,
      table79, table80, table81, table90;
};

// `outpath` is the deck's resolved output prefix (Deck::outpath): a
// directory with its separator, or empty for the working directory.
FileNames compose_names(const std::string& outpath);

}  // namespace tesk
