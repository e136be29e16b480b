#include "common/banner.hpp"

namespace rec {
namespace {

const Format kCredit("(a)");
const Format kGuaranty("('     No guaranty for the results')");
const Format kComments("(' Comments on errors and improvements are welcome')");

}  // namespace

void write_banner(Console& console, const BannerText& text) {
  console.write_free();
  console.write(Format(text.title_format));
  console.write_free();
  for (std::string_view line : text.credits) console.write(kCredit, {line});
  console.write_free();
  console.write(Format(text.version_format));
  console.write_free();
  console.write(kGuaranty);
  console.write(kComments);
  console.write_free();
}

}  // namespace rec
