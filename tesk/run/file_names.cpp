#include "tesk/run/file_names.hpp"

namespace tesk {

FileNames compose_names(const std::string& out) {
  // The prefix ends with its own directory separator (or is empty), so the
  // name follows its last character.
  FileNames n;
  n.table70 = out + "table70";
  n.table71 = out + "table71";
  n.table72 = out + "table72";
  n.table73 = out + "table73";
  n.table74 = out + "table74";
  n.table75 = out + "table75";
  n.table76 = out + "table76";
  n.table77 = out + "table77";
  n.table78 = out + "table78";
  n.table79 = out + "table79";
  n.table80 = out + "table80";
  n.table81 = out + "table81";
  n.table90 = out + "table90";
  return n;
}

}  // namespace tesk
