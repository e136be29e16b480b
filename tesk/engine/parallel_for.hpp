// Work spread over the threads of the machine: the layers of the line pass,
// the spectrum classes of an interval. The number of threads is OpenMP's
// (the variable OMP_NUM_THREADS, by default one per core). Each index must
// write only data of its own, so that the result does not depend on the
// number of threads or on which thread runs which index.
#pragma once

#include <exception>
#include <vector>

namespace tesk {

// Calls body(i) once for every i = first..last, in parallel. An exception
// never leaves a thread (that would end the program): every index runs, and
// afterwards the exception of the lowest index that threw is rethrown, the
// one a loop in index order would have met first. So a step whose indices
// can stop the run (a negative temperature, a transform too long) stops with
// the same message as a serial loop, whatever the number of threads; the
// indices after it run to no purpose, which only a stopping run pays for.
template <class Body>
void parallel_for(int first, int last, Body&& body) {
  if (last < first) return;
  std::vector<std::exception_ptr> errors(static_cast<std::size_t>(last - first) + 1);
#pragma omp parallel for schedule(dynamic)
  for (int i = first; i <= last; ++i) {
    try {
      body(i);
    } catch (...) {
      errors[static_cast<std::size_t>(i - first)] = std::current_exception();
    }
  }
  for (const std::exception_ptr& e : errors) {
    if (e) std::rethrow_exception(e);
  }
}

}  // namespace tesk
