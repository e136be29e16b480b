// The kind of study a run makes (deck line 9), and what each kind asks of the
// spectral run and the steps after it. Every test of the study goes through
// these predicates, so a new table's rule is written once.
#pragma once

#include <optional>

namespace tesk {

enum class Study : char {
  spectra = 's',        // spectra and the target's profile only
  line_finding = 'd',   // target lines, ranking and microwindows (tables 72-76)
  weighting = 'w',      // weighting functions (table77)
  kernels = 'a',        // weighting functions and averaging kernels (tables 77, 78)
  interferogram = 'i',  // interferogram of the all-gases spectrum (table90)
};

// The study of a deck letter, or nothing for a letter that names none.
constexpr std::optional<Study> study_from_letter(char c) {
  switch (c) {
    case 's': return Study::spectra;
    case 'd': return Study::line_finding;
    case 'w': return Study::weighting;
    case 'a': return Study::kernels;
    case 'i': return Study::interferogram;
    default: return std::nullopt;
  }
}

constexpr char letter(Study s) { return static_cast<char>(s); }

// Weighting functions are computed, the range is one interval of at most
// 1000 points, table77 is written, and line wings are followed further.
constexpr bool writes_weighting_functions(Study s) { return s == Study::weighting || s == Study::kernels; }

// The difference studies compare all gases with a spectrum whose target is
// scaled by tfactor: they need the fourth spectrum class, count the target as
// target only inside the target layer, and write five-column table71 rows.
constexpr bool uses_scaled_target(Study s) { return s == Study::line_finding || s == Study::interferogram; }

// The study's windows get an information step (tables 79 and 80), whose
// settings come from input-plan.
constexpr bool has_information_step(Study s) { return s == Study::line_finding; }

// Spectrum classes computed per interval: target, others, all (and scaled).
constexpr int spectrum_class_count(Study s) { return s == Study::spectra ? 3 : 4; }

// A range must hold more points than the path has segments, except for the
// kernel study, whose matrices take any shape.
constexpr bool needs_more_points_than_segments(Study s) { return s != Study::kernels; }

}  // namespace tesk
