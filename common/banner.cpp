#include "common/banner.hpp"

namespace rec {
namespace {

constexpr std::string_view kCredit = "(a)";
constexpr std::string_view kGuaranty = "('     No guaranty for the results')";
constexpr std::string_view kComments = "(' Comments on errors and improvements are welcome')";

}  // namespace

void write_banner(Console& console, const BannerText& text) {
  console.write_free();
  console.write(Format(text.title_format));
  console.write_free();
  const Format credit(kCredit);
  for (std::string_view line : text.credits) console.write(credit, {line});
  console.write_free();
  console.write(Format(text.version_format));
  console.write_free();
  console.write(Format(kGuaranty));
  console.write(Format(kComments));
  console.write_free();
}

}  // namespace rec
