// Small inputs for complete runs of the line-finding program: a deck for a
// spectral study, a mid-latitude-like model atmosphere written as its two
// files, and helpers that read the tables back.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "deck_fixture.hpp"
#include "program_run.hpp"

namespace e2e {

// A complete run of study s from 2000 to 2001 cm-1 at 0.005 cm-1 on the
// files of the working directory: lines.hit (counted), midlat.*.
inline std::vector<std::string> spectral_deck() {
  auto d = valid_deck();
  d[4] = "c";
  d[6] = "0";
  d[8] = "s";
  d[15] = "250.";
  return d;
}

// The same range (201 rows of table71) in run mode `runmode` and study `study`.
inline std::vector<std::string> spectral_deck(char runmode, char study) {
  auto d = spectral_deck();
  d[4] = std::string(1, runmode);
  d[8] = std::string(1, study);
  return d;
}

// An isothermal atmosphere (250 K) with an 8 km scale height, levels every
// km from 0 to 100 km, and constant mixing ratios: gas g has 1e-9 except CO2
// (gas 2, 3.7e-4) and CO (gas 5, 1e-7).
inline void write_atmosphere(const testing_support::WorkDir& dir, const std::string& name = "midlat") {
  std::string mod = "2\n pressure [hPa]  temperature [K]  altitude [m]\n";
  std::string vmr = "2 11\n altitude and ten gases\n";
  for (int z = 0; z <= 100; ++z) {
    char buf[200];
    std::snprintf(buf, sizeof buf, " %.6e  250.0  %d.0\n", 1013.25 * std::exp(-z / 8.0), z * 1000);
    mod += buf;
    std::snprintf(buf, sizeof buf, " %d.0 1e-9 3.7e-4 1e-9 1e-9 1e-7\n 1e-9 1e-9 1e-9 1e-9 1e-9\n", z);
    vmr += buf;
  }
  dir.write(name + ".mod", mod);
  dir.write(name + ".vmr", vmr);
}

// Three CO lines and one CO2 line inside 2000-2001 cm-1.
inline std::string default_lines() {
  return line_record(5, 1, 2000.2, 2e-19) + line_record(2, 1, 2000.45, 1e-21) + line_record(5, 1, 2000.6, 1e-19) +
         line_record(5, 2, 2000.8, 5e-20);
}

struct TableRows {
  std::vector<std::string> header;        // the three header records
  std::vector<std::vector<double>> rows;  // the numbers of every row after them
};

inline TableRows read_table(const std::string& text, std::size_t header_lines = 3) {
  TableRows t;
  auto lines = testing_support::split_lines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i < header_lines) {
      t.header.push_back(lines[i]);
      continue;
    }
    std::istringstream in(lines[i]);
    std::vector<double> row;
    std::string word;
    while (in >> word) {
      // A field of asterisks (a value too wide for it) or any other text is no number.
      char* end = nullptr;
      row.push_back(std::strtod(word.c_str(), &end));
      if (end != word.c_str() + word.size()) ADD_FAILURE() << "not a number: \"" << word << "\" in row " << lines[i];
    }
    t.rows.push_back(row);
  }
  return t;
}

struct SpectralRun {
  testing_support::ProgramResult result;
  std::vector<std::string> console;
  TableRows table71;
  TableRows table70;
  std::string table77;
};

// Runs the deck with the given changes (line number, answer) on `lines`.
inline SpectralRun run_spectral(const std::vector<std::pair<int, std::string>>& changes,
                                const std::string& lines = default_lines()) {
  testing_support::WorkDir dir;
  auto deck = spectral_deck();
  for (const auto& [line, text] : changes) deck[static_cast<std::size_t>(line - 1)] = text;
  dir.write("input-vorne", deck_text(deck));
  dir.write("lines.hit", lines);
  write_atmosphere(dir);
  SpectralRun r;
  r.result = dir.run(LF_TESK_BIN);
  r.console = testing_support::split_lines(r.result.console);
  r.table71 = read_table(dir.read("table71"));
  r.table70 = read_table(dir.read("table70"));
  r.table77 = dir.read("table77");
  return r;
}

}  // namespace e2e
