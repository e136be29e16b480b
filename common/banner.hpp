// The start-up banner that both programs print: title, credit lines, version
// and the two lines about errors, each group between empty lines.
#pragma once

#include <span>
#include <string_view>

#include "common/records.hpp"

namespace rec {

struct BannerText {
  std::string_view title_format;            // a format of one quoted text
  std::span<const std::string_view> credits;  // lines written with "(a)": column 1 is carriage control
  std::string_view version_format;
};

// Writes the banner and the empty line after it on the console.
void write_banner(Console& console, const BannerText& text);

}  // namespace rec
