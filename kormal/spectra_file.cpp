#include "kormal/spectra_file.hpp"

#include "common/records.hpp"

namespace kormal {
namespace {

constexpr std::string_view kHeader = "(' 2 4 ')";
constexpr std::string_view kColumns = "(' cm-1  target   all-target   all ')";
constexpr std::string_view kRow = "(f9.4,3(1x,e10.3))";

}  // namespace

void write_spectra(const std::string& path, const WindowRecord& w, const WindowMeasures& m) {
  rec::TextWriter out(path);
  out.write(rec::Format(kHeader));
  out.write(rec::Format(kColumns));
  const rec::Format row(kRow);
  for (int i = w.k; i <= w.n - w.k; ++i) {
    const double nu = w.nu(i);
    if (!(w.fmin < nu && nu < w.fmax)) continue;
    out.write(row, {nu, m.t_target(i), m.t_others(i), m.t_target(i) * m.t_others(i)});
  }
  out.close();
}

}  // namespace kormal
