#include "tesk/tables/solar_file.hpp"

#include <memory>
#include <optional>
#include <utility>

#include "inputs/solar_file.hpp"

namespace tesk {

SolarSpectrum::Source solar_file_source(std::string inpath) {
  auto file = std::make_shared<std::optional<inputs::SolarFile>>();
  return [file, inpath = std::move(inpath)](SolarSample& s) {
    if (!file->has_value()) {
      file->emplace(inpath);
      if (!(*file)->skip()) return false;  // the header pair is not a sample
    }
    return (*file)->next(s.w, s.f);
  };
}

}  // namespace tesk
