// Shared by the fuzz targets: a private working directory for the files a
// target hands to the real readers, a console that swallows what the code
// prints, and the frame that accepts the two expected ends of a bad input.
// Anything else that escapes a target (another exception, a sanitizer
// report, a hang) is a finding.
#pragma once

#include <stdlib.h>  // mkdtemp

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include <vector>

#include "common/format_parse.hpp"
#include "common/records.hpp"

namespace fuzzing {

// One directory per process under the system's temporary directory, made on
// first use and removed at exit. It is not made the working directory: the
// fuzzer reads its corpus by the names it was given, relative ones included.
class WorkDir {
 public:
  static WorkDir& get() {
    static WorkDir dir;
    return dir;
  }

  const std::string& path() const { return path_; }
  // The path of the file `name` of the directory.
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // The directory with a separator at its end, as a deck's path prefix.
  std::string prefix() const { return path_ + "/"; }

  // Writes `bytes` as the file `name` of the directory; returns its path.
  std::string write(const std::string& name, std::string_view bytes) const {
    std::string p = file(name);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "fuzz: cannot write %s\n", p.c_str());
      std::abort();
    }
    return p;
  }

  WorkDir(const WorkDir&) = delete;
  WorkDir& operator=(const WorkDir&) = delete;
  ~WorkDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }

 private:
  WorkDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "lf-fuzz-XXXXXX").string();
    if (::mkdtemp(templ.data()) == nullptr) {
      std::perror("fuzz: mkdtemp");
      std::abort();
    }
    path_ = templ;
  }
  std::string path_;
};

// The fuzzer's bytes as text.
inline std::string_view bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Splits off the first byte of the input as a selector (0 for an empty input).
inline unsigned take_byte(std::string_view& in) {
  if (in.empty()) return 0;
  unsigned b = static_cast<unsigned char>(in.front());
  in.remove_prefix(1);
  return b;
}

// The first pass of a statement over a parsed format: the ops (indices into
// impl.ops) in the order the walk meets them, groups repeated. Returns false,
// with `walk` cut short, when the pass would take more than `limit` steps or
// lay out more than `limit` characters: a format such as
// "(9999(9999(/)))" is valid and writes its hundred million records, which
// says nothing more about the library than a small one does.
inline bool first_pass(const rec::Format::Impl& impl, std::vector<int>& walk, long limit = 100000) {
  long steps = 0;
  long columns = 0;
  auto expand = [&](auto&& self, int begin, int end) -> bool {
    for (int pc = begin; pc < end; ++pc) {
      const rec::Op& op = impl.ops[static_cast<std::size_t>(pc)];
      if (++steps > limit) return false;
      if (op.kind == rec::OpKind::group_begin) {
        for (int r = 0; r < op.repeat; ++r) {
          if (++steps > limit || !self(self, pc + 1, op.partner)) return false;
        }
        pc = op.partner;
        continue;
      }
      columns += op.kind == rec::OpKind::text ? op.text_size : (op.w > 0 ? op.w : 1);
      if (columns > limit) return false;
      walk.push_back(pc);
    }
    return true;
  };
  walk.clear();
  return expand(expand, 0, static_cast<int>(impl.ops.size()));
}

// One record of a line list in the 100-character layout (101 with its LF)
// that both programs read: molecule, isotope, position (cm-1), intensity,
// air width, self width, E'' and the temperature exponent.
inline std::string line_record(int molecule, int isotope, double position, double intensity, double lower_energy) {
  static const rec::Format layout("(i2,i1,f12.6,1pe10.3,10x,f5.4,f5.4,f10.4,f4.2,f8.6,2i3)");
  std::string record(100, ' ');
  rec::write_internal(record, layout,
                      {molecule, isotope, position, intensity, 0.06, 0.07, lower_energy, 0.75, -0.002, 0, 0});
  return record + "\n";
}

// A console whose lines go nowhere; the runs print progress and reports.
class QuietConsole {
 public:
  rec::Console& get() { return console_; }
  void clear() { sink_.str(std::string()); }

 private:
  std::ostringstream sink_;
  rec::Console console_{sink_};
};

// Runs `body`; a stop with a message and a report of the file and record
// layer are what bad input is allowed to end in. With LF_FUZZ_VERBOSE set in
// the environment, the way each body ended goes to standard error (to see
// how far the seeds of a corpus get).
template <class Body>
void expect_clean_end(Body&& body) {
  static const bool verbose = std::getenv("LF_FUZZ_VERBOSE") != nullptr;
  try {
    body();
    if (verbose) std::fprintf(stderr, "  normal end\n");
  } catch (const rec::Stop& e) {
    if (verbose) std::fprintf(stderr, "  stop:%s\n", e.what());
  } catch (const rec::RecordError& e) {
    if (verbose) std::fprintf(stderr, "  record error:%s\n", e.what());
  }
}

}  // namespace fuzzing
