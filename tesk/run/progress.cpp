#include "tesk/run/progress.hpp"

#include <algorithm>
#include <array>

namespace tesk {
namespace {

const rec::Format kExtinctionsDone("(' Extinctions and broadening calculated')");
const rec::Format kNormalisation("(' Normalisation factor:',1pe9.2)");
const rec::Format kWeightingDone("(' Calculation of weighting function finished')");

const rec::Format kWeightsLine("(' K ',9(1pe9.2,1x))");
const rec::Format kAprioriLine("(' SX',9(1pe9.2,1x))");
const rec::Format kNoiseLine("(' SN',9(1pe9.2,1x))");
const rec::Format kMethodLine("(' AVK calculated using Optimal Estimation')");
const rec::Format kInformationLine("(' Kt Sn-1 K ',9(1pe9.2,1x))");
const rec::Format kKernelLine("(' AK',9(1pe9.2, 1x))");
const rec::Format kKernelsDone("(' Calculation of averaging kernel finished')");

const rec::Format& kernel_line(KernelDiagnostic d) {
  switch (d) {
    case KernelDiagnostic::weights: return kWeightsLine;
    case KernelDiagnostic::apriori: return kAprioriLine;
    case KernelDiagnostic::noise: return kNoiseLine;
    case KernelDiagnostic::method: return kMethodLine;
    case KernelDiagnostic::information: return kInformationLine;
    case KernelDiagnostic::kernels: return kKernelLine;
    case KernelDiagnostic::finished: break;
  }
  return kKernelsDone;
}

}  // namespace

void Progress::extinctions_done() { console_.write(kExtinctionsDone); }

void Progress::normalisation(double factor) { console_.write(kNormalisation, {factor}); }

void Progress::weighting_functions_done() { console_.write(kWeightingDone); }

KernelReport Progress::kernel_report() {
  return [&console = console_](KernelDiagnostic d, std::span<const double> samples) {
    std::array<rec::OutItem, 9> items;
    const std::size_t n = std::min(samples.size(), items.size());
    for (std::size_t i = 0; i < n; ++i) items[i] = samples[i];
    console.write(kernel_line(d), std::span<const rec::OutItem>(items.data(), n));
  };
}

}  // namespace tesk
