// The letter answers of the deck as values: each is parsed once by the deck
// reader, and every later step asks the value, never the letter. The
// enumerators carry the deck's letters, so that the letter a value came from
// is at hand where a file layer still wants it.
#pragma once

#include <optional>
#include <string_view>

namespace tesk {

enum class RunMode : char {
  complete = 'c',  // spectra, then the study's later steps
  sort = 's',      // the later steps on the tables of an earlier run
  display = 'd',   // only the plot
};

enum class LineDatabase : char {
  hitran = 'h',   // HITRAN molecule numbers
  program = 'a',  // the program's own gas numbers
};

// How the line finding ranks the target lines.
enum class SortKey : char {
  sensitivity = 't',
  lower_energy = 'e',             // smallest E'' first
  temperature_dependence = 'd',   // smallest first
  interference = 'i',
  sensitivity_over_interference = 'r',
};

// What the spectra are: transmission along the path, or the thermal
// radiance an instrument at the bottom of the path sees.
enum class Quantity : char {
  transmission = 'a',
  radiance = 'r',
};

// Units of the stored spectra and weighting functions.
enum class Units : char {
  radiance = 'r',                // as computed (transmission stays transmission)
  brightness_temperature = 'b',  // K
};

// The normalisation of the spectrum that the weighting functions differentiate.
enum class Normalisation : char {
  normalised = 'n',  // points over the sum of the all-gases spectrum
  unit_factor = 'f', // factor 1
};

enum class ModelAtmosphere : char {
  tropical = 't',
  mid_latitude = 'm',
  polar = 'p',
};

enum class Geometry : char {
  ground = 'g',  // from the ground towards the sun at a zenith angle
  limb = 's',    // through a tangent altitude and out again
};

// The deck letter of an option value.
template <class Option>
constexpr char letter_of(Option o) {
  return static_cast<char>(o);
}

// The option value of a deck letter among `values`, or nothing for a letter
// that names none of them.
template <class Option, std::size_t N>
constexpr std::optional<Option> option_from_letter(char c, const Option (&values)[N]) {
  for (Option o : values) {
    if (letter_of(o) == c) return o;
  }
  return std::nullopt;
}

}  // namespace tesk
