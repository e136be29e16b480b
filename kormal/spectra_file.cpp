#include "kormal/spectra_file.hpp"

#include "common/records.hpp"

namespace kormal {
namespace {

const rec::Format kHeader("(' 2 4 ')");
const rec::Format kColumns("(' cm-1  target   all-target   all ')");
const rec::Format kRow("(f9.4,3(1x,e10.3))");

}  // namespace

void write_spectra(const std::string& path, const WindowRecord& w, const WindowMeasures& m) {
  rec::TextWriter out(path);
  out.write(kHeader);
  out.write(kColumns);
  for (int i = w.k; i <= w.n - w.k; ++i) {
    const double nu = w.nu(i);
    if (!(w.fmin < nu && nu < w.fmax)) continue;
    out.write(kRow, {nu, m.t_target(i), m.t_others(i), m.t_target(i) * m.t_others(i)});
  }
  out.close();
}

}  // namespace kormal
