#include "tesk/run/gas_names.hpp"

namespace tesk {

int gas_number(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  int gasno = 0;
  for (std::size_t i = 0; i < kGasNames.size(); ++i) {
    if (kGasNames[i] == name) gasno = static_cast<int>(i) + 1;
  }
  return gasno;
}

}  // namespace tesk
