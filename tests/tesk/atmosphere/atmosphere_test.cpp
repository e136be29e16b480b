// Finding a standard atmosphere: the model letter, the input-path prefix and
// its limits; and the real standard atmospheres on the 80-layer grid.

#include "tesk/atmosphere/atmosphere.hpp"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tesk/atmosphere/test_files.hpp"

namespace tesk {
namespace {

using atmtest::stop_message;
using atmtest::TempDir;

// An isothermal atmosphere at `temp` under the name `stem` in `dir`, so that
// the layer temperature tells which files were read.
void write_isothermal(const TempDir& dir, const std::string& stem, double temp) {
  dir.write(stem + ".mod", atmtest::pt_text(atmtest::exponential_levels(0.0, 80.0, 1.0, 8.0, temp)));
  dir.write(stem + ".vmr", atmtest::vmr_text(3, atmtest::km_range(0, 90), atmtest::sample_vmr));
}

// A 200-character deck field holding `text`.
std::string deck_field(const std::string& text) {
  std::string f = text;
  f.resize(200, ' ');
  return f;
}

TEST(AtmosphereFiles, ModelLetterChoosesTheFiles) {
  TempDir dir;
  write_isothermal(dir, "tropic", 300.0);
  write_isothermal(dir, "midlat", 250.0);
  write_isothermal(dir, "arctic", 200.0);
  struct Case {
    char model;
    float temp;
  };
  for (const Case c : {Case{'t', 300.0f}, Case{'m', 250.0f}, Case{'p', 200.0f}}) {
    SCOPED_TRACE(c.model);
    Atmosphere atm;
    read_atmosphere(kModelLayers, 0, c.model, 1.0f, deck_field(dir.prefix()), atm);
    EXPECT_FLOAT_EQ(atm.temp(1), c.temp);
    EXPECT_FLOAT_EQ(atm.temp(80), c.temp);
  }
  Atmosphere atm;
  EXPECT_EQ(stop_message([&] { read_atmosphere(kModelLayers, 0, 'x', 1.0f, dir.prefix(), atm); }),
            " model/vmr choice must be t,m, or p");
}

TEST(AtmosphereFiles, PathEndsAtItsFirstBlank) {
  TempDir dir;
  write_isothermal(dir, "midlat", 250.0);
  Atmosphere atm;
  // Anything after the first blank is a comment.
  read_atmosphere(kModelLayers, 0, 'm', 1.0f, deck_field(dir.prefix() + " input files here/"), atm);
  EXPECT_FLOAT_EQ(atm.temp(1), 250.0f);
  // A text shorter than the field counts as blank-padded.
  read_atmosphere(kModelLayers, 0, 'm', 1.0f, dir.prefix(), atm);
  EXPECT_FLOAT_EQ(atm.temp(1), 250.0f);
}

TEST(AtmosphereFiles, PathLengthLimit) {
  TempDir dir;
  write_isothermal(dir, "tropic", 300.0);
  // The directory padded with "./" and "/" to an 89-character prefix: the
  // first blank at column 90, the last one accepted.
  std::string prefix = dir.prefix();
  if (prefix.size() > 89) GTEST_SKIP() << "temporary directory path longer than 89 characters";
  while (prefix.size() < 89) prefix += (89 - prefix.size()) % 2 == 0 ? "./" : "/";
  ASSERT_EQ(prefix.size(), 89u);
  Atmosphere atm;
  read_atmosphere(kModelLayers, 0, 't', 1.0f, deck_field(prefix), atm);
  EXPECT_FLOAT_EQ(atm.temp(1), 300.0f);

  const std::string msg = "Path for input files to long";
  EXPECT_EQ(stop_message([&] { read_atmosphere(kModelLayers, 0, 't', 1.0f, deck_field(prefix + "/"), atm); }),
            msg);
  // No blank among the first 100 characters: the path is too long as well,
  // even though a blank follows later in the field.
  EXPECT_EQ(stop_message([&] {
              read_atmosphere(kModelLayers, 0, 't', 1.0f, deck_field(std::string(100, 'd') + "/"), atm);
            }),
            msg);
  EXPECT_EQ(stop_message([&] { read_atmosphere(kModelLayers, 0, 't', 1.0f, std::string(120, 'd'), atm); }),
            msg);
}

TEST(StandardAtmospheres, LoadIntoEightyLayers) {
  const std::string data = std::string(LF_SHARED_DATA) + "/";
  if (!std::filesystem::exists(data + "midlat.vmr")) {
    GTEST_SKIP() << "standard atmospheres not found in " << data;
  }
  for (char model : {'t', 'm', 'p'}) {
    SCOPED_TRACE(model);
    Atmosphere atm;
    read_atmosphere(kModelLayers, 6, model, 1.0f, deck_field(data), atm);
    ASSERT_EQ(atm.nlev, 80);
    EXPECT_EQ(atm.ngas, 52);
    for (int i = 1; i <= 80; ++i) {
      SCOPED_TRACE(i);
      // The files give whole kilometres, so each layer sits at its midpoint.
      EXPECT_NEAR(atm.alt(i), i - 0.5, 1e-4);
      EXPECT_GT(atm.temp(i), 150.0f);
      EXPECT_LT(atm.temp(i), 320.0f);
      if (i > 1) {
        EXPECT_LT(atm.pres(i), atm.pres(i - 1));
        EXPECT_LT(atm.column(i), atm.column(i - 1));
      }
      for (int g = 1; g <= atm.ngas; ++g) EXPECT_GT(atm.vmr(g, i), 0.0f) << "gas " << g;
      // Well-mixed gases: CO2 of the order of 370 ppm, O2 near 21 %, N2 near 78 %.
      EXPECT_NEAR(atm.vmr(2, i), 3.7e-4, 0.5e-4);
      EXPECT_NEAR(atm.vmr(7, i), 0.21, 0.01);
      EXPECT_NEAR(atm.vmr(41, i), 0.785, 0.01);
    }
    // Near the ground the air number density is about 2.5e19 cm-3.
    EXPECT_NEAR(static_cast<double>(atm.column(1)) / 1e5, 2.5e19, 0.3e19);
    EXPECT_EQ(atm.alt(81), 0.0f);
  }
}

}  // namespace
}  // namespace tesk
