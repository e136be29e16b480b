#include "examples/generator/example_files.hpp"

#include <algorithm>
#include <fstream>
#include <string_view>
#include <vector>

#include "common/records.hpp"
#include "examples/generator/line_set.hpp"
#include "examples/generator/solar_lines.hpp"
#include "examples/generator/standard_atmosphere.hpp"

namespace example {
namespace {

constexpr std::string_view kSyntheticNotice = "Synthetic data for learning the programs, not measured data";

// Records of the pressure-temperature, mixing-ratio and solar files.
const rec::Format kLevelRow("(1x,1pe12.6,2x,f7.3,f10.1)");
const rec::Format kFirstVmrRow("(f8.3,6(2x,1pe10.4))");
const rec::Format kMoreVmrRow("(8x,6(2x,1pe10.4))");
const rec::Format kSolarRow("(f9.3,1x,f6.4)");

class LfFile {
 public:
  explicit LfFile(const std::string& path) : path_(path), out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_) throw rec::RecordError("cannot create " + path);
  }
  void line(std::string_view text) { out_ << text << '\n'; }
  void close() {
    out_.close();
    if (!out_) throw rec::RecordError("cannot write " + path_);
  }

 private:
  std::string path_;
  std::ofstream out_;
};

std::string formatted(const rec::Format& fmt, std::initializer_list<rec::OutItem> items) {
  rec::Encoded e;
  rec::encode(fmt, items, e);
  return e.records.front();
}

void write_line_list(const std::string& path) {
  LfFile f(path);
  for (const ExampleLine& line : example_lines()) f.line(line_record(line));
  f.close();
}

void write_pressure_temperature(const std::string& path) {
  LfFile f(path);
  f.line("5");
  f.line(std::string("Mid-latitude atmosphere. ") + std::string(kSyntheticNotice));
  f.line("temperature: U.S. Standard Atmosphere 1976 lapse rates; pressure: hydrostatic");
  f.line("columns: pressure [hPa]  temperature [K]  altitude [m]");
  f.line("121 levels, 0 to 120 km");
  for (int z = 0; z <= kTopAltitude; ++z) {
    f.line(formatted(kLevelRow, {standard_pressure(z), standard_temperature(z), 1000.0 * z}));
  }
  f.close();
}

void write_mixing_ratios(const std::string& path) {
  LfFile f(path);
  f.line("5 53");
  f.line(std::string("Mid-latitude mixing ratios. ") + std::string(kSyntheticNotice));
  f.line("shapes after the AFGL constituent profiles (Anderson et al. 1986); 0 = gas absent");
  f.line("record: altitude [km], then vmr [volume fraction] of gases 1..52, 6 values a line");
  f.line("gases: 1:h2o 2:co2 3:o3 4:n2o 5:co 6:ch4 7:o2 41:n2, the others absent");
  for (int z = 0; z <= kTopAltitude; ++z) {
    const auto v = mixing_ratios(z);
    f.line(formatted(kFirstVmrRow, {static_cast<double>(z), v[0], v[1], v[2], v[3], v[4], v[5]}));
    for (int g = 6; g < kGasColumns; g += 6) {
      std::vector<rec::OutItem> items;
      for (int k = g; k < std::min(g + 6, kGasColumns); ++k) items.push_back(v[static_cast<std::size_t>(k)]);
      rec::Encoded e;
      rec::encode(kMoreVmrRow, std::span<const rec::OutItem>(items), e);
      f.line(e.records.front());
    }
  }
  f.close();
}

void write_solar(const std::string& path) {
  LfFile f(path);
  f.line("0.0 1.0");  // the header pair the line-finding program skips
  const std::vector<SolarLine> lines = solar_lines();
  const int n = static_cast<int>((kSolarEnd - kSolarStart) / kSolarStep + 0.5);
  for (int i = 0; i <= n; ++i) {
    const double nu = kSolarStart + i * kSolarStep;
    f.line(formatted(kSolarRow, {nu, solar_value(lines, nu)}));
  }
  f.close();
}

}  // namespace

void write_example_files(const std::string& dir) {
  const std::string prefix = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  write_line_list(prefix + "lines.hit");
  write_pressure_temperature(prefix + "midlat.mod");
  write_mixing_ratios(prefix + "midlat.vmr");
  write_solar(prefix + "solar.dat");
}

}  // namespace example
