#include "inputs/solar_file.hpp"

#include "common/path_prefix.hpp"

namespace inputs {
std::string solar_file_path(std::string_view inpath) {
  return rec::path_prefix(inpath) + std::string(kSolarFileName);
}

SolarFile::SolarFile(std::string_view inpath) : in_(solar_file_path(inpath)) {}

bool SolarFile::skip() { return in_.read_free() == rec::ReadStatus::ok; }

bool SolarFile::next(float& wavenumber, float& value) {
  return in_.read_free({&wavenumber, &value}) == rec::ReadStatus::ok;
}

bool SolarFile::next(double& wavenumber, double& value) {
  return in_.read_free({&wavenumber, &value}) == rec::ReadStatus::ok;
}

}  // namespace inputs
