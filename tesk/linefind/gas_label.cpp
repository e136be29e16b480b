#include "tesk/linefind/gas_label.hpp"

#include "common/records.hpp"

namespace tesk {
namespace {

const rec::Format kIsotopeLabel("(i1,a7)");
constexpr std::size_t kNameWidth = 7;
constexpr std::size_t kLabelWidth = 8;

}  // namespace

std::string gas_label(const std::string& gasname, int isotope) {
  std::string name = gasname.substr(0, kNameWidth);
  name.resize(kNameWidth, ' ');
  std::string label(kLabelWidth, ' ');
  if (isotope == 0) {
    label.replace(0, kNameWidth, name);
  } else {
    rec::write_internal(label, kIsotopeLabel, {isotope, std::string_view(name)});
  }
  return label;
}

}  // namespace tesk
